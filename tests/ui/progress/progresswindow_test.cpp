#include "ui/progress/progresswindow.h"

#include "ui/progress/stagereports.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QTest>
#include <QValueAxis>

#include <gtest/gtest.h>

#include <random>
#include <utility>

namespace vk {
namespace {

using namespace test;

QString textOf(const QWidget &window, const char *name)
{
    const auto *label = window.findChild<QLabel *>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no label %1>").arg(QLatin1String(name));
}

template <typename Series>
Series *seriesOf(const QWidget &window, const char *name)
{
    const auto *view = window.findChild<QChartView *>(QLatin1String(progress::kChartView));
    if (!view)
        return nullptr;
    for (QAbstractSeries *series : view->chart()->series()) {
        if (series->objectName() == QLatin1String(name))
            return qobject_cast<Series *>(series);
    }
    return nullptr;
}

const QValueAxis *verticalAxisOf(QXYSeries *series)
{
    if (!series)
        return nullptr;
    for (QAbstractAxis *axis : series->attachedAxes()) {
        if (axis->orientation() == Qt::Vertical)
            return qobject_cast<QValueAxis *>(axis);
    }
    return nullptr;
}

// A plausible log: a competitor getting faster and more accurate over
// `count` stages, now and then leaving one before the finish.
QList<StageReport> improvingLog(int count)
{
    std::mt19937 random(20261210);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    QList<StageReport> reports;
    for (int i = 0; i < count; ++i) {
        const double progress = static_cast<double>(i) / count;
        const double seconds = std::min(900.0, 860.0 - 380.0 * progress + 90.0 * (unit(random) - 0.5));
        if (unit(random) < 0.06) {
            reports.append(left(seconds * 0.4, 0));
        } else if (unit(random) < 0.1 + 0.5 * progress) {
            reports.append(correct(std::round(seconds * 100.0) / 100.0));
        } else {
            const int digits = std::clamp(static_cast<int>(18 + 20 * progress + 10 * (unit(random) - 0.5)), 0, 39);
            reports.append(wrong(std::round(seconds * 100.0) / 100.0, digits));
        }
    }
    return reports;
}

TEST(ProgressWindow, isAPlainWindowThatFitsA1024By768Screen)
{
    const ProgressWindow window(improvingLog(20));
    EXPECT_TRUE(window.isWindow());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Vendrakul progress"));
    // Room for a title bar, a frame and a panel.
    EXPECT_LE(window.width(), 1000);
    EXPECT_LE(window.height(), 700);
    EXPECT_GE(window.width(), 800) << "too small to read the chart";
}

// Escape, Ctrl+W and Ctrl+Q each put the view away, whatever it shows.
TEST(ProgressWindow, closesOnEscapeAndTheDesktopsCloseKeys)
{
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    for (const Case c : {Case{Qt::Key_Escape, Qt::NoModifier}, Case{Qt::Key_W, Qt::ControlModifier},
                         Case{Qt::Key_Q, Qt::ControlModifier}}) {
        for (const QList<StageReport> &reports : {QList<StageReport>{}, improvingLog(12)}) {
            ProgressWindow window(reports);
            window.show();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
            QTest::keyClick(&window, c.key, c.modifiers);
            EXPECT_FALSE(window.isVisible()) << QKeySequence(c.key | c.modifiers).toString().toStdString();
        }
    }
}

TEST(ProgressWindow, anEmptyLogShowsASentenceAndNoChart)
{
    const ProgressWindow window({});
    EXPECT_EQ(textOf(window, progress::kMessage),
              QStringLiteral("No stages logged yet. Start the trainer with --log and finish a stage to see your "
                             "progress here."));
    EXPECT_EQ(window.findChild<QChartView *>(), nullptr);
    EXPECT_EQ(window.findChild<QWidget *>(QLatin1String(progress::kFigures)), nullptr);
}

// A log that could not be read shows why, and nothing of what was read.
TEST(ProgressWindow, aProblemIsShownInsteadOfTheChart)
{
    const QString problem = QStringLiteral("The training log was written by a newer Vendrakul and cannot be read.");
    for (const QList<StageReport> &reports : {QList<StageReport>{}, improvingLog(30)}) {
        SCOPED_TRACE(reports.size());
        const ProgressWindow window(reports, problem);
        EXPECT_EQ(textOf(window, progress::kMessage), problem);
        EXPECT_EQ(window.findChild<QChartView *>(), nullptr);
        EXPECT_EQ(window.findChild<QWidget *>(QLatin1String(progress::kFigures)), nullptr);
    }
}

// Rows left out of the log are told above the chart, which shows the rest.
TEST(ProgressWindow, rowsLeftOutAreToldAboveTheChart)
{
    const QString notice = QStringLiteral("1 row of the training log could not be read and was left out (row 2: ...).");
    const ProgressWindow window(improvingLog(5), QString(), notice);
    EXPECT_EQ(textOf(window, progress::kNotice), notice);
    EXPECT_NE(window.findChild<QChartView *>(), nullptr);
    EXPECT_EQ(textOf(window, progress::kStagesFigure), QStringLiteral("Stages: 5"));

    const ProgressWindow clean(improvingLog(5));
    EXPECT_EQ(clean.findChild<QLabel *>(QLatin1String(progress::kNotice)), nullptr);
}

TEST(ProgressWindow, onlyLeftStagesShowTheirCountButNoChart)
{
    const ProgressWindow window({left(), left()});
    EXPECT_EQ(window.findChild<QChartView *>(), nullptr);
    EXPECT_FALSE(textOf(window, progress::kMessage).isEmpty());
    EXPECT_EQ(textOf(window, progress::kLeftFigure), QStringLiteral("Left before the finish: 2"));
    EXPECT_EQ(textOf(window, progress::kStagesFigure), QStringLiteral("Stages: 0"));
}

// Left stages take no number on the stage axis: the evaluated ones are
// numbered 1..N in log order, and each correct one is marked at its own
// number and time. Over the raw values run their trends, the mean of the
// last 10 stages (of fewer at the start).
TEST(ProgressWindow, chartsEachEvaluatedStageWithItsTrendAndMarksTheCorrectOnes)
{
    const QList<StageReport> reports{left(50, 3),     wrong(880.5, 12), correct(812.25), left(),
                                     wrong(760, 39),  correct(700.01), correct(699.5),  left(900, 40)};
    ProgressWindow window(reports);
    window.show();
    EXPECT_EQ(window.findChild<QLabel *>(QLatin1String(progress::kMessage)), nullptr);

    auto *seconds = seriesOf<QLineSeries>(window, progress::kSecondsSeries);
    auto *digits = seriesOf<QLineSeries>(window, progress::kDigitsSeries);
    auto *secondsTrend = seriesOf<QXYSeries>(window, progress::kSecondsTrendSeries);
    auto *digitsTrend = seriesOf<QXYSeries>(window, progress::kDigitsTrendSeries);
    auto *marked = seriesOf<QLineSeries>(window, progress::kCorrectSeries);
    ASSERT_TRUE(seconds && digits && secondsTrend && digitsTrend && marked);
    EXPECT_EQ(seconds->points(), (QList<QPointF>{{1, 880.5}, {2, 812.25}, {3, 760}, {4, 700.01}, {5, 699.5}}));
    EXPECT_EQ(digits->points(), (QList<QPointF>{{1, 12}, {2, 40}, {3, 39}, {4, 40}, {5, 40}}));
    EXPECT_EQ(marked->points(), (QList<QPointF>{{2, 812.25}, {4, 700.01}, {5, 699.5}}));

    ASSERT_EQ(secondsTrend->count(), 5);
    ASSERT_EQ(digitsTrend->count(), 5);
    EXPECT_EQ(secondsTrend->at(0), QPointF(1, 880.5));
    EXPECT_EQ(secondsTrend->at(4).x(), 5);
    EXPECT_NEAR(secondsTrend->at(4).y(), (880.5 + 812.25 + 760 + 700.01 + 699.5) / 5, 1e-9);
    EXPECT_NEAR(digitsTrend->at(2).y(), (12 + 40 + 39) / 3.0, 1e-9);
    // The trends are the lines the eye follows: wider, and in a colour of
    // their own, drawn over the raw values.
    for (const auto &[raw, trend] : {std::pair<QXYSeries *, QXYSeries *>{seconds, secondsTrend}, {digits, digitsTrend}}) {
        EXPECT_GE(trend->pen().widthF(), 2 * raw->pen().widthF()) << trend->name().toStdString();
        EXPECT_NE(trend->pen().color(), raw->pen().color()) << trend->name().toStdString();
        const QList<QAbstractSeries *> drawn = seconds->chart()->series();
        EXPECT_GT(drawn.indexOf(trend), drawn.indexOf(raw)) << trend->name().toStdString();
    }

    // The marks stand out from the line they sit on, and the legend names them.
    EXPECT_NE(marked->color(), seconds->color());
    EXPECT_EQ(marked->pen().style(), Qt::NoPen) << "the marks stand alone, with no line of their own";
    const QList<QLegendMarker *> legend = seconds->chart()->legend()->markers(marked);
    ASSERT_EQ(legend.size(), 1);
    EXPECT_EQ(legend.front()->label(), QStringLiteral("Correct"));
    EXPECT_TRUE(legend.front()->isVisible());

    // The digits go on an axis of their own, on the right.
    const QValueAxis *digitAxis = verticalAxisOf(digits);
    ASSERT_TRUE(digitAxis);
    EXPECT_EQ(digitAxis->tickAnchor(), 0.0);
    EXPECT_EQ(digitAxis->alignment(), Qt::AlignRight);
}

// A correct stage's mark is larger than any other point on the chart, with
// dots on the raw values (few stages) and without them (many).
TEST(ProgressWindow, correctStagesAreTheLargestMarks)
{
    for (const int count : {12, 300}) {
        SCOPED_TRACE(count);
        const ProgressWindow window(improvingLog(count));
        const auto *marked = seriesOf<QXYSeries>(window, progress::kCorrectSeries);
        ASSERT_TRUE(marked);
        ASSERT_FALSE(marked->lightMarker().isNull()) << "the correct stages carry no mark";
        for (const char *name : {progress::kSecondsSeries, progress::kDigitsSeries, progress::kSecondsTrendSeries,
                                 progress::kDigitsTrendSeries}) {
            const auto *series = seriesOf<QXYSeries>(window, name);
            ASSERT_TRUE(series) << name;
            EXPECT_FALSE(series->pointsVisible()) << name << ": points drawn by the series, as large as it likes";
            EXPECT_GT(marked->lightMarker().width(), series->lightMarker().width() + 4) << name;
        }
    }
}

// The seconds' axis reaches just above the longest time shown, not 900 s
// whatever the times; the digits' axis reaches every column of the product.
TEST(ProgressWindow, axesFitTheTimesAndTheLength)
{
    struct Case {
        const char *name;
        QList<StageReport> reports;
        double secondsTop;
        double digitsTop;
    };
    const Case cases[] = {
        {"20 digits, slow", {wrong(880.5, 12), correct(812.25)}, 900, 40},
        {"8 digits", {wrong(61.5, 12, 8), correct(40, 8), left(300, 0, 8)}, 70, 16},
        {"2 digits", {correct(4.2, 2), correct(2.5, 2)}, 5, 4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ProgressWindow window(c.reports);
        for (const auto &[name, top] :
             {std::pair{progress::kSecondsSeries, c.secondsTop}, std::pair{progress::kDigitsSeries, c.digitsTop}}) {
            const QValueAxis *axis = verticalAxisOf(seriesOf<QXYSeries>(window, name));
            ASSERT_TRUE(axis) << name;
            // A little room beyond both ends shows the marks there whole.
            EXPECT_TRUE(axis->min() <= 0 && axis->min() > -0.05 * top) << name << " from " << axis->min();
            EXPECT_TRUE(axis->max() >= top && axis->max() < 1.05 * top) << name << " to " << axis->max();
        }
    }
}

TEST(ProgressWindow, figuresReadAsSentences)
{
    struct Case {
        const char *name;
        QList<StageReport> reports;
        std::pair<const char *, const char *> texts[7];
    };
    using namespace progress;
    const Case cases[] = {
        {"a log with correct stages",
         repeated(8, wrong(850, 30)) + QList<StageReport>{correct(430.1), correct(412.35), left(), wrong(700, 24)},
         {{kStagesFigure, "Stages: 11"},
          {kCorrectFigure, "Correct: 2"},
          {kBestTimeFigure, "Best time of a correct stage: 412.35 s"},
          {kMeanLast10Figure, "Mean digits matched, last 10: 31.4"},
          {kMeanLast50Figure, "Mean digits matched, last 50: 31.3"},
          {kLongestRunFigure, "Longest run of correct stages: 2"},
          {kLeftFigure, "Left before the finish: 1"}}},
        {"no correct stage yet",
         {wrong(900, 7), left()},
         {{kStagesFigure, "Stages: 1"},
          {kCorrectFigure, "Correct: 0"},
          {kBestTimeFigure, "Best time of a correct stage: none yet"},
          {kMeanLast10Figure, "Mean digits matched, last 10: 7.0"},
          {kMeanLast50Figure, "Mean digits matched, last 50: 7.0"},
          {kLongestRunFigure, "Longest run of correct stages: 0"},
          {kLeftFigure, "Left before the finish: 1"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ProgressWindow window(c.reports);
        for (const auto &[name, text] : c.texts)
            EXPECT_EQ(textOf(window, name), QLatin1String(text));
    }
}

// Sixty stages as a competitor would log them, painted as on screen. The
// picture is kept in the temporary folder for a person to look at; the
// test checks that the correct stages' marks and the trends are painted,
// in their colours, inside the chart.
TEST(ProgressWindow, aRealisticLogPaintsItsMarksAndTrends)
{
    const QList<StageReport> reports = improvingLog(60);
    ProgressWindow window(reports);
    window.show();
    const QImage picture = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QString file = QDir::temp().filePath(QStringLiteral("vendrakul-progress-60.png"));
    EXPECT_TRUE(picture.save(file)) << file.toStdString();

    const auto *marked = seriesOf<QLineSeries>(window, progress::kCorrectSeries);
    const auto *secondsTrend = seriesOf<QXYSeries>(window, progress::kSecondsTrendSeries);
    const auto *digitsTrend = seriesOf<QXYSeries>(window, progress::kDigitsTrendSeries);
    ASSERT_TRUE(marked && secondsTrend && digitsTrend);
    ASSERT_GT(marked->count(), 5);
    const auto *view = window.findChild<QChartView *>();
    const QRect plot = view->chart()->plotArea().toAlignedRect().translated(view->mapTo(&window, QPoint(0, 0)));
    const auto pixelsOf = [&](const QColor &colour) {
        int pixels = 0;
        for (int y = plot.top(); y <= plot.bottom(); ++y) {
            for (int x = plot.left(); x <= plot.right(); ++x)
                pixels += picture.pixel(x, y) == colour.rgb();
        }
        return pixels;
    };
    // Each 13-pixel mark paints at least some 60 pixels of its colour.
    EXPECT_GT(pixelsOf(marked->color()), 60 * marked->count() / 2);
    // A 3-pixel line across the plot, with the marks over it here and there.
    for (const QXYSeries *trend : {secondsTrend, digitsTrend})
        EXPECT_GT(pixelsOf(trend->pen().color()), plot.width()) << trend->name().toStdString();
}

// The view opens on the length played most, every logged stage counted;
// the choice lists each length played, and choosing one from the keyboard
// puts that length's chart, columns and figures in place of the others.
TEST(ProgressWindow, opensOnTheLengthPlayedMostAndSwitchesToAnother)
{
    const QList<StageReport> reports{correct(90.5, 8),  wrong(800, 12), wrong(120, 10, 8), left(60, 0, 8),
                                     correct(700),      correct(8.5, 2)};
    ProgressWindow window(reports);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto *choice = window.findChild<QComboBox *>(QLatin1String(progress::kLengthChoice));
    ASSERT_TRUE(choice);
    QStringList items;
    for (int i = 0; i < choice->count(); ++i)
        items.append(choice->itemText(i));
    EXPECT_EQ(items, (QStringList{"2 digits (1 stage)", "8 digits (3 stages)", "20 digits (2 stages)"}));

    struct Shown {
        const char *choice;
        QList<QPointF> seconds;
        double digitsTop;
        const char *stages;
        const char *left;
    };
    const auto expectShown = [&](const Shown &shown) {
        SCOPED_TRACE(shown.choice);
        EXPECT_EQ(choice->currentText(), QLatin1String(shown.choice));
        EXPECT_EQ(window.findChildren<QChartView *>().size(), 1) << "a chart of another length is still there";
        const auto *seconds = seriesOf<QLineSeries>(window, progress::kSecondsSeries);
        ASSERT_TRUE(seconds);
        EXPECT_EQ(seconds->points(), shown.seconds);
        const QValueAxis *digitsAxis = verticalAxisOf(seriesOf<QXYSeries>(window, progress::kDigitsSeries));
        ASSERT_TRUE(digitsAxis);
        EXPECT_TRUE(digitsAxis->max() >= shown.digitsTop && digitsAxis->max() < 1.05 * shown.digitsTop);
        EXPECT_EQ(textOf(window, progress::kStagesFigure), QLatin1String(shown.stages));
        EXPECT_EQ(textOf(window, progress::kLeftFigure), QLatin1String(shown.left));
        EXPECT_EQ(window.findChildren<QLabel *>(QLatin1String(progress::kMissSummary)).size(), 1);
    };
    expectShown({"8 digits (3 stages)", {{1, 90.5}, {2, 120}}, 16, "Stages: 2", "Left before the finish: 1"});
    choice->setFocus();
    QTest::keyClick(choice, Qt::Key_Down);
    expectShown({"20 digits (2 stages)", {{1, 800}, {2, 700}}, 40, "Stages: 2", "Left before the finish: 0"});
    QTest::keyClick(choice, Qt::Key_Up);
    QTest::keyClick(choice, Qt::Key_Up);
    expectShown({"2 digits (1 stage)", {{1, 8.5}}, 4, "Stages: 1", "Left before the finish: 0"});
}

// With one length played there is nothing to choose: a line names it.
TEST(ProgressWindow, oneLengthIsNamedWithoutAChoice)
{
    const ProgressWindow window(improvingLog(12));
    EXPECT_EQ(window.findChild<QComboBox *>(), nullptr);
    EXPECT_EQ(textOf(window, progress::kLengthSummary), QStringLiteral("20 digits (12 stages)"));
}

} // namespace
} // namespace vk
