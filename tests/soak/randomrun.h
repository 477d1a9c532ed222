#pragma once

// The seed and length of a random run: the test's own, unless
// VK_ABUSE_SEED or VK_ABUSE_STEPS say otherwise, so that a failed run can
// be repeated exactly and a longer one made.
#include <cstdint>
#include <cstdlib>
#include <iostream>

namespace vk::test {

struct RandomRun {
    std::uint64_t seed = 0;
    int steps = 0;
};

inline std::uint64_t environmentNumber(const char *name, std::uint64_t fallback)
{
    const char *v = std::getenv(name);
    return v && *v ? std::strtoull(v, nullptr, 10) : fallback;
}

// Reads the run from the environment and says which one it is, for the log.
inline RandomRun randomRunFromEnvironment(std::uint64_t defaultSeed, int defaultSteps)
{
    const RandomRun run{environmentNumber("VK_ABUSE_SEED", defaultSeed),
                        static_cast<int>(environmentNumber("VK_ABUSE_STEPS", static_cast<std::uint64_t>(defaultSteps)))};
    std::cout << "seed " << run.seed << ", " << run.steps << " steps (repeat with VK_ABUSE_SEED=" << run.seed
              << " VK_ABUSE_STEPS=" << run.steps << ")" << std::endl;
    return run;
}

} // namespace vk::test
