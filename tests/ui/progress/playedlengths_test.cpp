#include "ui/progress/playedlengths.h"

#include "ui/progress/stagereports.h"

#include <gtest/gtest.h>

#include <string>

namespace vk {
namespace {

using namespace test;

TEST(PlayedLengths, countsEveryStageOfEachLengthAndOpensOnTheMostPlayed)
{
    struct Case {
        std::string name;
        QList<StageReport> reports;
        QList<PlayedLength> lengths;
        int mostPlayed;
    };
    const Case cases[] = {
        {"nothing logged", {}, {}, 0},
        {"one length", {wrong(800, 12), correct(700)}, {{20, 2}}, 20},
        // Stages left before the finish were played at their length too.
        {"left stages count",
         {wrong(800, 12), left(100, 0, 8), left(100, 0, 8), correct(90, 8), wrong(200, 3, 2)},
         {{2, 1}, {8, 3}, {20, 1}},
         8},
        {"a tie goes to the longer factors",
         {correct(90, 8), wrong(800, 12), left(), correct(80, 8), wrong(200, 3, 2)},
         {{2, 1}, {8, 2}, {20, 2}},
         20},
        {"a tie of short ones", {correct(9, 2), correct(90, 8), correct(8, 2), wrong(80, 10, 8)}, {{2, 2}, {8, 2}}, 8},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QList<PlayedLength> lengths = playedLengths(c.reports);
        EXPECT_EQ(lengths, c.lengths);
        EXPECT_EQ(mostPlayedLength(lengths), c.mostPlayed);
    }
}

TEST(PlayedLengths, stagesOfOneLengthKeepTheirOrder)
{
    const QList<StageReport> reports{correct(91, 8), wrong(800, 12), left(92, 0, 8), correct(700), wrong(93, 9, 8)};
    QList<double> seconds;
    for (const StageReport &report : stagesOfLength(reports, 8))
        seconds.append(report.secondsUsed);
    EXPECT_EQ(seconds, (QList<double>{91, 92, 93}));
    EXPECT_TRUE(stagesOfLength(reports, 5).isEmpty());
}

} // namespace
} // namespace vk
