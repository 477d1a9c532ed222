#pragma once

#include "stage/stagereport.h"

#include <QList>

namespace vk::test {

// Logged stages with only what the progress view reads filled in.
inline StageReport loggedStage(StageVerdict verdict, double seconds, int digits)
{
    StageReport report;
    report.startedUtc = QDateTime(QDate(2026, 12, 1), QTime(18, 0), Qt::UTC);
    report.secondsUsed = seconds;
    report.digitsMatched = digits;
    report.verdict = verdict;
    return report;
}

inline StageReport correct(double seconds) { return loggedStage(StageVerdict::Correct, seconds, 40); }
inline StageReport wrong(double seconds, int digits) { return loggedStage(StageVerdict::Wrong, seconds, digits); }
inline StageReport left(double seconds = 120.0, int digits = 0) { return loggedStage(StageVerdict::Left, seconds, digits); }

inline QList<StageReport> repeated(int count, const StageReport &report) { return QList<StageReport>(count, report); }

} // namespace vk::test
