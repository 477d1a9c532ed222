// The stage clock's tick: the common one that finds the text unchanged,
// and the one a second that redraws the display; and what drawing the
// clock's pieces for the minute ahead costs at the start of a stage.
#include "qtbenchmain.h"
#include "flow/clockpieces.h"
#include "flow/clockrules.h"
#include "flow/stageclock.h"
#include "msgbox/timedmessagebox.h"
#include "platform/dayclock.h"
#include "platform/fonts.h"
#include "platform/surface.h"
#include "stage/stage.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <benchmark/benchmark.h>

namespace {

class StandingClock final : public vk::DayClock
{
public:
    float secondsSinceMidnight() const override { return seconds; }
    float seconds = 36000.0f;
};

struct ClockBench {
    ClockBench()
    {
        window.resize(400, 200);
        clockDisplay = new vk::Surface(&window);
        clockTimer = new QTimer(&window);
        clock = new vk::StageClock(stage, dayClock, *clockTimer, *clockDisplay, msgBox, &window);
        clockDisplay->setGeometry(26, 48, 170, 60);
        window.show();
        QApplication::processEvents();
        clock->startClock();
        clockTimer->stop(); // ticks are driven by the benchmark
    }

    QWidget window;
    vk::StageRecord stage;
    StandingClock dayClock;
    vk::TimedMessageBox msgBox;
    vk::Surface *clockDisplay = nullptr;
    QTimer *clockTimer = nullptr;
    vk::StageClock *clock = nullptr;
};

void BM_formatClockText(benchmark::State &state)
{
    vk::StageRecord stage;
    stage.elapsedTime = 612.34f;
    for (auto _ : state) {
        vk::ClockText text = vk::formatClockText(stage);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_formatClockText);

void BM_tickWithoutRedraw(benchmark::State &state)
{
    ClockBench b;
    b.clockTimer->start(1000000); // "running", never firing during the run
    b.dayClock.seconds = 36000.0f + 125.25f;
    b.clock->tick();
    for (auto _ : state)
        b.clock->tick();
}
BENCHMARK(BM_tickWithoutRedraw);

void BM_tickWithRedraw(benchmark::State &state)
{
    ClockBench b;
    b.clockTimer->start(1000000);
    float second = 0.0f;
    for (auto _ : state) {
        second = second >= 800.0f ? 0.0f : second + 1.0f;
        b.dayClock.seconds = 36000.0f + second;
        b.clock->tick();
    }
}
BENCHMARK(BM_tickWithRedraw);

// The layout check and all the pieces, as the first second of a stage
// draws them one a tick.
void BM_clockPiecesForAMinute(benchmark::State &state)
{
    const vk::ClockPieces::Look look{QSize(170, 60), vk::makeFont(QStringLiteral("Tahoma"), 36, true),
                                     QColor(215, 229, 248), QColor(255, 255, 255), QColor(11, 3, 103)};
    vk::ClockPieces pieces;
    for (auto _ : state) {
        pieces.reset(look);
        while (pieces.prepareNext()) {
        }
    }
}
BENCHMARK(BM_clockPiecesForAMinute)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return vkbench::runInApplication(argc, argv);
}
