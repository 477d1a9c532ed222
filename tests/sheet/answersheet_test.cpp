// The answer sheet on a real grid, driven by key and mouse events.
#include "sheet/answersheet.h"

#include "grid/flexgrid.h"
#include "sheet/sheetlayout.h"
#include "stage/stage.h"
#include "loadedsheet.h"
#include "support/fakes.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

using namespace vk;

namespace {

// A loaded stage of 20-digit factors as the exercise window leaves it
// after its first activation.
class AnswerSheetTest : public ::testing::Test, public test::LoadedSheet
{
protected:
    void SetUp() override { load(20); }
};

TEST_F(AnswerSheetTest, LoadWritesTheFactorsAndSizesTheSheet)
{
    const QDomElement problem = problemElement(stage);
    for (int row : {1, 2}) {
        const QString factor = problem.attribute(row == 1 ? doc::kFactor1 : doc::kFactor2);
        ASSERT_EQ(factor.size(), 20);
        for (int c = 0; c < grid.cols(); ++c) {
            const QString expected = c >= 21 && c <= 40 ? factor.mid(c - 21, 1) : (row == 2 && c == 1 ? "x" : "");
            EXPECT_EQ(cell(row, c), expected) << row << "," << c;
        }
    }
    EXPECT_EQ(stage.sheetWidth, 894);
    EXPECT_EQ(stage.sheetHeight, 180);
    EXPECT_EQ(cursor(), std::make_pair(5, 40));
    EXPECT_TRUE(grid.isEditing());
    EXPECT_EQ(answerCells().join(""), "");
}

// The sheet's outer size is the sum of its twips by the screen's factor
// plus the frame, halves to even; the grid draws every row by the same rule,
// so its rows add up to that height. At 15 twips per pixel everything divides
// exactly; at 12 (120 DPI) and 20 (72 DPI) every size falls on a half.
TEST(AnswerSheetScale, SizesFollowTheScreensTwipsPerPixel)
{
    struct Case {
        int twipsPerPixel;
        std::int16_t sheetWidth, sheetHeight;
        int edge, digitColumn, digitRow, gap; // pixels
    };
    const Case cases[] = {
        {15, 894, 180, 6, 22, 34, 18},
        {12, 1117, 224, 8, 28, 42, 22}, // 13380 / 12 + 2 = 1117, 2670 / 12 + 2 = 224.5
        {20, 671, 136, 4, 16, 26, 14},  // 13380 / 20 + 2 = 671, 2670 / 20 + 2 = 135.5
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.twipsPerPixel);
        StageRecord stage;
        QDomDocument problemDoc;
        FlexGrid grid(nullptr, c.twipsPerPixel);
        test::FakeHost host;
        AnswerSheet sheet(stage, grid, host);
        test::ScriptedRandom random({0.5});
        test::FakeDayClock clock;
        resetStageRecord(stage, true);
        createProblem(problemDoc, stage, random, clock);
        sheet.setUpSheet();

        EXPECT_EQ(stage.sheetWidth, c.sheetWidth);
        EXPECT_EQ(stage.sheetHeight, c.sheetHeight);
        const int rowPixels[] = {c.edge, c.digitRow, c.digitRow, c.edge, c.edge, c.digitRow, c.gap, c.digitRow, c.edge};
        int top = 0;
        for (int r = 0; r < 9; ++r) {
            EXPECT_EQ(grid.cellRect(r, 1).top(), top) << "row " << r;
            EXPECT_EQ(grid.cellRect(r, 1).height(), rowPixels[r]) << "row " << r;
            top += rowPixels[r];
        }
        EXPECT_EQ(top + 2, stage.sheetHeight) << "the rows fill the sheet inside its frame";
        for (int col : {0, 41})
            EXPECT_EQ(grid.cellRect(1, col).width(), c.edge) << "column " << col;
        for (int col : {1, 21, 40})
            EXPECT_EQ(grid.cellRect(1, col).width(), c.digitColumn) << "column " << col;
    }
}

