#include "ui/progress/chartvalues.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>

namespace vk {
namespace {

TEST(ChartValues, runningMeansOverTheLastStages)
{
    struct Case {
        std::string name;
        QList<double> values;
        int window;
        QList<double> means;
    };
    QList<double> twelve(12);
    std::iota(twelve.begin(), twelve.end(), 1.0);
    const Case cases[] = {
        {"nothing", {}, 10, {}},
        {"one value", {412.5}, 10, {412.5}},
        // Fewer than the window at the start: the mean of those there are.
        {"fewer at the start", {3, 6, 9, 12, 15}, 3, {3, 4.5, 6, 9, 12}},
        {"the window slides", twelve, 10, {1, 1.5, 2, 2.5, 3, 3.5, 4, 4.5, 5, 5.5, 6.5, 7.5}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QList<double> means = runningMeans(c.values, c.window);
        ASSERT_EQ(means.size(), c.means.size());
        for (qsizetype i = 0; i < means.size(); ++i)
            EXPECT_DOUBLE_EQ(means[i], c.means[i]) << "at " << i;
    }
}

// The seconds' axis fits the longest time shown, whatever it is, with a
// round top and round ticks, instead of always reaching 900 s.
TEST(ChartValues, secondsAxisFitsTheLongestTime)
{
    struct Case {
        double longest;
        AxisScale scale;
    };
    const Case cases[] = {
        {880.0, {900, 100}}, {900.0, {900, 100}},  {900.01, {1000, 100}}, {480.0, {500, 50}},
        {150.0, {160, 20}},  {61.5, {70, 10}},     {12.3, {14, 2}},       {4.2, {5, 1}},
        {0.4, {1, 1}},       {0.0, {1, 1}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(secondsAxisScale(c.longest), c.scale) << c.longest;
}

TEST(ChartValues, roundStepsGiveWholeTicks)
{
    struct Case {
        double span;
        int mostIntervals;
        double step;
    };
    // The digits' axis of 2, 8, 11 and 20-digit factors, and stage axes.
    const Case cases[] = {{4, 8, 1}, {16, 8, 2}, {22, 8, 5}, {40, 8, 5}, {3, 12, 1}, {300, 12, 50}, {10000, 12, 1000}};
    for (const Case &c : cases)
        EXPECT_EQ(roundStep(c.span, c.mostIntervals), c.step) << c.span << " in " << c.mostIntervals;
}

} // namespace
} // namespace vk
