// The grid on its own: sizes, the order of its events, what handlers can
// refuse, and the editor's doors for text other than typed characters.
#include "grid/flexgrid.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace vk;

namespace {

// Logs every event; each reaction is optional.
class Recorder final : public FlexGridEvents
{
public:
    explicit Recorder(FlexGrid &grid)
        : m_grid(grid)
    {
    }

    void gotFocus() override { log.push_back("focus"); }
    void beforeRowColChange(int oldRow, int oldCol, int newRow, int newCol, bool &cancel) override
    {
        log.push_back(fmt("before", oldRow, oldCol, newRow, newCol));
        cancel = cancelMoves;
    }
    void afterRowColChange(int oldRow, int oldCol, int newRow, int newCol) override
    {
        log.push_back(fmt("after", oldRow, oldCol, newRow, newCol));
    }
    void beforeEdit(int row, int col, bool &cancel) override
    {
        log.push_back(fmt("beforeEdit", row, col));
        cancel = cancelEdits;
    }
    void keyPressEdit(int row, int col, int &character) override
    {
        log.push_back(fmt("press", row, col, character));
        if (onPress)
            onPress(character);
    }
    void keyDownEdit(int row, int col, int &keyCode, int shiftState) override
    {
        log.push_back(fmt("down", row, col, keyCode, shiftState));
        if (onDown)
            onDown(keyCode);
    }
    void changeEdit() override
    {
        // Where the edit is when it reports, and what it holds.
        log.push_back("change " + std::to_string(m_grid.row()) + "," + std::to_string(m_grid.col()) + " " +
                      m_grid.editText().toStdString());
    }

    std::vector<std::string> log;
    bool cancelMoves = false;
    bool cancelEdits = false;
    std::function<void(int &)> onPress;
    std::function<void(int &)> onDown;

private:
    template <typename... Ints>
    static std::string fmt(const char *name, Ints... v)
    {
        std::string s = name;
        const char *sep = " ";
        ((s += sep + std::to_string(v), sep = ","), ...);
        return s;
    }
    FlexGrid &m_grid;
};

class FlexGridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid.setCols(6);
        grid.setRows(4);
        grid.setColWidth(-1, 330);
        grid.setRowHeight(-1, 510);
        grid.setGeometry(0, 0, 6 * 22 + 2, 4 * 34 + 2);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
        grid.setEvents(&rec);
    }

    QWidget *target() { return grid.isEditing() ? static_cast<QWidget *>(grid.editor()) : &grid; }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(target(), k, m); }
    // Puts the cursor on (row, col) with an open editor and a clean log.
    void editAt(int row, int col)
    {
        grid.select(row, col);
        grid.editCell();
        ASSERT_TRUE(grid.isEditing());
        rec.log.clear();
    }

    FlexGrid grid{nullptr, 15};
    Recorder rec{grid};
};

TEST_F(FlexGridTest, SizesReadBackInTwipsAndDrawInWholePixels)
{
    struct Case {
        std::int32_t twips;
        int pixels;
    };
    for (const Case c : {Case{330, 22}, Case{510, 34}, Case{90, 6}, Case{270, 18}}) {
        grid.setColWidth(2, c.twips);
        grid.setRowHeight(1, c.twips);
        EXPECT_EQ(grid.colWidth(2), c.twips);
        EXPECT_EQ(grid.rowHeight(1), c.twips);
        EXPECT_EQ(grid.cellRect(1, 2).size(), QSize(c.pixels, c.pixels)) << c.twips;
    }
    // -1 addresses every column; cells then sit edge to edge from the frame.
    grid.setColWidth(-1, 90);
    for (int col = 0; col < grid.cols(); ++col) {
        EXPECT_EQ(grid.colWidth(col), 90);
        EXPECT_EQ(grid.cellRect(0, col).left(), 6 * col);
    }
    EXPECT_EQ(grid.viewport()->geometry().topLeft(), QPoint(1, 1));
}

