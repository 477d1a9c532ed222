#include "stage/evaluation.h"

namespace vk {

Evaluation evaluateAnswer(const QString &correctProduct, const std::function<QString(int column)> &answerCell,
                          int unitsColumn)
{
    Evaluation result;
    result.correct = true;
    const qsizetype length = correctProduct.size();
    result.digits.reserve(static_cast<std::size_t>(length));
    for (qsizetype i = 1; i <= length; ++i) {
        RevealedDigit d;
        d.column = unitsColumn + 1 - static_cast<int>(i);
        d.digit = correctProduct.mid(length - i, 1);
        d.match = answerCell ? answerCell(d.column) == d.digit : false;
        if (d.match)
            ++result.digitsMatched;
        else
            result.correct = false;
        result.digits.push_back(std::move(d));
    }
    return result;
}

QString matchedColumns(const Evaluation &evaluation)
{
    QString matched;
    matched.reserve(static_cast<qsizetype>(evaluation.digits.size()));
    // The digits run from the units leftwards.
    for (auto d = evaluation.digits.crbegin(); d != evaluation.digits.crend(); ++d)
        matched.append(d->match ? u'1' : u'0');
    return matched;
}

} // namespace vk
