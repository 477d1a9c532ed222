#pragma once

#include <QDateTime>
#include <QString>

namespace vk {

// How a stage ended, as a training log keeps it.
enum class StageVerdict {
    Correct, // evaluated (Yes or the time limit), every product digit matched
    Wrong,   // evaluated, at least one product digit did not match
    Left,    // left with BACK or by closing the program before the evaluation
};

// What one stage leaves behind for a training log.
struct StageReport {
    QDateTime startedUtc;     // when the stage clock started, UTC
    double secondsUsed = 0.0; // to a hundredth, as the clock display shows it
    bool clockShown = true;   // whether the clock display was shown while it ran
    int factorDigits = 20;    // how many digits each factor has
    QString factor1;          // the two factors
    QString factor2;
    QString answer;           // the typed answer as the problem document stores it
    QString product;          // the exact product
    int digitsMatched = 0;    // product digits the answer matched
    // For an evaluated stage, one character per product digit, most
    // significant first as in `product`: '1' where the answer's digit in
    // that column matched, '0' where it did not. Empty for a stage left
    // before the evaluation.
    QString matchedColumns;
    StageVerdict verdict = StageVerdict::Left;
};

// The matched columns of an evaluated stage worked out from its stored
// answer, read right-aligned under the product (a log that kept only the
// answer): exact unless the answer row's units end was left empty.
QString matchedColumnsFromAnswer(const QString &answer, const QString &product);

// Told of every stage that reached the evaluation, and of every stage left
// before it. A run without a training log has none.
class StageReportSink
{
public:
    virtual ~StageReportSink() = default;
    virtual void stageEnded(const StageReport &report) = 0;
};

} // namespace vk
