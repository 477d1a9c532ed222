#include "stage/evaluation.h"

#include <gtest/gtest.h>

#include <map>

namespace vk {
namespace {

// Backgrounds of the revealed digits, 0x00BBGGRR.
constexpr ColorRef kGreen = 0x00C000;    // RGB 0, 192, 0: the user's digit matches
constexpr ColorRef kLightRed = 0x8080FF; // RGB 255, 128, 128: it does not

const QString kProduct40 = QStringLiteral("1234567890123456789012345678901234567890");
const QString kProduct39 = QStringLiteral("987654321098765432109876543210987654321");

// An answer row as the sheet holds it: column -> cell text, empty elsewhere.
struct AnswerRow {
    std::map<int, QString> cells;
    static AnswerRow typed(const QString &digits, int unitsColumn = 40)
    {
        AnswerRow row;
        for (qsizetype i = 0; i < digits.size(); ++i)
            row.cells[unitsColumn - static_cast<int>(digits.size() - 1 - i)] = digits.mid(i, 1);
        return row;
    }
    QString operator()(int column) const
    {
        const auto it = cells.find(column);
        return it == cells.end() ? QString() : it->second;
    }
};

int mismatches(const Evaluation &e)
{
    int n = 0;
    for (const RevealedDigit &d : e.digits)
        n += d.match ? 0 : 1;
    return n;
}

TEST(Evaluation, productStandsRightAlignedWithItsUnitsDigitInTheUnitsColumn)
{
    const Evaluation e = evaluateAnswer(kProduct40, AnswerRow::typed(kProduct40));
    ASSERT_EQ(e.digits.size(), 40u);
    EXPECT_EQ(e.digits.front().column, 40);
    EXPECT_EQ(e.digits.front().digit, QStringLiteral("0"));
    EXPECT_EQ(e.digits.back().column, 1);
    EXPECT_EQ(e.digits.back().digit, QStringLiteral("1"));
    for (std::size_t i = 0; i < e.digits.size(); ++i)
        EXPECT_EQ(e.digits[i].column, 40 - static_cast<int>(i)) << "the i-th digit from the right goes to 41 - i";
}

struct Case {
    const char *name;
    QString product;
    AnswerRow answer;
    bool correct;
    int red;
    std::vector<int> redColumns;
};

class EvaluationCases : public ::testing::TestWithParam<Case>
{};

TEST_P(EvaluationCases, verdictAndColoursFollowTheColumns)
{
    const Case &c = GetParam();
    const Evaluation e = evaluateAnswer(c.product, c.answer);
    EXPECT_EQ(e.correct, c.correct);
    EXPECT_EQ(static_cast<int>(e.digits.size()), c.product.size()) << "only the product's own columns are compared";
    EXPECT_EQ(mismatches(e), c.red);
    EXPECT_EQ(e.digitsMatched, c.product.size() - c.red) << "every compared digit counts once, matched or not";
    std::vector<int> red;
    for (const RevealedDigit &d : e.digits) {
        EXPECT_EQ(d.backColor(), d.match ? kGreen : kLightRed);
        if (!d.match)
            red.push_back(d.column);
    }
    if (!c.redColumns.empty()) {
        EXPECT_EQ(red, c.redColumns);
    }
    // The same columns as a log keeps them, most significant first: the
    // product's leading digit stands in column 41 - length.
    QString matched(c.product.size(), c.red == c.product.size() ? u'0' : u'1');
    for (const int column : c.redColumns)
        matched[column - (41 - c.product.size())] = u'0';
    EXPECT_EQ(matchedColumns(e), matched);
}

AnswerRow withCell(AnswerRow row, int column, QString text)
{
    row.cells[column] = std::move(text);
    return row;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, EvaluationCases,
    ::testing::Values(
        Case{"fullyRight40", kProduct40, AnswerRow::typed(kProduct40), true, 0, {}},
        Case{"oneDigitWrong", kProduct40, withCell(AnswerRow::typed(kProduct40), 17, QStringLiteral("0")), false, 1,
             {17}},
        Case{"emptyAnswer", kProduct40, AnswerRow{}, false, 40, {}},
        Case{"missingLeadingDigit", kProduct40, AnswerRow::typed(kProduct40.mid(1)), false, 1, {1}},
        // The user's digit left of a 39-digit product is never looked at.
        Case{"digitLeftOf39DigitProduct", kProduct39, withCell(AnswerRow::typed(kProduct39), 1, QStringLiteral("7")),
             true, 0, {}},
        Case{"right39", kProduct39, AnswerRow::typed(kProduct39), true, 0, {}},
        // Exact strings: a space or a second character is no match.
        Case{"paddedCellIsNoMatch", kProduct40,
             withCell(AnswerRow::typed(kProduct40), 40, QStringLiteral("0 ")), false, 1, {40}},
        Case{"fullWidthDigitIsNoMatch", kProduct40,
             withCell(AnswerRow::typed(kProduct40), 39, QString(QChar(0xFF19))), false, 1, {39}}),
    [](const ::testing::TestParamInfo<Case> &info) { return std::string(info.param.name); });

TEST(Evaluation, theUnitsColumnFollowsTheSheet)
{
    // A sheet with other counts addresses its columns from its own edges.
    const Evaluation e = evaluateAnswer(QStringLiteral("56"), AnswerRow::typed(QStringLiteral("56"), 10), 10);
    ASSERT_EQ(e.digits.size(), 2u);
    EXPECT_EQ(e.digits[0].column, 10);
    EXPECT_EQ(e.digits[1].column, 9);
    EXPECT_TRUE(e.correct);
}

} // namespace
} // namespace vk
