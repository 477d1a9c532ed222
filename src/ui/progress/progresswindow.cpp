#include "ui/progress/progresswindow.h"

#include "ui/progress/progressfigures.h"

#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QShortcut>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace vk {

namespace {

constexpr int kMostDigits = 40;          // a product of two 20-digit factors
constexpr double kStageLimitSeconds = 900.0;
// Up to this many stages every one gets a dot on the lines; beyond it the
// dots would only blur into the lines.
constexpr int kMostStagesWithDots = 200;

// The chart clips what it draws to its plot area, so both value axes reach
// a little beyond 0 and their top (the same share of each, which keeps
// their 0 and top on one line) to show marks there whole.
constexpr double kHeadroom = 0.025;

const QColor kSecondsColour(0x1f, 0x5f, 0xa8);
const QColor kDigitsColour(0xd0, 0x8a, 0x1c);
const QColor kDigitsPaleColour(0xf1, 0xd6, 0xaa);
const QColor kCorrectColour(0x1e, 0x9e, 0x3a);
const QColor kProblemColour(0xa0, 0x10, 0x10);

QString orNoneYet(const std::optional<double> &value, int decimals, const QString &unit = {})
{
    if (!value)
        return QStringLiteral("none yet");
    return QString::number(*value, 'f', decimals) + unit;
}

// A step of 1, 2 or 5 times a power of ten that puts about `ticks` ticks
// on the stage axis, so that every tick falls on a whole stage number.
double stageTickInterval(int stages, int ticks)
{
    const double raw = std::max(1.0, static_cast<double>(stages) / ticks);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double step : {1.0, 2.0, 5.0}) {
        if (step * power >= raw)
            return step * power;
    }
    return 10.0 * power;
}

// The mark of a correct stage, painted at each one's point. Marks painted as
// images cost the chart no item per point, unlike the series' own markers.
QImage correctMark(qreal size)
{
    const int side = static_cast<int>(std::ceil(size)) + 2;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kCorrectColour.darker(140), 1.5));
    painter.setBrush(kCorrectColour);
    painter.drawEllipse(QRectF(1, 1, size, size));
    return image;
}

