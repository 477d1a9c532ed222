#include "platform/displayscale.h"

#include <gtest/gtest.h>

#include <optional>

namespace vk {
namespace {

// Only a screen physically under 1024 x 768 is too small. Where the
// desktop's scaling alone leaves too few pixels, the largest quarter step
// below it at which the design fits is taken, never less than 1.
TEST(FittingScale, lowersTheScaleOnlyAsFarAsTheDesignNeeds)
{
    const QSize design(1024, 768);
    struct Case {
        const char *what;
        QSize physical;
        double ratio;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"100 %: nothing to do", {1280, 800}, 1.0, std::nullopt},
        {"200 % on 4K fits as it is", {3840, 2160}, 2.0, std::nullopt},
        {"150 % on 1920 x 1080 is 1280 x 720", {1920, 1080}, 1.5, 1.25},
        {"200 % on 2560 x 1440 is 1280 x 720", {2560, 1440}, 2.0, 1.75},
        {"200 % on 1920 x 1200", {1920, 1200}, 2.0, 1.5},
        {"125 % on 1366 x 768: only 1 fits", {1366, 768}, 1.25, 1.0},
        {"a ratio between the steps", {1920, 1080}, 1.6, 1.25},
        {"exactly 1024 x 768 at the ratio fits", {2048, 1536}, 2.0, std::nullopt},
        {"physically too small: left to refuse itself", {1024, 700}, 1.5, std::nullopt},
        {"physically too narrow", {1000, 1080}, 2.0, std::nullopt},
        {"below 100 %: more room, nothing to do", {1280, 800}, 0.75, std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(fittingScale(c.physical, c.ratio, design), c.expected) << c.what;
}

} // namespace
} // namespace vk
