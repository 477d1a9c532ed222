#pragma once

#include "stage/stagereport.h"

#include <QList>

namespace vk::test {

// Logged stages with only what the progress view reads filled in. The
// product is 2N digits; a stage that matched `digits` of them matched the
// lowest columns, so its misses stand in the columns above.
inline StageReport loggedStage(StageVerdict verdict, double seconds, int digits, int factorDigits = 20)
{
    StageReport report;
    report.startedUtc = QDateTime(QDate(2026, 12, 1), QTime(18, 0), Qt::UTC);
    report.secondsUsed = seconds;
    report.factorDigits = factorDigits;
    report.product = QString(2 * factorDigits, u'4');
    report.digitsMatched = digits;
    report.verdict = verdict;
    if (verdict != StageVerdict::Left)
        report.matchedColumns = QString(2 * factorDigits - digits, u'0') + QString(digits, u'1');
    return report;
}

inline StageReport correct(double seconds, int factorDigits = 20)
{
    return loggedStage(StageVerdict::Correct, seconds, 2 * factorDigits, factorDigits);
}
inline StageReport wrong(double seconds, int digits, int factorDigits = 20)
{
    return loggedStage(StageVerdict::Wrong, seconds, digits, factorDigits);
}
inline StageReport left(double seconds = 120.0, int digits = 0, int factorDigits = 20)
{
    return loggedStage(StageVerdict::Left, seconds, digits, factorDigits);
}

// An evaluated stage known column by column: its product and, per digit,
// '1' where the answer matched it, most significant first.
inline StageReport evaluated(const QString &product, const QString &matchedColumns, int factorDigits)
{
    StageReport report = loggedStage(matchedColumns.contains(u'0') ? StageVerdict::Wrong : StageVerdict::Correct, 600,
                                     static_cast<int>(matchedColumns.count(u'1')), factorDigits);
    report.product = product;
    report.matchedColumns = matchedColumns;
    return report;
}

inline QList<StageReport> repeated(int count, const StageReport &report) { return QList<StageReport>(count, report); }

} // namespace vk::test
