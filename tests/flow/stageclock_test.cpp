#include "flow/stageclock.h"

#include "flowfixture.h"
#include "msgbox/boxdriver.h"

#include <QApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QResizeEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

#include <optional>
#include <utility>
#include <vector>

namespace vk {
namespace {

using test::FakeExerciseWindow;

class PaintCounter final : public QObject
{
public:
    explicit PaintCounter(QWidget *w) { w->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The box around the pixels of `colour`, give or take `tolerance` per
// channel (the edges of smoothed text are blends).
std::optional<QRect> boundsOf(const QImage &image, QRgb colour, int tolerance = 0)
{
    const auto near = [&](QRgb p) {
        return std::abs(qRed(p) - qRed(colour)) <= tolerance && std::abs(qGreen(p) - qGreen(colour)) <= tolerance
               && std::abs(qBlue(p) - qBlue(colour)) <= tolerance;
    };
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (near(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    if (box.isNull())
        return std::nullopt;
    return box;
}

TEST(StageClock, definesItsTimerAndDisplay)
{
    FakeExerciseWindow w;
    EXPECT_FALSE(w.clockTimer->isActive()) << "no tick before the first activation";
    EXPECT_EQ(w.clockTimer->interval(), 10);
    EXPECT_EQ(w.clockTimer->timerType(), Qt::PreciseTimer);
    EXPECT_TRUE(w.clockDisplay->autoRedraw());
    EXPECT_EQ(w.clockDisplay->backColor(), QColor(215, 229, 248));
    EXPECT_EQ(w.clockDisplay->font().pointSizeF(), 36.0);
    EXPECT_TRUE(w.clockDisplay->font().bold());
    w.start();
    EXPECT_TRUE(w.clockTimer->isActive());
    EXPECT_EQ(w.stage.startTime, FakeExerciseWindow::kStart);
}

struct TickCase {
    const char *what;
    float startTime;
    float now;
    bool clockOn;
    const char16_t *text;
    bool running;
    int finishes;
};

// The tick's outcomes at the points that matter, hidden display included.
TEST(StageClock, tickShowsTheReadingAndFinishesAtTheLimitWithoutAsking)
{
    const TickCase cases[] = {
        {"just started", 36000.0f, 36000.4f, true, u"00:00", true, 0},
        {"half a second before the limit", 36000.0f, 36899.5f, true, u"15:00", true, 0},
        {"at the limit", 36000.0f, 36900.0f, true, u"15:00", false, 1},
        {"past the limit", 36000.0f, 37000.0f, true, u"15:00", false, 1},
        {"clock hidden, at the limit", 36000.0f, 36900.0f, false, u"15:00", false, 1},
        {"across midnight", 86390.0f, 5.0f, true, u"00:15", true, 0},
    };
    for (const TickCase &c : cases) {
        FakeExerciseWindow w(c.clockOn);
        w.dayClock.set(c.startTime);
        w.clock->startClock();
        w.dayClock.set(c.now);
        w.clock->tick();
        EXPECT_EQ(w.clock->lastClockText(), QString::fromUtf16(c.text)) << c.what;
        EXPECT_EQ(w.clockTimer->isActive(), c.running) << c.what;
        EXPECT_EQ(w.finishes, c.finishes) << c.what;
        EXPECT_EQ(test::visibleMessageBox(), nullptr) << c.what;
    }
}

TEST(StageClock, hiddenClockShowsTheFinalTimeInTheDisplayFont)
{
    FakeExerciseWindow hidden(false);
    FakeExerciseWindow shown(true);
    for (FakeExerciseWindow *w : {&hidden, &shown}) {
        w->start();
        w->standAt(900.0f);
        w->clock->tick();
    }
    EXPECT_TRUE(hidden.clockDisplay->isVisible());
    EXPECT_EQ(hidden.clockDisplay->keptImage(), shown.clockDisplay->keptImage());
}

// The tick comes every 10 ms; the display is repainted once per new text.
TEST(StageClock, redrawsOnlyWhenTheTextChanges)
{
    FakeExerciseWindow w;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.start();
    PaintCounter counter(w.clockDisplay);
    for (const float t : {0.0f, 0.1f, 0.2f, 0.49f, 0.51f, 0.9f, 1.4f, 1.49f})
        w.standAt(t), w.clock->tick();
    EXPECT_EQ(counter.paints, 2) << "00:00 once, 00:01 once";
    const QImage shown = w.clockDisplay->keptImage();
    w.standAt(1.2f);
    w.clock->tick();
    EXPECT_EQ(counter.paints, 2);
    EXPECT_EQ(w.clockDisplay->keptImage(), shown);
}

TEST(StageClock, drawsTheTextCentredWithAWhiteCopyTwoPixelsLowerRight)
{
    FakeExerciseWindow w;
    w.clock->drawClockText(QStringLiteral("12:34"));
    const QImage image = w.clockDisplay->keptImage();
    const auto blue = boundsOf(image, qRgb(11, 3, 103), 24);
    const auto white = boundsOf(image, qRgb(255, 255, 255), 24);
    ASSERT_TRUE(blue && white);
    // The top edge and the right edge show the offset; at the bottom the
    // white copy's smoothed edge over the background adds a row.
    EXPECT_EQ(white->right(), blue->right() + 2);
    EXPECT_EQ(white->top(), blue->top() + 2);
    EXPECT_NEAR(blue->center().x(), image.width() / 2.0, 3.0);
    EXPECT_GT(blue->height(), 20) << "36-point bold text";
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, qRgb(215, 229, 248) & 0xFFFFFF);
}

// Once a second only the end of the reading changes; the redraw clears,
// draws and repaints from the first changed character on, or copies a
// piece of the display drawn before. Every reading of a whole stage, on the
// display's size in the window and on others, must leave exactly the pixels
// a redraw of the whole display leaves: with the pieces the clock's first
// second draws ahead, and with only those the redraws keep.
TEST(StageClock, aRedrawOfTheChangedEndLeavesThePixelsOfAWholeRedraw)
{
    std::vector<std::pair<bool, QSize>> cases;
    for (const bool ahead : {true, false}) {
        for (const QSize size : {QSize(162, 81), QSize(170, 60), QSize(97, 40)})
            cases.emplace_back(ahead, size);
    }
    for (const auto &[ahead, size] : cases) {
        SCOPED_TRACE(testing::Message() << (ahead ? "pieces drawn ahead, " : "") << size.width() << " x " << size.height());
        FakeExerciseWindow w;
        FakeExerciseWindow reference;
        w.clockDisplay->resize(size);
        reference.clockDisplay->resize(size);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        if (ahead) {
            // The clock's ticks while the reading stays "00:00".
            w.start();
            for (int tick = 0; tick < 100; ++tick)
                w.clock->tick();
        }

        class RepaintLog final : public QObject
        {
        public:
            QList<QRect> areas;

        protected:
            bool eventFilter(QObject *, QEvent *e) override
            {
                if (e->type() == QEvent::Paint)
                    areas.append(static_cast<QPaintEvent *>(e)->rect());
                return false;
            }
        } repaints;
        w.clockDisplay->installEventFilter(&repaints);

        int narrowRepaints = 0;
        for (int second = 0; second <= 900; ++second) {
            const QString text = QStringLiteral("%1:%2").arg(second / 60, 2, 10, QLatin1Char('0')).arg(second % 60, 2, 10, QLatin1Char('0'));
            repaints.areas.clear();
            w.clock->drawClockText(text);
            // The reference draws something else first, so that its redraw is whole.
            reference.clock->drawClockText(QStringLiteral("-"));
            reference.clock->drawClockText(text);
            ASSERT_EQ(w.clockDisplay->keptImage(), reference.clockDisplay->keptImage()) << text.toStdString();
            ASSERT_FALSE(repaints.areas.isEmpty()) << text.toStdString();
            if (repaints.areas.last().width() < size.width() / 2)
                ++narrowRepaints;
        }
        // Nine in ten seconds change only the last digit.
        EXPECT_GT(narrowRepaints, 800);
    }
}

// A resize redraws "00:00" without touching lastClockText, so the display
// shows it until the reading's text next changes.
TEST(StageClock, resizeShowsZeroUntilTheTextChanges)
{
    FakeExerciseWindow w;
    w.start();
    w.standAt(65.2f);
    w.clock->tick();
    ASSERT_EQ(w.clock->lastClockText(), QStringLiteral("01:05"));

    w.clockDisplay->resize(150, 50);
    EXPECT_EQ(w.clock->lastClockText(), QStringLiteral("01:05"));
    const QImage afterResize = w.clockDisplay->keptImage();
    w.standAt(65.4f);
    w.clock->tick();
    EXPECT_EQ(w.clockDisplay->keptImage(), afterResize) << "same text, no redraw";

    FakeExerciseWindow reference;
    reference.clockDisplay->resize(150, 50);
    reference.clock->drawClockText(QStringLiteral("00:00"));
    EXPECT_EQ(afterResize, reference.clockDisplay->keptImage());

    w.standAt(66.0f);
    w.clock->tick();
    EXPECT_EQ(w.clock->lastClockText(), QStringLiteral("01:06"));
    EXPECT_NE(w.clockDisplay->keptImage(), afterResize);
}

TEST(StageClock, resizeWithTheClockOffDrawsNothing)
{
    FakeExerciseWindow w(false);
    ASSERT_TRUE(w.clockDisplay->isHidden());
    QSignalSpy resizes(w.clockDisplay, &Surface::resized);
    const QSize before = w.clockDisplay->size();
    w.clockDisplay->resize(150, 50);
    // Qt holds the resize of a hidden display back until it is shown; hand
    // it over now, as showing would, so that the resize handling runs.
    QResizeEvent resize(w.clockDisplay->size(), before);
    QApplication::sendEvent(w.clockDisplay, &resize);
    ASSERT_EQ(resizes.count(), 1) << "the resize handling ran once";
    ASSERT_EQ(w.clockDisplay->keptImage().size(), QSize(150, 50));

    QImage plain(w.clockDisplay->keptImage().size(), w.clockDisplay->keptImage().format());
    plain.fill(QColor(215, 229, 248));
    EXPECT_EQ(w.clockDisplay->keptImage(), plain) << "no 00:00 while the clock is off";
    EXPECT_TRUE(w.clock->lastClockText().isEmpty());
}

} // namespace
} // namespace vk
