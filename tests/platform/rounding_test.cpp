#include "platform/colorref.h"
#include "platform/dayclock.h"
#include "platform/randomsource.h"
#include "platform/rounding.h"
#include "platform/twips.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace vk {
namespace {

// Layout positions and the clock rely on halves going to the even
// neighbour; qRound or std::lround would break every worked example.
TEST(Rounding, halvesGoToTheEvenNeighbour)
{
    struct Case { double in; int out; };
    for (const Case c : {Case{0.5, 0}, {1.5, 2}, {2.5, 2}, {422.5, 422}, {551.5, 552}, {620.5, 620},
                         {-0.5, 0}, {-1.5, -2}, {294.5, 294}, {0.49, 0}, {0.51, 1}}) {
        EXPECT_EQ(roundHalfEven(c.in), c.out) << c.in;
        EXPECT_EQ(roundHalfEven(static_cast<float>(c.in)), c.out) << c.in << " as float";
    }
}

TEST(Rounding, twoDecimalsHalvesToEven)
{
    struct Case { double in; double out; };
    // 0.125 and 0.375 are exact in binary, so they test the tie rule itself.
    for (const Case c : {Case{0.125, 0.12}, {0.375, 0.38}, {2.625, 2.62}, {899.994, 899.99}, {899.996, 900.0},
                         {-0.125, -0.12}, {15.0, 15.0}}) {
        EXPECT_DOUBLE_EQ(roundTo2(c.in), c.out) << c.in;
        EXPECT_FLOAT_EQ(roundTo2(static_cast<float>(c.in)), static_cast<float>(c.out)) << c.in << " as float";
    }
}

TEST(ColorRef, rgbAndBgrNumbersConvertBothWays)
{
    struct Case { Rgb rgb; ColorRef ref; };
    for (const Case c : {Case{{0, 0, 128}, 0x800000u}, {{197, 214, 237}, 0xEDD6C5u}, {{255, 128, 128}, 0x8080FFu},
                         {{0, 192, 0}, 0x00C000u}, {{215, 229, 248}, 0xF8E5D7u}}) {
        EXPECT_EQ(toColorRef(c.rgb), c.ref);
        EXPECT_EQ(fromColorRef(c.ref), c.rgb);
    }
}

TEST(Twips, factorFollowsLogicalDpi)
{
    EXPECT_EQ(Twips::perPixel(96.0), 15);
    EXPECT_EQ(Twips::perPixel(120.0), 12);
    EXPECT_EQ(Twips::perPixel(144.0), 10);
    EXPECT_EQ(Twips::perPixel(0.0), 15); // a screen reporting nothing
    EXPECT_EQ(Twips::fromPixels(1280, 15), 19200);
    EXPECT_EQ(Twips::fromPixels(25, 15), 375);
    EXPECT_DOUBLE_EQ(Twips::toPixels(11520, 15), 768.0);
}

TEST(DayClock, systemClockStaysInsideTheDay)
{
    const SystemDayClock clock;
    const float t = clock.secondsSinceMidnight();
    EXPECT_GE(t, 0.0f);
    EXPECT_LT(t, 86400.0f);
}

TEST(RandomSource, drawsAreUniformInUnitIntervalAndSeedFollowsTheClock)
{
    Mt19937RandomSource random;
    test::FakeDayClock clock(43200.25f);
    random.reseedFromClock(clock);
    double sum = 0.0;
    const int n = 20000;
    for (int i = 0; i < n; ++i) {
        const double r = random.next();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        sum += r;
    }
    EXPECT_NEAR(sum / n, 0.5, 0.01);

    // Same moment, same draws; another moment (even within the second), other draws.
    random.reseedFromClock(clock);
    const double a = random.next();
    random.reseedFromClock(clock);
    EXPECT_EQ(random.next(), a);
    clock.set(43200.5f);
    random.reseedFromClock(clock);
    EXPECT_NE(random.next(), a);
}

} // namespace
} // namespace vk
