// A stage of shorter factors on the same 40-column sheet: the numbers
// stand right-aligned, the answer takes digits only in the product's
// columns, and there is one marker per factor column.
#include "loadedsheet.h"

#include "sheet/sheetlayout.h"

#include <gtest/gtest.h>

using namespace vk;

namespace {

class ShortFactors : public ::testing::TestWithParam<int>, public test::LoadedSheet
{
protected:
    void SetUp() override { load(digits); }

    // The answer row, an empty cell as ".".
    QString answerRow() const
    {
        QString row;
        for (const QString &c : answerCells())
            row += c.isEmpty() ? QStringLiteral(".") : c;
        return row;
    }

    const int digits = GetParam();
    const int firstFactor = 41 - digits;
    const int firstProduct = 41 - 2 * digits;
};

TEST_P(ShortFactors, theFactorsStandRightAlignedAndTheSheetKeepsItsSize)
{
    const QDomElement problem = problemElement(stage);
    for (int row : {1, 2}) {
        const QString factor = problem.attribute(row == 1 ? doc::kFactor1 : doc::kFactor2);
        ASSERT_EQ(factor.size(), digits);
        for (int c = 0; c < grid.cols(); ++c) {
            const QString expected = c >= firstFactor && c <= 40 ? factor.mid(c - firstFactor, 1)
                                     : row == 2 && c == firstProduct ? QStringLiteral("x")
                                                                     : QString();
            EXPECT_EQ(grid.cellText(row, c), expected) << row << "," << c;
        }
    }
    EXPECT_EQ(stage.sheetWidth, 894);
    EXPECT_EQ(stage.sheetHeight, 180);
    EXPECT_EQ(grid.col(), 40);
    // The answer row's colour marks where digits go.
    for (int c = 1; c <= 40; ++c)
        EXPECT_EQ(grid.cellBackgroundColour(5, c), c >= firstProduct ? sheet::kAnswerBack : grid.backgroundColour())
            << c;
}

TEST_P(ShortFactors, theAnswerTakesDigitsOnlyInTheProductsColumns)
{
    // More digits than the product has: the cursor stops in its first
    // column, and nothing goes further left.
    type(QString(2 * digits + 3, u'7'));
    EXPECT_EQ(answerRow(), QString(firstProduct - 1, u'.') + QString(2 * digits, u'7'));
    EXPECT_EQ(grid.col(), firstProduct);
    EXPECT_EQ(answer(), QString(2 * digits, u'7'));

    // Nothing moves the cursor out of them: Left with an empty editor, a
    // click left of them.
    key(Qt::Key_Backspace);
    key(Qt::Key_Left);
    EXPECT_EQ(grid.col(), firstProduct);
    if (firstProduct > 1) {
        click(5, firstProduct - 1);
        EXPECT_EQ(grid.col(), firstProduct);
    }
    EXPECT_EQ(answerRow().left(firstProduct - 1), QString(firstProduct - 1, u'.'));
}

TEST_P(ShortFactors, keypadStarStepsThroughTheFactorsColumnsOnly)
{
    for (int i = 0; i < digits; ++i)
        key(Qt::Key_Asterisk, Qt::KeypadModifier);
    EXPECT_EQ(sheet.markers().count(), digits);
    for (int i = 0; i < digits; ++i)
        EXPECT_TRUE(sheet.markers().isSet(i)) << i;
    for (int c = 1; c <= 40; ++c)
        EXPECT_EQ(grid.cellBackgroundColour(1, c) == sheet::kCursorBack, c >= firstFactor) << c;
    // The last marker is set: the next step clears the first.
    key(Qt::Key_Asterisk, Qt::KeypadModifier);
    EXPECT_FALSE(sheet.markers().isSet(0));
    EXPECT_NE(grid.cellBackgroundColour(2, 40), sheet::kCursorBack);
    sheet.markerClicked(digits); // there is no such marker
    EXPECT_FALSE(sheet.markers().isSet(digits));
}

// The true product typed is revealed all green; one wrong digit is red in
// its column, and nothing is revealed left of the product.
TEST_P(ShortFactors, theRevealWorksOverTheProductsDigits)
{
    QString typed = stage.correctProduct;
    std::reverse(typed.begin(), typed.end());
    typed[1] = typed[1] == u'5' ? u'6' : u'5';
    type(typed);
    stage.stageRunning = false;
    const Evaluation result = sheet.revealProduct(stage.correctProduct);
    EXPECT_FALSE(result.correct);
    EXPECT_EQ(result.digitsMatched, stage.correctProduct.size() - 1);
    for (int c = 1; c <= 40; ++c) {
        const qsizetype fromUnits = 40 - c;
        if (fromUnits >= stage.correctProduct.size()) {
            EXPECT_TRUE(grid.cellText(7, c).isEmpty()) << c;
            continue;
        }
        EXPECT_EQ(grid.cellText(7, c), stage.correctProduct.at(stage.correctProduct.size() - 1 - fromUnits)) << c;
        EXPECT_EQ(grid.cellBackgroundColour(7, c), c == 39 ? kRevealMismatch : kRevealMatch) << c;
    }
}

INSTANTIATE_TEST_SUITE_P(, ShortFactors, ::testing::Values(2, 8, 13),
                         [](const ::testing::TestParamInfo<int> &info) { return std::to_string(info.param) + "Digits"; });

} // namespace
