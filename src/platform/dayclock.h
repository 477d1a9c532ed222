#pragma once

namespace vk {

// The clock of the day: seconds after midnight with fractions, from 0 up to
// (not including) 86400, as a 32-bit float. Injected so that tests can stand
// at 900 s into a stage or just before midnight.
class DayClock
{
public:
    virtual ~DayClock() = default;
    virtual float secondsSinceMidnight() const = 0;
};

class SystemDayClock final : public DayClock
{
public:
    float secondsSinceMidnight() const override;
};

} // namespace vk
