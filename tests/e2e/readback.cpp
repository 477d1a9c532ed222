#include "readback.h"

#include "e2e_support.h"

#include <QFile>

#include <climits>
#include <vector>

namespace vk::e2e {

QList<bool> darkMask(const QImage &shot, const QRect &cell)
{
    QList<bool> mask;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            mask.append(dark(shot.pixel(x, y)));
    return mask;
}

QList<QList<bool>> learnDigits(XSession &x, const StageLayout &stage)
{
    x.type(QStringLiteral("0123456789"));
    const QImage shot = x.waitForScreen([&](const QImage &s) { return digitIn(s, stage, 31); });
    QList<QList<bool>> digits;
    for (int d = 0; d <= 9; ++d)
        digits.append(darkMask(shot, stage.cell(5, 40 - d)));
    return digits;
}

int readDigit(const QImage &shot, const QRect &cell, const QList<QList<bool>> &digits)
{
    const QList<bool> mask = darkMask(shot, cell);
    if (mask.count(true) < 10)
        return -1;
    int best = -1, bestDistance = INT_MAX, secondDistance = INT_MAX;
    for (int d = 0; d < digits.size(); ++d) {
        int distance = 0;
        for (int i = 0; i < mask.size(); ++i)
            distance += mask[i] != digits[d][i];
        if (distance < bestDistance)
            secondDistance = bestDistance, bestDistance = distance, best = d;
        else if (distance < secondDistance)
            secondDistance = distance;
    }
    return bestDistance * 2 < secondDistance ? best : -1;
}

QString readNumber(const QImage &shot, const StageLayout &stage, int row, int length, const QList<QList<bool>> &digits)
{
    QString number;
    for (int column = 41 - length; column <= 40; ++column) {
        const int d = readDigit(shot, stage.cell(row, column), digits);
        if (d < 0)
            return {};
        number.append(QChar(u'0' + d));
    }
    return number;
}

QString productOf(const QString &a, const QString &b)
{
    std::vector<int> digits(a.size() + b.size(), 0); // units first
    for (qsizetype i = 0; i < a.size(); ++i)
        for (qsizetype j = 0; j < b.size(); ++j)
            digits[i + j] += (a[a.size() - 1 - i].unicode() - u'0') * (b[b.size() - 1 - j].unicode() - u'0');
    for (std::size_t k = 0; k + 1 < digits.size(); ++k) {
        digits[k + 1] += digits[k] / 10;
        digits[k] %= 10;
    }
    if (digits.back() == 0)
        digits.pop_back();
    QString product;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it)
        product.append(QChar(u'0' + *it));
    return product;
}

ReadProblem readProblem(const QImage &shot, const StageLayout &stage, int factorDigits, const QList<QList<bool>> &digits)
{
    ReadProblem problem{readNumber(shot, stage, 1, factorDigits, digits), readNumber(shot, stage, 2, factorDigits, digits), {}};
    if (problem.factor1.isEmpty() || problem.factor2.isEmpty())
        return {};
    problem.product = productOf(problem.factor1, problem.factor2);
    return problem;
}

QString reversed(const QString &s)
{
    QString r;
    for (auto it = s.crbegin(); it != s.crend(); ++it)
        r.append(*it);
    return r;
}

PrivateDataHome::PrivateDataHome()
    : m_saved(qgetenv("XDG_DATA_HOME"))
{
    qputenv("XDG_DATA_HOME", m_dir.path().toLocal8Bit());
}

PrivateDataHome::~PrivateDataHome()
{
    if (m_saved.isEmpty())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", m_saved);
}

QList<QMap<QString, QString>> readCsv(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    if (lines.isEmpty())
        return {};
    const QStringList names = lines.first().split(u',');
    QList<QMap<QString, QString>> rows;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        // Nothing in these rows needs quoting: digits, a time, a word.
        const QStringList fields = lines[i].split(u',');
        QMap<QString, QString> row;
        for (qsizetype f = 0; f < names.size() && f < fields.size(); ++f)
            row.insert(names[f], fields[f]);
        rows.append(row);
    }
    return rows;
}

QList<QMap<QString, QString>> exportedLog(const XSession &x, const PrivateDataHome &data)
{
    const QString csv = data.filePath(QStringLiteral("stages.csv"));
    int exitCode = -1;
    x.run(XSession::programPath(), {QStringLiteral("--export-log"), csv}, 10000, &exitCode);
    return exitCode == 0 ? readCsv(csv) : QList<QMap<QString, QString>>{};
}

} // namespace vk::e2e
