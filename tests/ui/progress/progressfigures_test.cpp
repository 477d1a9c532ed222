#include "ui/progress/progressfigures.h"

#include "ui/progress/stagereports.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace vk {
namespace {

using namespace test;

struct Expected {
    int evaluated;
    int correct;
    int left;
    std::optional<double> best;
    std::optional<double> last10;
    std::optional<double> last50;
    int longestRun;
};

struct Case {
    std::string name;
    QList<StageReport> reports;
    Expected expected;
};

void expectSame(const std::optional<double> &actual, const std::optional<double> &expected, const char *what)
{
    ASSERT_EQ(actual.has_value(), expected.has_value()) << what;
    if (expected) {
        EXPECT_NEAR(*actual, *expected, 1e-9) << what;
    }
}

TEST(ProgressFigures, fromATableOfLogs)
{
    const std::nullopt_t none = std::nullopt;
    const Case cases[] = {
        {"empty log", {}, {0, 0, 0, none, none, none, 0}},
        // Left stages count only as left, however far they got.
        {"only left stages", {left(80, 40), left(300, 12), left()}, {0, 0, 3, none, none, none, 0}},
        {"one correct stage", {correct(412.35)}, {1, 1, 0, 412.35, 40.0, 40.0, 1}},
        {"one wrong stage", {wrong(900, 17)}, {1, 0, 0, none, 17.0, 17.0, 0}},
        {"a wrong stage breaks a run",
         {correct(500), correct(510), wrong(520, 39), correct(530), correct(540), correct(550), wrong(560, 0),
          correct(570)},
         {8, 6, 0, 500.0, 34.875, 34.875, 3}},
        {"the longest run may come first",
         {correct(500), correct(510), correct(505), wrong(520, 20), correct(530)},
         {5, 4, 0, 500.0, 36.0, 36.0, 3}},
        // A stage left in the middle of a run is skipped over: the run goes on.
        {"a left stage neither breaks nor extends a run",
         {correct(600), left(), correct(610), left(), left(), correct(620), wrong(700, 30)},
         {4, 3, 3, 600.0, 37.5, 37.5, 3}},
        {"left stages alone are no run", {left(100, 40), left(100, 40), correct(640)}, {1, 1, 2, 640.0, 40.0, 40.0, 1}},
        // Only correct stages count for the best time: not a faster wrong
        // one, nor a faster one left before the finish.
        {"best time of a correct stage",
         {correct(500), wrong(300, 38), left(90, 0), correct(450.5), correct(451)},
         {4, 3, 1, 450.5, 39.5, 39.5, 2}},
        {"a time at the limit counts", {wrong(899.99, 10), correct(900)}, {2, 1, 0, 900.0, 25.0, 25.0, 1}},
        // 12 evaluated stages: the last ten all matched 30 digits, the two
        // before them none; left stages with 0 digits sit among the last ten.
        {"last 10 of more than 10",
         repeated(2, wrong(800, 0)) + repeated(5, wrong(800, 30)) + QList<StageReport>{left(10, 0), left(10, 0)} +
             repeated(5, wrong(800, 30)),
         {12, 0, 2, none, 30.0, 300.0 / 12, 0}},
        // 60 evaluated stages: 10 with none, 40 with 20, the last 10 correct.
        {"last 50 of more than 50",
         repeated(10, wrong(800, 0)) + repeated(40, wrong(800, 20)) + repeated(10, correct(700)),
         {60, 10, 0, 700.0, 40.0, (40 * 20 + 10 * 40) / 50.0, 10}},
        {"fewer than 10", {wrong(800, 10), wrong(800, 20), left(5, 40), wrong(800, 33)},
         {3, 0, 1, none, 21.0, 21.0, 0}},
        {"exactly 10", repeated(9, wrong(800, 0)) + QList<StageReport>{correct(600)},
         {10, 1, 0, 600.0, 4.0, 4.0, 1}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ProgressFigures figures(c.reports);
        EXPECT_EQ(figures.evaluatedStages(), c.expected.evaluated);
        EXPECT_EQ(figures.correctStages(), c.expected.correct);
        EXPECT_EQ(figures.leftStages(), c.expected.left);
        expectSame(figures.bestCorrectSeconds(), c.expected.best, "best time");
        expectSame(figures.meanDigitsMatchedOverLast(10), c.expected.last10, "mean of the last 10");
        expectSame(figures.meanDigitsMatchedOverLast(50), c.expected.last50, "mean of the last 50");
        EXPECT_EQ(figures.longestCorrectRun(), c.expected.longestRun);
    }
}

} // namespace
} // namespace vk
