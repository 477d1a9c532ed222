#include "flow/clockrules.h"

#include "platform/dayclock.h"
#include "platform/rounding.h"
#include "stage/stage.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vk {
namespace {

constexpr int kMaxAnswerTicks = 5;

// "0" in front of the decimal writing, then the last two characters: 7 -> 07,
// 15 -> 15, 123 -> 23, -5 -> -5. Digits are written backwards into a
// small buffer; no allocation.
void appendTwoCharacters(ClockText &out, std::int32_t value)
{
    char16_t writing[16];
    int n = 0;
    const bool negative = value < 0;
    std::int64_t magnitude = negative ? -static_cast<std::int64_t>(value) : value;
    do {
        writing[n++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative)
        writing[n++] = u'-';
    writing[n++] = u'0';
    // writing[] is reversed: its first two entries are the last two characters.
    out.chars[out.length++] = writing[1];
    out.chars[out.length++] = writing[0];
}

void appendText(ClockText &out, QStringView text)
{
    for (const QChar c : text) {
        if (out.length == ClockText::kCapacity)
            return;
        out.chars[out.length++] = c.unicode();
    }
}

} // namespace

void readStageClock(StageRecord &stage, const DayClock &clock)
{
    const float t = clock.secondsSinceMidnight();
    stage.elapsedTime = roundTo2(t - stage.startTime);
    if (stage.elapsedTime < 0.0f) {
        // Midnight has passed since the start: the time up to midnight plus a
        // fresh reading since midnight, in double so no hundredth is lost.
        const double t2 = clock.secondsSinceMidnight();
        stage.elapsedTime = static_cast<float>(roundTo2(86400.0 - static_cast<double>(stage.startTime) + t2));
    }
}

ClockText formatClockText(const StageRecord &stage)
{
    ClockText out;
    if (stage.elapsedTime >= static_cast<float>(stage.timeLimit)) {
        out.limitReached = true;
        // The limit in minutes as a plain decimal number (15 for 900);
        // only reached once per stage, so the allocation does not matter.
        const QString minutes = QString::number(static_cast<double>(stage.timeLimit) / 60.0, 'g', 15);
        const QString prefixed = QLatin1Char('0') + minutes;
        appendText(out, QStringView(prefixed).right(2));
        appendText(out, u":00");
        return out;
    }
    const std::int32_t whole = roundHalfEven(stage.elapsedTime);
    // Minutes round down, also for a (never expected) negative reading.
    std::int32_t minutes = whole / 60;
    if (whole % 60 != 0 && whole < 0)
        --minutes;
    appendTwoCharacters(out, minutes);
    out.chars[out.length++] = u':';
    appendTwoCharacters(out, whole % 60);
    return out;
}

SameClockText sameClockText(const StageRecord &stage)
{
    const auto limit = static_cast<float>(stage.timeLimit);
    if (stage.elapsedTime >= limit)
        return {};
    // The text is made from the whole second alone. The readings within half
    // a second of it round to it; the halves themselves only when it is even.
    const std::int32_t whole = roundHalfEven(stage.elapsedTime);
    const auto centre = static_cast<float>(whole);
    const bool even = whole % 2 == 0;
    const float first = even ? centre - 0.5f : std::nextafter(centre - 0.5f, centre);
    const float last = even ? centre + 0.5f : std::nextafter(centre + 0.5f, centre);
    return {first, std::min(last, std::nextafter(limit, -std::numeric_limits<float>::infinity()))};
}

std::int32_t remainingSeconds(const StageRecord &stage)
{
    return roundHalfEven(static_cast<float>(stage.timeLimit) - stage.elapsedTime);
}

std::int32_t autoAnswerTicks(const StageRecord &stage)
{
    const std::int32_t r = remainingSeconds(stage);
    return r >= kMaxAnswerTicks ? kMaxAnswerTicks : r;
}

} // namespace vk
