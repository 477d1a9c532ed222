#include "platform/randomsource.h"

#include "platform/dayclock.h"

#include <bit>

namespace vk {

Mt19937RandomSource::Mt19937RandomSource(std::uint64_t seed)
    : m_engine(seed)
{
}

double Mt19937RandomSource::next()
{
    return m_unit(m_engine);
}

void Mt19937RandomSource::reseedFromClock(const DayClock &clock)
{
    // The float's bits, not its integer part: two stages started within the
    // same second still get different seeds.
    const float seconds = clock.secondsSinceMidnight();
    std::seed_seq seq{std::bit_cast<std::uint32_t>(seconds), 0x56454e44u};
    m_engine.seed(seq);
    m_unit.reset();
}

} // namespace vk
