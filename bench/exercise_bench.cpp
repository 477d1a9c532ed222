// The exercise window: composing its skin, and a whole START up to the
// first activation (problem drawn, window painted, sheet loaded, clock
// started), with the real template.
#include "qtbenchmain.h"
#include "platform/dayclock.h"
#include "platform/form.h"
#include "platform/randomsource.h"
#include "platform/screenmetrics.h"
#include "platform/surface.h"
#include "skin/appcontext.h"
#include "ui/exercise/exercisewindow.h"
#include "skin/skintemplate.h"
#include "ui/exercise/exercisewindowpainter.h"

#include <QApplication>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace vk;

// Argument 1: the window is on screen, so the two refreshes repaint it
// (a restore from minimised). Argument 0: the first layout, which START
// runs while the window is still being shown and nothing is repainted yet.
void BM_PaintExerciseWindow(benchmark::State &state)
{
    const bool onScreen = state.range(0) != 0;
    const SkinTemplate skin;
    Surface window;
    window.setBackColor(QColor(197, 214, 237));
    window.setGeometry(0, 25, 1280, 775);
    auto *clockDisplay = new Surface(&window);
    auto *sheetPanel = new Surface(&window);
    auto *resultPanel = new Surface(&window);
    auto *backButtonBox = new Surface(&window);
    auto *finishButtonBox = new Surface(&window);
    resultPanel->hide();
    if (onScreen) {
        window.show();
        QCoreApplication::processEvents();
    }
    TextRect textRect;
    const ExerciseWindowParts parts{window, *clockDisplay, *sheetPanel, *resultPanel, *backButtonBox, *finishButtonBox, 894, 180};
    for (auto _ : state) {
        paintExerciseWindow(parts, skin, textRect);
        benchmark::DoNotOptimize(window.keptImage().constBits());
    }
}
BENCHMARK(BM_PaintExerciseWindow)->ArgName("onScreen")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

class BenchDayClock final : public DayClock
{
public:
    float secondsSinceMidnight() const override { return 36000.0f; }
};

// START at a factor length: the problem, the window with one marker per
// factor column, the sheet and the clock.
void BM_StartToFirstActivation(benchmark::State &state)
{
    const SkinTemplate skin;
    const BenchDayClock clock;
    Mt19937RandomSource random(7);
    const FixedScreenMetrics screen(QRect(0, 0, 1280, 800));
    AppContext ctx(skin, clock, random, screen);
    ctx.windows.define(kExerciseWindowName, [&ctx] { return new ExerciseWindow(ctx); });
    Form owner(QStringLiteral("owner"), screen);
    owner.setGeometry(0, 0, 1280, 800);
    owner.show();
    QCoreApplication::processEvents();

    for (auto _ : state) {
        ctx.run.timerEnabled = true;
        ctx.run.factorDigits = static_cast<int>(state.range(0));
        auto *w = ctx.windows.get<ExerciseWindow>(kExerciseWindowName);
        w->showInside(&owner, QRect(0, 25, 1280, 775));
        if (w->stage().firstActivation)
            emit w->activated();
        benchmark::DoNotOptimize(w->stage().startTime);
        if (!w->clockTimer().isActive() || w->markerCount() != state.range(0))
            state.SkipWithError("no stage of that length started");

        state.PauseTiming();
        ctx.windows.unload(w);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToFirstActivation)->ArgName("digits")->Arg(2)->Arg(8)->Arg(20)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return vkbench::runInApplication(argc, argv);
}