// Twips become whole pixels by the screen's factor, halves to the even
// neighbour. At 15 twips per pixel every size of the sheet divides exactly;
// at 12 (120 DPI) and 20 (72 DPI) each one falls on a half, and at 9
// (160 DPI) none does.
TEST(FlexGridScale, SizesDrawInWholePixelsWithHalvesToEven)
{
    struct Case {
        int twipsPerPixel;
        int edge, digitColumn, digitRow, gap; // pixels for 90, 330, 510 and 270 twips
    };
    const Case cases[] = {
        {15, 6, 22, 34, 18},
        {12, 8, 28, 42, 22}, // 7.5, 27.5, 42.5, 22.5
        {20, 4, 16, 26, 14}, // 4.5, 16.5, 25.5, 13.5
        {9, 10, 37, 57, 30}, // 10, 36.67, 56.67, 30
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.twipsPerPixel);
        FlexGrid grid(nullptr, c.twipsPerPixel);
        ASSERT_EQ(grid.twipsPerPixel(), c.twipsPerPixel);
        grid.setCols(4);
        grid.setRows(4);
        const std::pair<std::int32_t, int> sizes[] = {{90, c.edge}, {330, c.digitColumn}, {510, c.digitRow}, {270, c.gap}};
        for (int i = 0; i < 4; ++i) {
            grid.setColWidth(i, sizes[i].first);
            grid.setRowHeight(i, sizes[i].first);
        }
        int left = 0, top = 0;
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(grid.colWidth(i), sizes[i].first) << "read back in twips";
            EXPECT_EQ(grid.rowHeight(i), sizes[i].first);
            const QRect cell = grid.cellRect(i, i);
            EXPECT_EQ(cell.width(), sizes[i].second) << sizes[i].first << " twips";
            EXPECT_EQ(cell.height(), sizes[i].second) << sizes[i].first << " twips";
            EXPECT_EQ(cell.topLeft(), QPoint(left, top)) << "cells sit edge to edge";
            left += sizes[i].second;
            top += sizes[i].second;
        }
    }
}

TEST_F(FlexGridTest, ResizingKeepsTextAndClampsTheCursor)
{
    grid.setCellText(1, 1, "7");
    grid.select(3, 5);
    rec.log.clear();
    grid.setCols(3);
    grid.setRows(2);
    EXPECT_EQ(grid.cellText(1, 1), "7");
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(grid.col(), 2);
    EXPECT_TRUE(rec.log.empty());
    grid.setCols(6);
    EXPECT_EQ(grid.colWidth(5), 960) << "new columns get the default width";
    EXPECT_EQ(grid.cellText(1, 5), "");
}

TEST_F(FlexGridTest, EveryKindOfMoveAsksFirstAndCanBeRefused)
{
    const QRect target = grid.cellRect(2, 3);
    const std::vector<std::pair<const char *, std::function<void()>>> moves = {
        {"program column", [&] { grid.setCol(3); }},
        {"select", [&] { grid.select(2, 3, 3, 4); }},
        {"mouse", [&] { QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, target.center()); }},
        {"keyboard", [&] { key(Qt::Key_Down); }},
    };
    for (const auto &[name, move] : moves) {
        grid.select(1, 2);
        rec.log.clear();
        rec.cancelMoves = true;
        move();
        EXPECT_EQ(grid.row(), 1) << name;
        EXPECT_EQ(grid.col(), 2) << name;
        ASSERT_FALSE(rec.log.empty()) << name;
        EXPECT_EQ(rec.log.back().rfind("before 1,2,", 0), 0u) << name << ": " << rec.log.back();

        rec.cancelMoves = false;
        rec.log.clear();
        move();
        EXPECT_NE(std::make_pair(grid.row(), grid.col()), std::make_pair(1, 2)) << name;
        ASSERT_GE(rec.log.size(), 2u) << name;
        const std::string to = std::to_string(grid.row()) + "," + std::to_string(grid.col());
        EXPECT_EQ(rec.log[rec.log.size() - 2], "before 1,2," + to) << name;
        EXPECT_EQ(rec.log.back(), "after 1,2," + to) << name;
    }
}

TEST_F(FlexGridTest, RefusedEditOpensNoEditorAndClosesAnOpenOne)
{
    rec.cancelEdits = true;
    grid.editCell();
    EXPECT_FALSE(grid.isEditing());
    key(Qt::Key_5); // a character on the grid asks to edit, is refused and lands nowhere
    EXPECT_EQ(grid.cellText(0, 0), "");

    rec.cancelEdits = false;
    grid.editCell();
    EXPECT_TRUE(grid.isEditing());
    rec.cancelEdits = true;
    grid.editCell();
    EXPECT_FALSE(grid.isEditing());
}

