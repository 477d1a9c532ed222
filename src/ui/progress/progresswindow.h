#pragma once

#include "stage/stagereport.h"

#include <QList>
#include <QString>
#include <QWidget>

namespace vk {

// Object names by which tests and the end-to-end scenarios find the view's
// pieces.
namespace progress {
inline constexpr const char *kChartView = "progressChart";
inline constexpr const char *kFigures = "progressFigures";
inline constexpr const char *kMessage = "progressMessage";
inline constexpr const char *kNotice = "progressNotice";
// The chart's series.
inline constexpr const char *kSecondsSeries = "secondsUsed";
inline constexpr const char *kDigitsSeries = "digitsMatched";
inline constexpr const char *kCorrectSeries = "correctStages";
// One label per figure.
inline constexpr const char *kStagesFigure = "stagesFigure";
inline constexpr const char *kCorrectFigure = "correctFigure";
inline constexpr const char *kBestTimeFigure = "bestTimeFigure";
inline constexpr const char *kMeanLast10Figure = "meanLast10Figure";
inline constexpr const char *kMeanLast50Figure = "meanLast50Figure";
inline constexpr const char *kLongestRunFigure = "longestRunFigure";
inline constexpr const char *kLeftFigure = "leftFigure";
} // namespace progress

// The progress view: a plain window with a chart of the seconds used and
// the digits matched in every evaluated stage, the correct ones marked, and
// the figures in words below it. It shows a sentence instead of the chart
// when there is nothing to chart, and `problem` instead of everything when
// the log could not be read. `notice`, when given, stands above the rest
// (rows of the log that could not be read and were left out).
class ProgressWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ProgressWindow(const QList<StageReport> &reports, const QString &problem = {},
                            const QString &notice = {}, QWidget *parent = nullptr);

    static constexpr const char *kTitle = "Vendrakul progress";
    static constexpr const char *kNothingLogged =
        "No stages logged yet. Start the trainer with --log and finish a stage to see your progress here.";
};

} // namespace vk
