// The progress view opening on a long log: 10,000 logged stages, from the
// window's construction to its first painted chart, with the trends and the
// strip of the columns missed.
#include "qtbenchmain.h"
#include "ui/progress/progresswindow.h"

#include <QApplication>
#include <QChartView>
#include <QEvent>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

namespace {

// A competitor's log over many stages, at mixed factor lengths (most at
// 20 digits, many at 8, a few at the others): slowly faster and more
// accurate, about one stage in three correct in the end, a few left before
// the finish, the wrong ones missing digits mostly in the middle columns;
// or, for the most marks the chart can have, every evaluated stage correct
// and all at 20 digits.
QList<vk::StageReport> loggedStages(int count, bool allCorrect = false)
{
    std::mt19937 random(10000);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    QList<vk::StageReport> reports;
    reports.reserve(count);
    for (int i = 0; i < count; ++i) {
        const double progress = static_cast<double>(i) / count;
        vk::StageReport report;
        const double length = unit(random);
        report.factorDigits = allCorrect || length < 0.6 ? 20 : length < 0.9 ? 8 : 2 + static_cast<int>(18 * unit(random));
        const double scale = report.factorDigits / 20.0;
        report.startedUtc = QDateTime(QDate(2026, 1, 1), QTime(9, 0), Qt::UTC).addSecs(3600LL * i);
        report.secondsUsed =
            std::round(std::min(900.0, scale * (880.0 - 400.0 * progress + 120.0 * (unit(random) - 0.5))) * 100) / 100;
        const int columns = 2 * report.factorDigits - (unit(random) < 0.3 ? 1 : 0);
        report.product = QString(columns, u'7');
        const double roll = unit(random);
        if (roll < 0.05) {
            report.verdict = vk::StageVerdict::Left;
            reports.append(report);
            continue;
        }
        report.verdict = allCorrect || roll < 0.05 + 0.3 * progress ? vk::StageVerdict::Correct : vk::StageVerdict::Wrong;
        report.matchedColumns = QString(columns, u'1');
        if (report.verdict == vk::StageVerdict::Wrong) {
            for (int column = 1; column <= columns; ++column) {
                const double middle = 1.0 - std::abs(column - report.factorDigits) / static_cast<double>(report.factorDigits);
                if (unit(random) < (0.5 - 0.3 * progress) * middle)
                    report.matchedColumns[columns - column] = u'0';
            }
            report.matchedColumns[columns / 2] = u'0';
        }
        report.digitsMatched = static_cast<int>(report.matchedColumns.count(u'1'));
        reports.append(report);
    }
    return reports;
}

// Notes the chart's first paint. It is seen as it is about to happen; the
// round of events that brought it returns once it has been painted and
// handed to the screen.
class PaintWatch : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

// Construction, show, and the events up to the chart view's first paint.
// The window's destruction is left out.
void openProgressWindow(benchmark::State &state, const QList<vk::StageReport> &reports)
{
    for (auto _ : state) {
        auto window = std::make_unique<vk::ProgressWindow>(reports);
        auto *view = window->findChild<QChartView *>();
        PaintWatch watch;
        view->viewport()->installEventFilter(&watch);
        window->show();
        while (!watch.painted)
            QCoreApplication::processEvents();
        state.PauseTiming();
        view->viewport()->removeEventFilter(&watch);
        window.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["stages"] = static_cast<double>(reports.size());
}

void BM_progressWindow_open(benchmark::State &state)
{
    openProgressWindow(state, loggedStages(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_progressWindow_open)->Arg(60)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_progressWindow_open_allCorrect(benchmark::State &state)
{
    openProgressWindow(state, loggedStages(static_cast<int>(state.range(0)), true));
}
BENCHMARK(BM_progressWindow_open_allCorrect)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return vkbench::runInApplication(argc, argv, "offscreen:configfile=" VK_OFFSCREEN_SCREEN);
}
