#include "ui/progress/progresschart.h"

#include "ui/progress/chartvalues.h"
#include "ui/progress/progresswindow.h"

#include <QChart>
#include <QChartView>
#include <QImage>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QSplineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace vk {

namespace {

// The chart clips what it draws to its plot area, so both value axes reach
// a little beyond 0 and their top (the same share of each, which keeps
// their 0 and top on one line) to show marks there whole.
constexpr double kHeadroom = 0.025;

// The raw values are pale, so that the trends drawn over them in the full
// colours are what the eye follows.
const QColor kSecondsColour(0x1f, 0x5f, 0xa8);
const QColor kSecondsPaleColour(0xa4, 0xc0, 0xe2);
const QColor kDigitsColour(0xc2, 0x74, 0x0c);
const QColor kDigitsPaleColour(0xf1, 0xd6, 0xaa);
const QColor kCorrectColour(0x1e, 0x9e, 0x3a);

// A round mark at each of a series' points. Marks painted as images cost
// the chart no item per point, unlike the series' own markers, and their
// size is their own, not a multiple of the line's width.
void setMark(QXYSeries *series, qreal size, const QColor &fill, const QColor &outline)
{
    const int side = static_cast<int>(std::ceil(size)) + 2;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(outline.isValid() ? QPen(outline, 1.5) : QPen(Qt::NoPen));
    painter.setBrush(fill);
    painter.drawEllipse(QRectF(1, 1, size, size));
    painter.end();
    series->setMarkerSize(size);
    series->setLightMarker(image);
}

// A value axis with whole-number labels and a tick every `step` from 0.
QValueAxis *valueAxis(const QString &title, double from, double to, double step)
{
    auto *axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setLabelFormat(QStringLiteral("%d"));
    axis->setRange(from, to);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(step);
    return axis;
}

// A value axis from 0 to `top`, with room for marks at both ends.
QValueAxis *valueAxisFromZero(const QString &title, const AxisScale &scale)
{
    return valueAxis(title, -kHeadroom * scale.top, (1 + kHeadroom) * scale.top, scale.step);
}

// replace() hands a series all its points at once; appending them one by
// one would tell the chart of every point.
template <typename Series>
Series *makeSeries(const char *objectName, const QString &name, const QPen &pen, const QList<QPointF> &points)
{
    auto *series = new Series;
    series->setObjectName(QLatin1String(objectName));
    series->setName(name);
    series->setPen(pen);
    series->replace(points);
    return series;
}

QList<QPointF> numbered(const QList<double> &values)
{
    QList<QPointF> points;
    points.reserve(values.size());
    for (qsizetype i = 0; i < values.size(); ++i)
        points.append(QPointF(static_cast<double>(i + 1), values[i]));
    return points;
}

// A trend over the raw values: as a smooth curve where the stages are few
// enough to see each bend, else as a line of many short segments, which
// reads as smooth. The line's segments are stroked one by one, and round
// caps on thousands of them cost more than the rest of the chart.
QXYSeries *makeTrend(const char *objectName, const QString &name, const QColor &colour, const QList<double> &values)
{
    const QList<QPointF> points = numbered(runningMeans(values, kTrendStages));
    if (values.size() <= kMostStagesWithDots) {
        return makeSeries<QSplineSeries>(objectName, name, QPen(colour, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin),
                                         points);
    }
    return makeSeries<QLineSeries>(objectName, name, QPen(colour, 3.0, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin), points);
}

} // namespace

QChartView *makeProgressChart(const QList<StageReport> &reports, int factorDigits, QWidget *parent)
{
    QList<double> seconds;
    QList<double> digits;
    QList<QPointF> correct;
    for (const StageReport &report : reports) {
        if (report.verdict == StageVerdict::Left)
            continue;
        seconds.append(report.secondsUsed);
        digits.append(report.digitsMatched);
        if (report.verdict == StageVerdict::Correct)
            correct.append(QPointF(static_cast<double>(seconds.size()), report.secondsUsed));
    }
    const int stages = static_cast<int>(seconds.size());
    const bool dots = stages <= kMostStagesWithDots;

    auto *chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));

    using namespace progress;
    // The pens are solid and opaque: along thousands of stages a dashed one
    // costs seconds to stroke, and a see-through one a few hundred
    // milliseconds.
    auto *digitsSeries = makeSeries<QLineSeries>(kDigitsSeries, QStringLiteral("Digits matched"),
                                                 QPen(kDigitsPaleColour, 1.2), numbered(digits));
    auto *secondsSeries = makeSeries<QLineSeries>(kSecondsSeries, QStringLiteral("Seconds used"),
                                                  QPen(kSecondsPaleColour, 1.2), numbered(seconds));
    if (dots) {
        setMark(digitsSeries, 5, kDigitsPaleColour.darker(115), {});
        setMark(secondsSeries, 6, kSecondsPaleColour.darker(115), {});
    }
    QXYSeries *digitsTrend = makeTrend(kDigitsTrendSeries, QStringLiteral("Mean digits, last 10"), kDigitsColour, digits);
    QXYSeries *secondsTrend =
        makeTrend(kSecondsTrendSeries, QStringLiteral("Mean seconds, last 10"), kSecondsColour, seconds);
    // The correct stages as marks without a line, over everything else.
    auto *correctSeries = makeSeries<QLineSeries>(kCorrectSeries, QStringLiteral("Correct"), QPen(Qt::NoPen), correct);
    correctSeries->setColor(kCorrectColour);
    setMark(correctSeries, dots ? 13 : 8, kCorrectColour, kCorrectColour.darker(150));

    // In this order, each drawn over the one before.
    for (QAbstractSeries *series : std::initializer_list<QAbstractSeries *>{digitsSeries, secondsSeries, digitsTrend,
                                                                           secondsTrend, correctSeries})
        chart->addSeries(series);

    auto *stageAxis = valueAxis(QStringLiteral("Stage"), 0.5, stages + 0.5, roundStep(stages, 12));
    stageAxis->setMinorGridLineVisible(false);

    const double longest = seconds.isEmpty() ? 0.0 : *std::max_element(seconds.cbegin(), seconds.cend());
    auto *secondsAxis = valueAxisFromZero(QStringLiteral("Seconds used"), secondsAxisScale(longest));
    secondsAxis->setTitleBrush(kSecondsColour);

    const double columns = 2.0 * factorDigits;
    auto *digitsAxis = valueAxisFromZero(QStringLiteral("Digits matched"), {columns, roundStep(columns, 8)});
    digitsAxis->setGridLineVisible(false);
    digitsAxis->setTitleBrush(kDigitsColour);

    chart->addAxis(stageAxis, Qt::AlignBottom);
    chart->addAxis(secondsAxis, Qt::AlignLeft);
    chart->addAxis(digitsAxis, Qt::AlignRight);
    for (QAbstractSeries *series : chart->series()) {
        series->attachAxis(stageAxis);
        const bool ofDigits = series == digitsSeries || series == digitsTrend;
        series->attachAxis(ofDigits ? digitsAxis : secondsAxis);
    }

    // The legend shows the raw values' colours a little stronger than their
    // pale lines, which would hardly show in a small square.
    for (QLegendMarker *marker : chart->legend()->markers(digitsSeries))
        marker->setBrush(kDigitsPaleColour.darker(110));
    for (QLegendMarker *marker : chart->legend()->markers(secondsSeries))
        marker->setBrush(kSecondsPaleColour.darker(110));

    auto *view = new QChartView(chart, parent);
    view->setObjectName(QLatin1String(kChartView));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(280);
    return view;
}

} // namespace vk
