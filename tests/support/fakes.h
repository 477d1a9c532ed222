#pragma once

#include "platform/dayclock.h"
#include "platform/randomsource.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace vk::test {

// A clock of the day that stands where the test puts it.
class FakeDayClock final : public DayClock
{
public:
    explicit FakeDayClock(float seconds = 36000.0f)
        : m_seconds(seconds)
    {
    }
    float secondsSinceMidnight() const override { return m_seconds; }
    void set(float seconds) { m_seconds = seconds; }
    void advance(float seconds) { m_seconds += seconds; }

private:
    float m_seconds;
};

// Returns the given draws in order, cycling; counts reseeds.
class ScriptedRandom final : public RandomSource
{
public:
    explicit ScriptedRandom(std::vector<double> draws)
        : m_draws(std::move(draws))
    {
    }
    double next() override
    {
        const double r = m_draws[m_next % m_draws.size()];
        ++m_next;
        return r;
    }
    void reseedFromClock(const DayClock &clock) override
    {
        ++reseeds;
        lastSeedTime = clock.secondsSinceMidnight();
    }

    int reseeds = 0;
    float lastSeedTime = -1.0f;
    std::size_t drawsTaken() const { return m_next; }

private:
    std::vector<double> m_draws;
    std::size_t m_next = 0;
};

} // namespace vk::test
