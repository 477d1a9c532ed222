// Stages started and left five hundred times: nothing may pile up. Under
// LeakSanitizer every allocation must be returned by the end; in a normal
// build the resident memory must stay flat once the first stages have
// warmed the caches (fonts, glyphs, pictures).
#include "support/memory.h"
#include "support/programdriver.h"

#include <QFile>

#include <gtest/gtest.h>

namespace vk {
namespace {


TEST(Leaks, fiveHundredStartsAndBacksKeepMemoryFlat)
{
    test::ProgramDriver program(42);
    long atFifty = 0;
    for (int cycle = 1; cycle <= 500; ++cycle) {
        program.clickStart();
        FrmVendrakul *w = program.stage();
        ASSERT_NE(w, nullptr) << "cycle " << cycle;
        ASSERT_FALSE(w->stage().firstActivation);
        for (char digit : {'7', '3', '1'})
            QTest::keyClick(w->gSoru->editor() ? static_cast<QWidget *>(w->gSoru->editor()) : w->gSoru, digit);
        if (cycle % 3 == 0) {
            // Every third stage runs to its limit and is evaluated.
            program.clock->advance(901.0f);
            w->stageClock().tick();
            ASSERT_FALSE(w->stage().stageRunning);
        }
        program.clock->advance(1.0f);
        program.clickBack();
        ASSERT_EQ(program.stage(), nullptr) << "BACK did not unload the stage, cycle " << cycle;
        if (cycle == 50)
            atFifty = test::residentKb();
    }
    const long atEnd = test::residentKb();
    std::cout << "resident memory: " << atFifty << " kB after 50 stages, " << atEnd << " kB after 500" << std::endl;
    if (!test::kSanitized) {
        EXPECT_LE(atEnd - atFifty, 2048) << "memory grows with every stage";
    }
}

} // namespace
} // namespace vk
