#include "flow/clockrules.h"

#include "stage/stage.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <vector>

namespace vk {
namespace {

StageRecord stageAt(float elapsed, std::int16_t limit = 900)
{
    StageRecord stage;
    stage.timeLimit = limit;
    stage.elapsedTime = elapsed;
    return stage;
}

struct FormatCase {
    float elapsed;
    std::int16_t limit;
    const char16_t *text;
    bool limitReached;
};

TEST(FormatClockText, minutesAndSecondsRoundHalvesToEvenAndTheLimitShowsItsOwnText)
{
    const std::vector<FormatCase> cases = {
        {0.0f, 900, u"00:00", false},
        {0.4f, 900, u"00:00", false},
        {0.5f, 900, u"00:00", false},   // half to even: 0
        {1.5f, 900, u"00:02", false},   // half to even: 2
        {59.5f, 900, u"01:00", false},
        {60.5f, 900, u"01:00", false},
        {89.6f, 900, u"01:30", false},
        {609.49f, 900, u"10:09", false},
        {899.49f, 900, u"14:59", false},
        {899.5f, 900, u"15:00", false},  // rounds up to the limit's text while still running
        {899.99f, 900, u"15:00", false},
        {900.0f, 900, u"15:00", true},
        {1234.56f, 900, u"15:00", true},
        {600.0f, 600, u"10:00", true},
        {300.0f, 300, u"05:00", true},   // the limit text keeps two characters
    };
    for (const FormatCase &c : cases) {
        const ClockText text = formatClockText(stageAt(c.elapsed, c.limit));
        EXPECT_EQ(text.toString(), QString::fromUtf16(c.text)) << "elapsed " << c.elapsed;
        EXPECT_EQ(text.limitReached, c.limitReached) << "elapsed " << c.elapsed;
    }
}

// The tick skips formatting for readings within the span of the last one: a
// span reaching one hundredth too far leaves a stale second on the clock, one
// falling short formats again at every tick. For every reading a stage can
// show, to the hundredth, and two limits: the span holds the reading itself
// while under the limit; the farthest readings inside it on either side get
// the same text (the text only moves forward with the reading, so the ones
// between do too); the first ones outside get another text or the limit.
TEST(SameClockText, holdsExactlyTheReadingsWithTheSameText)
{
    const auto reading = [](int hundredths) { return static_cast<float>(hundredths / 100.0); };
    for (const std::int16_t limit : {std::int16_t{900}, std::int16_t{61}}) {
        for (int k = -150; k <= limit * 100 + 150; ++k) {
            const StageRecord stage = stageAt(reading(k), limit);
            const SameClockText span = sameClockText(stage);
            const ClockText text = formatClockText(stage);
            ASSERT_EQ(span.contains(stage.elapsedTime), !text.limitReached) << "reading " << k << " hundredths";
            if (text.limitReached)
                continue;
            int first = k;
            while (span.contains(reading(first - 1)))
                --first;
            int last = k;
            while (span.contains(reading(last + 1)))
                ++last;
            for (const int edge : {first, last}) {
                const ClockText there = formatClockText(stageAt(reading(edge), limit));
                ASSERT_EQ(there.toString().toStdString(), text.toString().toStdString())
                    << "reading " << k << ", edge " << edge << " hundredths";
                ASSERT_FALSE(there.limitReached) << "reading " << k << ", edge " << edge << " hundredths";
            }
            for (const int outside : {first - 1, last + 1}) {
                const ClockText there = formatClockText(stageAt(reading(outside), limit));
                ASSERT_TRUE(there.toString() != text.toString() || there.limitReached)
                    << "reading " << k << ", " << outside << " hundredths";
            }
        }
    }
}

// A clock that gives the listed readings in turn, the last one from then on.
class SequenceClock final : public DayClock
{
public:
    explicit SequenceClock(std::vector<float> readings)
        : m_readings(std::move(readings))
    {
    }
    float secondsSinceMidnight() const override
    {
        const float t = m_readings[std::min(m_next, m_readings.size() - 1)];
        ++m_next;
        return t;
    }
    std::size_t readings() const { return m_next; }

private:
    std::vector<float> m_readings;
    mutable std::size_t m_next = 0;
};

struct ReadCase {
    float start;
    std::vector<float> readings;
    float elapsed;
    std::size_t readingsTaken;
};

TEST(ReadStageClock, elapsedKeepsTwoDecimalsAndCountsAcrossMidnight)
{
    const std::vector<ReadCase> cases = {
        {36000.0f, {36012.25f}, 12.25f, 1},
        {36000.0f, {36000.125f}, 0.12f, 1},    // 12.5 hundredths: half to even
        {36000.0f, {36000.375f}, 0.38f, 1},
        {36000.0f, {36900.0f}, 900.0f, 1},
        // 10 s before midnight, read 5 s after it.
        {86390.0f, {5.0f}, 15.0f, 2},
        // Midnight: the time since midnight comes from a second reading.
        {86390.0f, {2.0f, 2.5f}, 12.5f, 2},
    };
    for (const ReadCase &c : cases) {
        StageRecord stage;
        stage.startTime = c.start;
        SequenceClock clock(c.readings);
        readStageClock(stage, clock);
        EXPECT_FLOAT_EQ(stage.elapsedTime, c.elapsed) << "start " << c.start << " first reading " << c.readings[0];
        EXPECT_EQ(clock.readings(), c.readingsTaken) << "start " << c.start;
    }
}

TEST(ReadStageClock, stageAcrossMidnightShowsItsTrueTime)
{
    StageRecord stage;
    stage.startTime = 86390.0f;
    const test::FakeDayClock clock(5.0f);
    readStageClock(stage, clock);
    const ClockText text = formatClockText(stage);
    EXPECT_EQ(text.toString(), QStringLiteral("00:15"));
    EXPECT_FALSE(text.limitReached);
}

struct TicksCase {
    float elapsed;
    std::int32_t remaining;
    std::int32_t ticks;
};

TEST(AutoAnswerTicks, fiveOrTheWholeSecondsLeft)
{
    const std::vector<TicksCase> cases = {
        {0.0f, 900, 5},
        {895.0f, 5, 5},
        {895.5f, 4, 4},   // 4.5 left: half to even
        {896.5f, 4, 4},   // 3.5 left: half to even
        {897.0f, 3, 3},
        {899.4f, 1, 1},   // 0.6 left
        {899.5f, 0, 0},   // 0.5 left: never answers itself
        {899.6f, 0, 0},
        {900.0f, 0, 0},
        {905.0f, -5, -5},
    };
    for (const TicksCase &c : cases) {
        const StageRecord stage = stageAt(c.elapsed);
        EXPECT_EQ(remainingSeconds(stage), c.remaining) << "elapsed " << c.elapsed;
        EXPECT_EQ(autoAnswerTicks(stage), c.ticks) << "elapsed " << c.elapsed;
    }
}

} // namespace
} // namespace vk