QLabel *figureLabel(const char *name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QWidget *makeFigures(const ProgressFigures &figures, QWidget *parent)
{
    auto *box = new QWidget(parent);
    box->setObjectName(QLatin1String(progress::kFigures));
    QFont font = box->font();
    font.setPointSizeF(font.pointSizeF() * 1.15);
    box->setFont(font);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(12, 4, 12, 4);
    grid->setHorizontalSpacing(48);
    grid->setVerticalSpacing(6);

    using namespace progress;
    // Counts on the left, times and means on the right.
    grid->addWidget(figureLabel(kStagesFigure, QStringLiteral("Stages: %1").arg(figures.evaluatedStages()), box), 0, 0);
    grid->addWidget(figureLabel(kCorrectFigure, QStringLiteral("Correct: %1").arg(figures.correctStages()), box), 1, 0);
    grid->addWidget(figureLabel(kLongestRunFigure,
                                QStringLiteral("Longest run of correct stages: %1").arg(figures.longestCorrectRun()), box),
                    2, 0);
    grid->addWidget(figureLabel(kLeftFigure, QStringLiteral("Left before the finish: %1").arg(figures.leftStages()), box),
                    3, 0);
    grid->addWidget(figureLabel(kBestTimeFigure,
                                QStringLiteral("Best time of a correct stage: %1")
                                    .arg(orNoneYet(figures.bestCorrectSeconds(), 2, QStringLiteral(" s"))),
                                box),
                    0, 1);
    grid->addWidget(figureLabel(kMeanLast10Figure,
                                QStringLiteral("Mean digits matched, last 10: %1")
                                    .arg(orNoneYet(figures.meanDigitsMatchedOverLast(10), 1)),
                                box),
                    1, 1);
    grid->addWidget(figureLabel(kMeanLast50Figure,
                                QStringLiteral("Mean digits matched, last 50: %1")
                                    .arg(orNoneYet(figures.meanDigitsMatchedOverLast(50), 1)),
                                box),
                    2, 1);
    grid->setColumnStretch(2, 1);
    return box;
}

// A value axis with whole-number labels and a tick every `interval` from 0.
QValueAxis *valueAxis(const QString &title, double from, double to, double interval)
{
    auto *axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setLabelFormat(QStringLiteral("%d"));
    axis->setRange(from, to);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(interval);
    return axis;
}

QChartView *makeChart(const QList<StageReport> &reports, QWidget *parent)
{
    QList<QPointF> seconds;
    QList<QPointF> digits;
    QList<QPointF> correct;
    seconds.reserve(reports.size());
    digits.reserve(reports.size());
    double mostSeconds = kStageLimitSeconds;
    int number = 0;
    for (const StageReport &report : reports) {
        if (report.verdict == StageVerdict::Left)
            continue;
        ++number;
        seconds.append(QPointF(number, report.secondsUsed));
        digits.append(QPointF(number, report.digitsMatched));
        if (report.verdict == StageVerdict::Correct)
            correct.append(QPointF(number, report.secondsUsed));
        mostSeconds = std::max(mostSeconds, report.secondsUsed);
    }
    const bool dots = number <= kMostStagesWithDots;

    auto *chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));

    // replace() hands each series all its points at once; appending them
    // one by one would tell the chart of every point.
    auto *secondsSeries = new QLineSeries;
    secondsSeries->setObjectName(QLatin1String(progress::kSecondsSeries));
    secondsSeries->setName(QStringLiteral("Seconds used"));
    secondsSeries->setPen(QPen(kSecondsColour, 2));
    secondsSeries->setPointsVisible(dots);
    secondsSeries->setMarkerSize(6);
    secondsSeries->replace(seconds);

    auto *digitsSeries = new QLineSeries;
    digitsSeries->setObjectName(QLatin1String(progress::kDigitsSeries));
    digitsSeries->setName(QStringLiteral("Digits matched"));
    // Over many stages the digits' line fills its band: it is drawn paler
    // there, so that it stays behind the seconds and the marks. The pen is
    // solid and opaque: along thousands of stages a dashed one costs
    // seconds to stroke, and a see-through one a few hundred milliseconds.
    digitsSeries->setPen(QPen(dots ? kDigitsColour : kDigitsPaleColour, 1.2));
    digitsSeries->setPointsVisible(dots);
    digitsSeries->setMarkerSize(4);
    digitsSeries->replace(digits);

    // The correct stages as marks without a line, over the seconds line.
    auto *correctSeries = new QLineSeries;
    correctSeries->setObjectName(QLatin1String(progress::kCorrectSeries));
    correctSeries->setName(QStringLiteral("Correct"));
    correctSeries->setPen(Qt::NoPen);
    correctSeries->setColor(kCorrectColour);
    correctSeries->setMarkerSize(dots ? 12 : 7);
    correctSeries->setLightMarker(correctMark(correctSeries->markerSize()));
    correctSeries->replace(correct);

    chart->addSeries(digitsSeries);
    chart->addSeries(secondsSeries);
    chart->addSeries(correctSeries);

    auto *stageAxis = valueAxis(QStringLiteral("Stage"), 0.5, number + 0.5, stageTickInterval(number, 12));
    stageAxis->setMinorGridLineVisible(false);

    const double topSeconds = std::ceil(mostSeconds / 100.0) * 100.0;
    auto *secondsAxis = valueAxis(QStringLiteral("Seconds used"), -kHeadroom * topSeconds,
                                  (1 + kHeadroom) * topSeconds, 100);
    secondsAxis->setTitleBrush(kSecondsColour);

    auto *digitsAxis = valueAxis(QStringLiteral("Digits matched"), -kHeadroom * kMostDigits,
                                 (1 + kHeadroom) * kMostDigits, 5);
    digitsAxis->setGridLineVisible(false);
    digitsAxis->setTitleBrush(kDigitsColour);

    chart->addAxis(stageAxis, Qt::AlignBottom);
    chart->addAxis(secondsAxis, Qt::AlignLeft);
    chart->addAxis(digitsAxis, Qt::AlignRight);
    for (QAbstractSeries *series : {static_cast<QAbstractSeries *>(secondsSeries),
                                    static_cast<QAbstractSeries *>(correctSeries)}) {
        series->attachAxis(stageAxis);
        series->attachAxis(secondsAxis);
    }
    digitsSeries->attachAxis(stageAxis);
    digitsSeries->attachAxis(digitsAxis);

    // The legend keeps the digits' colour whole, see-through line or not.
    for (QLegendMarker *marker : chart->legend()->markers(digitsSeries))
        marker->setBrush(kDigitsColour);

    auto *view = new QChartView(chart, parent);
    view->setObjectName(QLatin1String(progress::kChartView));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(300);
    return view;
}

QLabel *makeMessage(const QString &text, bool problem, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(progress::kMessage));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMargin(24);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 1.25);
    font.setBold(problem);
    label->setFont(font);
    if (problem) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, kProblemColour);
        label->setPalette(palette);
    }
    return label;
}

// A sentence above the chart, in the problem's colour but plain.
QLabel *makeNotice(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(progress::kNotice));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setContentsMargins(12, 4, 12, 0);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kProblemColour);
    label->setPalette(palette);
    return label;
}

} // namespace

ProgressWindow::ProgressWindow(const QList<StageReport> &reports, const QString &problem, const QString &notice,
                               QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setWindowTitle(QLatin1String(kTitle));
    // Fits a 1024 x 768 screen with room for the window frame and a panel.
    resize(960, 660);
    // A view to look at and put away: Escape closes it, as do the usual
    // keys for closing a window and quitting.
    for (const QKeySequence &keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W),
                                     QKeySequence(Qt::CTRL | Qt::Key_Q)}) {
        auto *shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 12);
    layout->setSpacing(8);

    if (!problem.isEmpty()) {
        layout->addWidget(makeMessage(problem, true, this), 1);
        return;
    }
    if (!notice.isEmpty())
        layout->addWidget(makeNotice(notice, this));
    if (reports.isEmpty()) {
        layout->addWidget(makeMessage(QLatin1String(kNothingLogged), false, this), 1);
        return;
    }

    const ProgressFigures figures(reports);
    if (figures.evaluatedStages() == 0) {
        layout->addWidget(makeMessage(QStringLiteral("None of the logged stages reached the evaluation yet. "
                                                     "Finish a stage, or let its clock run out, to see it charted here."),
                                      false, this),
                          1);
    } else {
        layout->addWidget(makeChart(reports, this), 1);
    }
    layout->addWidget(makeFigures(figures, this));
}

} // namespace vk
