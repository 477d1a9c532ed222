// Stages started and left five hundred times: nothing may pile up. Under
// LeakSanitizer every allocation must be returned by the end; in a normal
// build the resident memory must stay flat once the first stages have
// warmed the caches (fonts, glyphs, pictures).
#include "robustnessfixture.h"

#include <QFile>

#include <gtest/gtest.h>

namespace vk {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

TEST(Leaks, fiveHundredStartsAndBacksKeepMemoryFlat)
{
    test::RunningProgram program(42);
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
            atFifty = residentKb();
    }
    const long atEnd = residentKb();
    std::cout << "resident memory: " << atFifty << " kB after 50 stages, " << atEnd << " kB after 500" << std::endl;
    if (!kSanitized) {
        EXPECT_LE(atEnd - atFifty, 2048) << "memory grows with every stage";
    }
}

} // namespace
} // namespace vk