TEST_F(FlexGridTest, KeyDownComesBeforeTheCharacterAndAMoveThereWaitsForIt)
{
    editAt(2, 4);
    rec.onPress = [&](int &) { grid.setCol(grid.col() - 1); };
    key(Qt::Key_7);
    const std::vector<std::string> expected = {
        "down 2,4,55,0", "press 2,4,55", "change 2,4 7", "before 2,4,2,3", "after 2,4,2,3",
    };
    EXPECT_EQ(rec.log, expected);
    EXPECT_EQ(grid.cellText(2, 4), "7");
    EXPECT_EQ(grid.col(), 3);
    EXPECT_FALSE(grid.isEditing()) << "the move closes the editor; reopening is the owner's call";
}

TEST_F(FlexGridTest, HandlersDropKeysBySettingThemToZero)
{
    editAt(0, 1);
    rec.onPress = [](int &k) { k = 0; };
    key(Qt::Key_7);
    EXPECT_EQ(grid.editText(), "");

    rec.onPress = nullptr;
    rec.onDown = [](int &k) { k = 0; };
    key(Qt::Key_8);
    EXPECT_EQ(grid.editText(), "");
    EXPECT_EQ(rec.log.back(), "down 0,1,56,0") << "a swallowed key raises no character event";
}

TEST_F(FlexGridTest, LengthLimitAndBackspace)
{
    editAt(1, 1);
    grid.setEditMaxLength(1);
    key(Qt::Key_3);
    key(Qt::Key_4);
    EXPECT_EQ(grid.editText(), "3");
    key(Qt::Key_Backspace);
    EXPECT_EQ(grid.editText(), "");
    EXPECT_EQ(rec.log.back(), "change 1,1 ");

    // Reopening selects the text, so the next character replaces it.
    grid.setCellText(1, 2, "9");
    editAt(1, 2);
    key(Qt::Key_2);
    EXPECT_EQ(grid.editText(), "2");
}

TEST_F(FlexGridTest, ArrowsMoveTheCursorOnlyFromAnEmptyEditor)
{
    editAt(1, 2);
    key(Qt::Key_Left);
    EXPECT_EQ(grid.col(), 1);

    grid.setCellText(1, 3, "5");
    editAt(1, 3);
    for (Qt::Key arrow : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Left}) {
        key(arrow);
        EXPECT_EQ(grid.col(), 3) << "with text the arrows are the caret's";
    }
    key(Qt::Key_Up);
    EXPECT_EQ(grid.row(), 0) << "up and down always move";
}

TEST_F(FlexGridTest, EditorTakesNoTextExceptTypedCharacters)
{
    QApplication::clipboard()->setText("12345");
    editAt(1, 1);
    grid.setEditMaxLength(1);
    QLineEdit *ed = grid.editor();

    key(Qt::Key_V, Qt::ControlModifier);
    key(Qt::Key_Insert, Qt::ShiftModifier);
    QTest::mouseClick(ed, Qt::MiddleButton, {}, ed->rect().center());
    QKeyEvent ctrlV(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
    QApplication::sendEvent(ed, &ctrlV);

    QMimeData mime;
    mime.setText("12345");
    QDropEvent drop(QPointF(ed->rect().center()), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(ed, &drop);
    EXPECT_FALSE(drop.isAccepted());

    EXPECT_EQ(ed->text(), "");
    EXPECT_EQ(grid.cellText(1, 1), "");
    for (const std::string &line : rec.log)
        EXPECT_EQ(line.rfind("change", 0), std::string::npos) << line;
}

TEST_F(FlexGridTest, FocusFromOutsideRaisesGotFocusOnce)
{
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    rec.log.clear();
    grid.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    grid.setFocus();
    EXPECT_EQ(std::count(rec.log.begin(), rec.log.end(), "focus"), 1);
    // Opening and closing the editor passes the focus around inside: no event.
    rec.log.clear();
    grid.editCell();
    EXPECT_TRUE(grid.editor()->hasFocus());
    grid.finishEditing();
    EXPECT_TRUE(grid.hasFocus());
    EXPECT_EQ(std::count(rec.log.begin(), rec.log.end(), "focus"), 0);
}

} // namespace
