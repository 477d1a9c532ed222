#pragma once

#include <cstdint>
#include <random>

namespace vk {

class DayClock;

// A uniform source in [0, 1) that can be reseeded from the time of day.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    virtual double next() = 0;
    virtual void reseedFromClock(const DayClock &clock) = 0;
};

class Mt19937RandomSource final : public RandomSource
{
public:
    explicit Mt19937RandomSource(std::uint64_t seed = 0);

    double next() override;
    void reseedFromClock(const DayClock &clock) override;

private:
    std::mt19937_64 m_engine;
    std::uniform_real_distribution<double> m_unit{0.0, 1.0};
};

} // namespace vk
