#pragma once

#include <QDateTime>

namespace vk {

// The date and time in UTC, for what is kept beyond the run (the training
// log's start times). Injected so that tests can say when a stage began.
class WallClock
{
public:
    virtual ~WallClock() = default;
    virtual QDateTime nowUtc() const = 0;
};

class SystemWallClock final : public WallClock
{
public:
    QDateTime nowUtc() const override;
};

} // namespace vk