TEST_F(AnswerSheetTest, DigitsFillFromTheUnitsLeftwards)
{
    type("123");
    EXPECT_EQ(cell(5, 40), "1");
    EXPECT_EQ(cell(5, 39), "2");
    EXPECT_EQ(cell(5, 38), "3");
    EXPECT_EQ(cursor(), std::make_pair(5, 37));
    EXPECT_EQ(answer(), "321");
    EXPECT_EQ(grid.cellBackgroundColour(5, 37), sheet::kCursorBack);
    EXPECT_EQ(grid.cellBackgroundColour(5, 38), sheet::kAnswerBack);
    EXPECT_EQ(grid.cellBackgroundColour(5, 40), sheet::kAnswerBack);
    EXPECT_TRUE(grid.isEditing());
}

TEST_F(AnswerSheetTest, AGapIsStoredAsASpaceAndBackspaceEmptiesInPlace)
{
    type("5");
    key(Qt::Key_Left); // empty editor: the grid's own step
    type("6");
    EXPECT_EQ(cell(5, 39), "");
    EXPECT_EQ(answer(), "6 5");

    click(5, 40);
    key(Qt::Key_Backspace);
    EXPECT_EQ(cell(5, 40), "");
    EXPECT_EQ(cursor(), std::make_pair(5, 40));
    EXPECT_EQ(answer(), "6");
}

TEST_F(AnswerSheetTest, DigitInTheFirstColumnStaysThere)
{
    grid.setCol(1);
    type("7");
    EXPECT_EQ(cell(5, 1), "7");
    EXPECT_EQ(cursor(), std::make_pair(5, 1));
    type("8"); // the cell holds its one character
    EXPECT_EQ(cell(5, 1), "7");
    EXPECT_EQ(answer(), "7");
}

TEST_F(AnswerSheetTest, ArrowsStepOneColumnAndStopAtTheEnds)
{
    type("1"); // cursor on empty 39
    key(Qt::Key_Right);
    EXPECT_EQ(cursor(), std::make_pair(5, 40));
    key(Qt::Key_Right); // holds "1"
    EXPECT_EQ(cursor(), std::make_pair(5, 40));
    key(Qt::Key_Left); // moved by the sheet, not again by the grid
    EXPECT_EQ(cursor(), std::make_pair(5, 39));
    key(Qt::Key_Left);
    EXPECT_EQ(cursor(), std::make_pair(5, 38));

    grid.setCol(1);
    key(Qt::Key_Left);
    EXPECT_EQ(cursor(), std::make_pair(5, 1));
    type("4");
    key(Qt::Key_Left);
    EXPECT_EQ(cursor(), std::make_pair(5, 1));
    grid.setCol(40);
    grid.setCellText(5, 40, "");
    key(Qt::Key_Right);
    EXPECT_EQ(cursor(), std::make_pair(5, 40)) << "empty units cell";
}

TEST_F(AnswerSheetTest, OtherKeysChangeNothing)
{
    type("12");
    key(Qt::Key_Right); // on "2" in column 39, editor holding text
    const QStringList cells = answerCells();
    const QString stored = answer();
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
    };
    const Case cases[] = {
        {Qt::Key_A, {}},          {Qt::Key_Z, Qt::ShiftModifier}, {Qt::Key_Space, {}},
        {Qt::Key_Asterisk, Qt::ShiftModifier}, {Qt::Key_Period, {}},  {Qt::Key_Minus, Qt::KeypadModifier},
        {Qt::Key_Delete, {}},     {Qt::Key_Escape, {}},          {Qt::Key_Tab, {}},
        {Qt::Key_Backtab, Qt::ShiftModifier}, {Qt::Key_Home, {}},   {Qt::Key_End, {}},
        {Qt::Key_Home, Qt::ControlModifier}, {Qt::Key_PageUp, {}},  {Qt::Key_PageDown, {}},
        {Qt::Key_Up, {}},         {Qt::Key_Down, {}},            {Qt::Key_X, Qt::ControlModifier},
        {Qt::Key_Z, Qt::ControlModifier}, {Qt::Key_F5, {}},
    };
    for (const Case &c : cases) {
        for (const char *where : {"text", "empty"}) {
            if (where[0] == 'e')
                grid.setCol(38);
            else
                grid.setCol(39);
            const auto before = cursor();
            key(c.key, c.mods);
            EXPECT_EQ(cursor(), before) << c.key << " " << where;
            EXPECT_EQ(answerCells(), cells) << c.key << " " << where;
            EXPECT_EQ(grid.editText(), cell(5, before.second)) << c.key << " " << where;
            EXPECT_TRUE(grid.isEditing()) << c.key << " " << where;
        }
    }
    EXPECT_EQ(answer(), stored);
    EXPECT_TRUE(host.pictures.empty());
    EXPECT_EQ(host.confirmations, 0);
}

