#include "stage/stagereport.h"

namespace vk {

QString matchedColumnsFromAnswer(const QString &answer, const QString &product)
{
    QString matched(product.size(), u'0');
    for (qsizetype i = 1; i <= product.size() && i <= answer.size(); ++i) {
        if (answer.at(answer.size() - i) == product.at(product.size() - i))
            matched[product.size() - i] = u'1';
    }
    return matched;
}

} // namespace vk
