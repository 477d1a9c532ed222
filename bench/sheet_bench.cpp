// One digit typed on the answer sheet: from the key event reaching the
// editor to the digit in its cell, the cursor one column further left and
// "cevap" rewritten. Painting is left out (it happens later, from the event
// loop), as is putting the cursor back on the units column every 39 digits.
#include "qtbenchmain.h"
#include "grid/flexgrid.h"
#include "platform/dayclock.h"
#include "platform/randomsource.h"
#include "sheet/answersheet.h"
#include "stage/stage.h"

#include <QApplication>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

class QuietHost final : public vk::AnswerSheetHost
{
public:
    void confirmFinish() override {}
    void markerPictureChanged(int, bool) override {}
};

void BM_typeOneDigit(benchmark::State &state)
{
    vk::StageRecord stage;
    QDomDocument problemDoc;
    vk::Mt19937RandomSource random(42);
    vk::SystemDayClock clock;
    vk::resetStageRecord(stage, true);
    vk::createProblem(problemDoc, stage, random, clock);

    vk::FlexGrid grid(nullptr, 15);
    QuietHost host;
    vk::AnswerSheet sheet(stage, grid, host);
    sheet.setUpSheet();
    grid.setGeometry(0, 0, stage.sheetWidth, stage.sheetHeight);
    grid.show();
    stage.problemNo = 1;
    sheet.loadSheet();
    stage.firstActivation = false;
    QApplication::processEvents();

    std::vector<double> samples;
    samples.reserve(1 << 16);
    int digit = 0;
    for (auto _ : state) {
        if (grid.col() == 1) {
            grid.setCol(40);
            QApplication::processEvents();
        }
        const int before = grid.col();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + digit, Qt::NoModifier, QString(QChar(u'0' + digit)));
        const auto start = std::chrono::steady_clock::now();
        QApplication::sendEvent(grid.editor(), &press);
        const auto end = std::chrono::steady_clock::now();
        if (grid.col() != before - 1 || grid.cellText(5, before) != QString(QChar(u'0' + digit))) {
            state.SkipWithError("the digit did not land");
            break;
        }
        const double seconds = std::chrono::duration<double>(end - start).count();
        state.SetIterationTime(seconds);
        samples.push_back(seconds);
        digit = (digit + 1) % 10;
    }
    if (!samples.empty()) {
        auto mid = samples.begin() + samples.size() / 2;
        std::nth_element(samples.begin(), mid, samples.end());
        state.counters["median_us"] = *mid * 1e6;
    }
    benchmark::DoNotOptimize(problemElement(stage).attribute(vk::doc::kAnswer));
}
BENCHMARK(BM_typeOneDigit)->UseManualTime()->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    return vkbench::runInApplication(argc, argv);
}