TEST_F(AnswerSheetTest, PastedTextNeverReachesACell)
{
    QApplication::clipboard()->setText("987");
    QLineEdit *ed = grid.editor();
    key(Qt::Key_V, Qt::ControlModifier);
    key(Qt::Key_Insert, Qt::ShiftModifier);
    QTest::mouseClick(ed, Qt::MiddleButton, {}, ed->rect().center());
    QMimeData mime;
    mime.setText("987");
    QDropEvent drop(QPointF(ed->rect().center()), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(ed, &drop);
    QApplication::clipboard()->setText("4");
    key(Qt::Key_V, Qt::ControlModifier); // even a single digit is not pasted
    EXPECT_EQ(ed->text(), "");
    EXPECT_EQ(answerCells().join(""), "");
    EXPECT_EQ(cursor(), std::make_pair(5, 40));
}

TEST_F(AnswerSheetTest, ClicksOffTheAnswerRowLeaveTheCursor)
{
    for (int row = 0; row < 9; ++row) {
        for (int col : {0, 1, 20, 33, 40, 41}) {
            if (row == 5 && col >= 1 && col <= 40)
                continue;
            click(row, col);
            EXPECT_EQ(cursor(), std::make_pair(5, 40)) << row << "," << col;
        }
    }
    grid.select(2, 30);
    grid.setRow(7);
    EXPECT_EQ(cursor(), std::make_pair(5, 40)) << "nor can the program";
    EXPECT_TRUE(grid.isEditing());

    click(5, 12);
    EXPECT_EQ(cursor(), std::make_pair(5, 12));
    EXPECT_EQ(grid.cellBackgroundColour(5, 12), sheet::kCursorBack);
    type("3");
    EXPECT_EQ(cell(5, 12), "3");
}

TEST_F(AnswerSheetTest, EnterAsksToFinish)
{
    key(Qt::Key_Return);
    key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(host.confirmations, 2);
    EXPECT_EQ(cursor(), std::make_pair(5, 40));
    EXPECT_EQ(answerCells().join(""), "");
}

TEST_F(AnswerSheetTest, KeypadStarStepsMarkersAndLightsTheirColumns)
{
    for (int i = 0; i < 3; ++i)
        key(Qt::Key_Asterisk, Qt::KeypadModifier);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(sheet.markers().isSet(i), i < 3) << i;
    for (int c = 21; c <= 40; ++c) {
        const ColorRef expected = c >= 38 ? sheet::kCursorBack : grid.backgroundColour();
        EXPECT_EQ(grid.cellBackgroundColour(1, c), expected) << c;
        EXPECT_EQ(grid.cellBackgroundColour(2, c), expected) << c;
    }
    const std::vector<std::pair<int, bool>> pictures = {{0, true}, {1, true}, {2, true}};
    EXPECT_EQ(host.pictures, pictures);
    EXPECT_EQ(answerCells().join(""), "") << "the star is no character";
    EXPECT_EQ(cursor(), std::make_pair(5, 40));
}

TEST_F(AnswerSheetTest, MarkerStepWrapsAroundTheLastMarker)
{
    sheet.toggleMarker(19);
    key(Qt::Key_Asterisk, Qt::KeypadModifier);
    EXPECT_FALSE(sheet.markers().isSet(19));
    EXPECT_EQ(grid.cellBackgroundColour(1, 21), grid.backgroundColour());
    key(Qt::Key_Asterisk, Qt::KeypadModifier);
    EXPECT_TRUE(sheet.markers().isSet(0));

    for (int i = 1; i < 19; ++i)
        sheet.toggleMarker(static_cast<std::int16_t>(i));
    key(Qt::Key_Asterisk, Qt::KeypadModifier);
    EXPECT_TRUE(sheet.markers().isSet(19));
    EXPECT_EQ(grid.cellBackgroundColour(2, 21), sheet::kCursorBack);
    key(Qt::Key_Asterisk, Qt::KeypadModifier);
    EXPECT_FALSE(sheet.markers().isSet(0));
    EXPECT_TRUE(sheet.markers().isSet(1));
    EXPECT_EQ(grid.cellBackgroundColour(1, 40), grid.backgroundColour());
    EXPECT_EQ(grid.cellBackgroundColour(1, 39), sheet::kCursorBack);
}

TEST_F(AnswerSheetTest, ClickingAMarkerTogglesItWhileTheStageRuns)
{
    sheet.markerClicked(0);
    EXPECT_TRUE(sheet.markers().isSet(0));
    EXPECT_EQ(grid.cellBackgroundColour(2, 40), sheet::kCursorBack);
    sheet.markerClicked(0);
    EXPECT_FALSE(sheet.markers().isSet(0));
    EXPECT_EQ(grid.cellBackgroundColour(2, 40), grid.backgroundColour());
    const std::vector<std::pair<int, bool>> pictures = {{0, true}, {0, false}};
    EXPECT_EQ(host.pictures, pictures);

    stage.stageRunning = false;
    sheet.markerClicked(3);
    EXPECT_FALSE(sheet.markers().isSet(3));
}

TEST_F(AnswerSheetTest, NothingIsEditableAfterTheFinish)
{
    type("12");
    stage.stageRunning = false;
    const QString stored = answer();
    type("5"); // into the editor still open from before the finish
    EXPECT_EQ(cell(5, 38), "");

    click(5, 39);
    EXPECT_EQ(cursor(), std::make_pair(5, 39));
    EXPECT_EQ(grid.cellBackgroundColour(5, 39), sheet::kCursorBack);
    EXPECT_FALSE(grid.isEditing());
    key(Qt::Key_7);
    key(Qt::Key_Backspace);
    click(4, 10);
    EXPECT_EQ(cursor(), std::make_pair(5, 39));
    EXPECT_EQ(cell(5, 39), "2");
    EXPECT_EQ(answer(), stored);
}

// What the user sees: exact cell sizes, the row colours, the one-pixel rule.
TEST_F(AnswerSheetTest, PixelsSitWhereTheSizesSay)
{
    grid.setCol(30);
    const QImage image = grid.grab().toImage();
    ASSERT_EQ(image.size(), QSize(894, 180));
    auto rgb = [&](int x, int y) { return image.pixelColor(x, y).rgb() & 0xFFFFFF; };
    const QRgb answerBack = 0xC5D6ED, cursorBack = 0xD7E5F8, plain = 0x97BCEE, black = 0;

    // Column c starts at 1 + 6 + 22 * (c - 1); row 5 spans y 87..120.
    const int cursorLeft = 1 + 6 + 22 * 29;
    const int y = 88;
    EXPECT_EQ(rgb(cursorLeft - 1, y), answerBack);
    EXPECT_EQ(rgb(cursorLeft, y), cursorBack);
    EXPECT_EQ(rgb(cursorLeft + 21, y), cursorBack);
    EXPECT_EQ(rgb(cursorLeft + 22, y), answerBack);
    EXPECT_EQ(rgb(7, 87), answerBack);
    EXPECT_EQ(rgb(7, 86), plain);
    EXPECT_EQ(rgb(886, 120), answerBack);
    EXPECT_EQ(rgb(886, 121), plain);
    EXPECT_EQ(rgb(6, 100), plain);
    EXPECT_EQ(rgb(887, 100), plain);

    // The rule along the top of row 4 (y 81), columns 1..40 (x 7..886).
    for (int x : {7, 300, 886})
        EXPECT_EQ(rgb(x, 81), black) << x;
    for (auto [x, yy] : {std::pair{6, 81}, {887, 81}, {300, 80}, {300, 82}})
        EXPECT_EQ(rgb(x, yy), plain) << x << "," << yy;
    EXPECT_EQ(rgb(0, 0), black) << "the one-pixel frame";
    EXPECT_EQ(rgb(1, 1), plain);
}

} // namespace
