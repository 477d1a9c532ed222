#include "ui/progress/columnmisses.h"

#include "ui/progress/stagereports.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace vk {
namespace {

using namespace test;

QList<int> missesByColumn(const ColumnMisses &misses)
{
    QList<int> counts;
    for (int column = 1; column <= misses.columns(); ++column)
        counts.append(misses.misses(column));
    return counts;
}

// `stages` evaluated stages of `profile.size() / 2`-digit factors in which
// column c (from the units digit) was wrong in the first profile[c - 1].
QList<StageReport> stagesMissing(const QList<int> &profile, int stages)
{
    const int columns = static_cast<int>(profile.size());
    QList<StageReport> reports;
    for (int stage = 0; stage < stages; ++stage) {
        QString matched(columns, u'1');
        for (int column = 1; column <= columns; ++column) {
            if (stage < profile[column - 1])
                matched[columns - column] = u'0';
        }
        reports.append(evaluated(QString(columns, u'9'), matched, columns / 2));
    }
    return reports;
}

StageReport withAnswer(StageReport report, const QString &answer)
{
    report.answer = answer;
    return report;
}

// Known rows of 3-digit factors (6 columns), each wrong where it says.
TEST(ColumnMisses, countsEachColumnFromTheUnitsDigit)
{
    struct Case {
        std::string name;
        QList<StageReport> reports;
        int stagesCounted;
        QList<int> misses; // from the units column up
    };
    const QString product = QStringLiteral("123456");
    const Case cases[] = {
        {"the last digit is the units column",
         {evaluated(product, QStringLiteral("111110"), 3), evaluated(product, QStringLiteral("110100"), 3)},
         2,
         {2, 1, 0, 1, 0, 0}},
        // 5 digits of a possible 6: the sixth column has no digit to miss.
        {"a product one digit short", {evaluated(QStringLiteral("12345"), QStringLiteral("01111"), 3)}, 1,
         {0, 0, 0, 0, 1, 0}},
        // A record of the matched columns that does not fit the product is
        // worked out again from the answer as typed.
        {"no record kept", {withAnswer(evaluated(product, QString(), 3), QStringLiteral("123956"))}, 1,
         {0, 0, 1, 0, 0, 0}},
        {"a record of the wrong length", {withAnswer(evaluated(product, QStringLiteral("1111"), 3), QStringLiteral("23456"))},
         1, {0, 0, 0, 0, 0, 1}},
        {"a record that is not all 0 and 1",
         {withAnswer(evaluated(product, QStringLiteral("11x111"), 3), QStringLiteral("123456"))}, 1, {0, 0, 0, 0, 0, 0}},
        {"left stages and stages without a product are passed over",
         {left(50, 0, 3), evaluated(QString(), QStringLiteral("000000"), 3), evaluated(product, QStringLiteral("011111"), 3)},
         1, {0, 0, 0, 0, 0, 1}},
        {"nothing evaluated", {left(50, 0, 3)}, 0, {0, 0, 0, 0, 0, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ColumnMisses misses(c.reports, 3);
        EXPECT_EQ(misses.stagesCounted(), c.stagesCounted);
        EXPECT_EQ(missesByColumn(misses), c.misses);
    }
}

// Only the last 50 evaluated stages count; left ones among them do not
// take a place. Before them stand 10 stages wrong in every column.
TEST(ColumnMisses, countsTheLastFiftyEvaluatedStages)
{
    for (const int recent : {50, 49}) {
        SCOPED_TRACE(recent);
        const StageReport secondWrong = evaluated(QStringLiteral("123456"), QStringLiteral("111101"), 3);
        const QList<StageReport> reports = repeated(10, evaluated(QStringLiteral("123456"), QStringLiteral("000000"), 3))
                                           + repeated(recent - 20, secondWrong) + repeated(3, left(50, 0, 3))
                                           + repeated(20, secondWrong);
        const ColumnMisses misses(reports, 3);
        EXPECT_EQ(misses.stagesCounted(), 50);
        const int older = 50 - recent;
        EXPECT_EQ(missesByColumn(misses), (QList<int>{older, 50, older, older, older, older}));
        EXPECT_DOUBLE_EQ(misses.missShare(2), 1.0);
    }
}

TEST(ColumnMisses, weakestStretch)
{
    struct Case {
        std::string name;
        QList<int> profile;
        std::optional<ColumnStretch> stretch;
    };
    const Case cases[] = {
        {"nothing wrong", {0, 0, 0, 0, 0, 0}, std::nullopt},
        {"one column", {0, 0, 3, 0, 0, 0}, ColumnStretch{3, 3}},
        // A column a little lower between high ones does not split them.
        {"a dip inside the stretch", {0, 0, 8, 9, 6, 9, 8, 0}, ColumnStretch{3, 7}},
        {"a sharp peak before a plateau barely above the rest", {1, 2, 6, 2, 5, 5, 5, 5}, ColumnStretch{3, 3}},
        {"two alike: the one nearer the units", {4, 0, 0, 4, 0, 0}, ColumnStretch{1, 1}},
        // Column 1 is wrong exactly as often as the middle between the
        // average column (3) and the worst (11): it adds nothing.
        {"a column at the middle is left out", {7, 11, 0, 0, 0, 0}, ColumnStretch{2, 2}},
        {"every column alike", {2, 2, 2, 2}, ColumnStretch{1, 4}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ColumnMisses misses(stagesMissing(c.profile, 12), static_cast<int>(c.profile.size()) / 2);
        EXPECT_EQ(misses.weakestStretch(), c.stretch);
    }
}

// The sentence under the strip and a column's hover text. Shares are whole
// percents, halves to even: 1 of 8 is 12 %, 3 of 8 is 38 %.
TEST(ColumnMisses, sentencesAndHoverTexts)
{
    struct Case {
        std::string name;
        QList<StageReport> reports;
        QString summary;
        int hovered;
        QString hoverText;
    };
    const Case cases[] = {
        {"no stage evaluated", {left(50, 0, 3)},
         "No stage of 3 digits has reached the evaluation yet, so no column can be shaded.", 0, {}},
        {"nothing wrong", stagesMissing({0, 0, 0, 0, 0, 0}, 4), "No column was wrong in the last 4 stages.", 6,
         "Column 6 from the units digit: wrong in 0 of 4 stages (0 %)"},
        {"one stage", stagesMissing({0, 1, 1, 0, 0, 0}, 1),
         "Your weakest stretch is columns 2 to 3 from the units digit: wrong in the last stage.", 2,
         "Column 2 from the units digit: wrong in 1 of 1 stage (100 %)"},
        {"one column", stagesMissing({1, 0, 0, 3, 0, 0}, 8),
         "Your weakest column is column 4 from the units digit: wrong in 3 of the last 8 stages (38 %).", 1,
         "Column 1 from the units digit: wrong in 1 of 8 stages (12 %)"},
        {"a stretch wrong alike", stagesMissing({0, 0, 3, 3, 2, 0}, 4),
         "Your weakest stretch is columns 3 to 4 from the units digit: each wrong in 75 % of the last 4 stages.", 5,
         "Column 5 from the units digit: wrong in 2 of 4 stages (50 %)"},
        {"a stretch wrong unalike", stagesMissing({0, 5, 6, 0, 0, 0}, 8),
         "Your weakest stretch is columns 2 to 3 from the units digit: each wrong in 62 to 75 % of the last 8 stages.",
         2, "Column 2 from the units digit: wrong in 5 of 8 stages (62 %)"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ColumnMisses misses(c.reports, 3);
        EXPECT_EQ(misses.summary(), c.summary);
        if (c.hovered > 0) {
            EXPECT_EQ(misses.columnDescription(c.hovered), c.hoverText);
        }
    }
}

} // namespace
} // namespace vk
