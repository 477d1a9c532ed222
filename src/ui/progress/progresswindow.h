#pragma once

#include "stage/stagereport.h"

#include <QList>
#include <QString>
#include <QWidget>

class QVBoxLayout;

namespace vk {

// Object names by which tests and the end-to-end scenarios find the view's
// pieces.
namespace progress {
inline constexpr const char *kChartView = "progressChart";
inline constexpr const char *kFigures = "progressFigures";
inline constexpr const char *kMessage = "progressMessage";
inline constexpr const char *kNotice = "progressNotice";
// The factor length shown: a choice where more than one was played, else
// a line that names the one.
inline constexpr const char *kLengthChoice = "lengthChoice";
inline constexpr const char *kLengthSummary = "lengthSummary";
// The chart's series: the raw values, their trends, the correct stages.
inline constexpr const char *kSecondsSeries = "secondsUsed";
inline constexpr const char *kDigitsSeries = "digitsMatched";
inline constexpr const char *kSecondsTrendSeries = "secondsTrend";
inline constexpr const char *kDigitsTrendSeries = "digitsTrend";
inline constexpr const char *kCorrectSeries = "correctStages";
// The columns missed: the strip's heading, the strip, the sentence below it.
inline constexpr const char *kMissHeading = "missHeading";
inline constexpr const char *kMissStrip = "missStrip";
inline constexpr const char *kMissSummary = "missSummary";
// One label per figure.
inline constexpr const char *kStagesFigure = "stagesFigure";
inline constexpr const char *kCorrectFigure = "correctFigure";
inline constexpr const char *kBestTimeFigure = "bestTimeFigure";
inline constexpr const char *kMeanLast10Figure = "meanLast10Figure";
inline constexpr const char *kMeanLast50Figure = "meanLast50Figure";
inline constexpr const char *kLongestRunFigure = "longestRunFigure";
inline constexpr const char *kLeftFigure = "leftFigure";
} // namespace progress

// The progress view: a plain window that shows one factor length at a time,
// at first the one played most, with a choice of the others. For that
// length: a chart of the seconds used and the digits matched in every
// evaluated stage with their trends, the correct ones marked; a strip of the
// product's columns shaded by how often each was wrong; and the figures in
// words. It shows a sentence instead of the chart when there is nothing to
// chart, and `problem` instead of everything when the log could not be
// read. `notice`, when given, stands above the rest (rows of the log that
// could not be read and were left out).
class ProgressWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ProgressWindow(const QList<StageReport> &reports, const QString &problem = {},
                            const QString &notice = {}, QWidget *parent = nullptr);

    static constexpr const char *kTitle = "Vendrakul progress";
    static constexpr const char *kNothingLogged =
        "No stages logged yet. Start the trainer with --log and finish a stage to see your progress here.";

private:
    // Puts the chart, the strip and the figures of `factorDigits`-digit
    // stages in place of those shown before.
    void showLength(int factorDigits);

    QList<StageReport> m_reports;
    QVBoxLayout *m_layout = nullptr;
    QWidget *m_lengthView = nullptr;
};

} // namespace vk
