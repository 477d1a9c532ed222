#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

namespace vk {

class DayClock;
struct StageRecord;

// A clock text held in place: the tick compares and formats it every 10 ms,
// so it must not touch the heap. "mm:ss", or the limit text.
struct ClockText {
    static constexpr qsizetype kCapacity = 8;
    char16_t chars[kCapacity] = {};
    qsizetype length = 0;
    bool limitReached = false;

    QStringView view() const { return QStringView(chars, length); }
    QString toString() const { return view().toString(); }
};

// Sets stage.elapsedTime from the clock of the day: seconds since
// stage.startTime, two decimals. A negative difference means midnight has
// passed since the start; a fresh reading is then counted from midnight.
void readStageClock(StageRecord &stage, const DayClock &clock);

// The text for stage.elapsedTime: minutes and seconds, two characters each,
// or the limit text ("15:00" for 900 s) once timeLimit is reached.
ClockText formatClockText(const StageRecord &stage);

// The readings from `first` to `last`, both included, are the ones
// formatClockText() writes the same text for as it writes for
// stage.elapsedTime: those that round to the same whole second, short of the
// limit. None once the limit is reached.
struct SameClockText {
    float first = 1.0f;
    float last = 0.0f;
    bool contains(float elapsed) const { return first <= elapsed && elapsed <= last; }
};
SameClockText sameClockText(const StageRecord &stage);

// Whole seconds left by the last reading, halves to even (may be 0 or less).
std::int32_t remainingSeconds(const StageRecord &stage);

// Ticks of the confirmation's one-second answer timer before it answers
// "No" by itself: 5, or fewer when less time is left; 0 or less never.
std::int32_t autoAnswerTicks(const StageRecord &stage);

} // namespace vk
