// The windows are assembled by copying rectangles out of the skin template and
// painting plain colours next to them. These are the pixels that assembly depends
// on: if the artwork is redrawn and one of them moves, a window shows a seam, a
// wrong panel edge or a tab that does not meet its clock box.

#include <QImage>
#include <QRect>
#include <QString>

#include <gtest/gtest.h>

#include <ostream>

namespace {

constexpr QRgb kBody = 0xffc5d6ed;       // (197, 214, 237) window body
constexpr QRgb kHeader = 0xffd7e5f8;     // (215, 229, 248) clock tab and clock box
constexpr QRgb kPanelBlue = 0xff6b99d8;  // (107, 153, 216) framed panel inside

const QImage &sheet()
{
    static const QImage image =
        QImage(QStringLiteral(VK_RESOURCES_DIR "/skin/template.png")).convertToFormat(QImage::Format_RGB32);
    return image;
}

std::string rgb(QRgb c)
{
    return "(" + std::to_string(qRed(c)) + ", " + std::to_string(qGreen(c)) + ", " + std::to_string(qBlue(c)) + ")";
}

TEST(SkinTemplate, HasTheSizeThePieceMapAssumes)
{
    ASSERT_FALSE(sheet().isNull()) << "cannot read " VK_RESOURCES_DIR "/skin/template.png";
    EXPECT_EQ(sheet().width(), 1280);
    EXPECT_EQ(sheet().height(), 800);
}

// Every pixel of `area` must be exactly `colour`.
struct FlatArea {
    const char *what;
    QRect area;
    QRgb colour;
};

void PrintTo(const FlatArea &a, std::ostream *os) { *os << a.what; }

class FlatAreas : public ::testing::TestWithParam<FlatArea> {};

TEST_P(FlatAreas, HaveTheExactColour)
{
    const FlatArea &a = GetParam();
    ASSERT_TRUE(sheet().rect().contains(a.area));
    for (int y = a.area.top(); y <= a.area.bottom(); ++y)
        for (int x = a.area.left(); x <= a.area.right(); ++x) {
            const QRgb got = sheet().pixel(x, y) | 0xff000000u;
            ASSERT_EQ(got, a.colour) << a.what << ": pixel (" << x << ", " << y << ") is " << rgb(got)
                                     << ", want " << rgb(a.colour);
        }
}

INSTANTIATE_TEST_SUITE_P(
    SkinTemplate, FlatAreas,
    ::testing::Values(
        // Framed panel edge tiles; the top and bottom tiles carry the dark line first.
        FlatArea{"panel top line 1", {562, 282, 4, 1}, qRgb(120, 121, 122)},
        FlatArea{"panel top line 2", {562, 283, 4, 1}, qRgb(194, 195, 197)},
        FlatArea{"panel top line 3", {562, 284, 4, 1}, qRgb(245, 246, 248)},
        FlatArea{"panel top line 4", {562, 285, 4, 1}, qRgb(248, 249, 251)},
        FlatArea{"panel bottom line 1", {562, 365, 4, 1}, qRgb(120, 121, 122)},
        FlatArea{"panel bottom line 2", {562, 366, 4, 1}, qRgb(194, 195, 197)},
        FlatArea{"panel bottom line 3", {562, 367, 4, 1}, qRgb(245, 246, 248)},
        FlatArea{"panel bottom line 4", {562, 368, 4, 1}, qRgb(248, 249, 251)},
        FlatArea{"panel left line 1", {544, 303, 1, 4}, qRgb(155, 155, 157)},
        FlatArea{"panel left line 2", {545, 303, 1, 4}, qRgb(212, 214, 216)},
        FlatArea{"panel left line 3", {546, 303, 1, 4}, qRgb(243, 245, 247)},
        FlatArea{"panel left line 4", {547, 303, 1, 4}, qRgb(244, 246, 248)},
        FlatArea{"panel right line 1", {656, 303, 1, 4}, qRgb(155, 155, 157)},
        FlatArea{"panel right line 2", {657, 303, 1, 4}, qRgb(212, 214, 216)},
        FlatArea{"panel right line 3", {658, 303, 1, 4}, qRgb(243, 245, 247)},
        FlatArea{"panel right line 4", {659, 303, 1, 4}, qRgb(244, 246, 248)},
        // The corners' inner 6x6 meet the plain panel fill.
        FlatArea{"panel top-left corner inside", {548, 286, 6, 6}, kPanelBlue},
        FlatArea{"panel top-right corner inside", {650, 286, 6, 6}, kPanelBlue},
        FlatArea{"panel bottom-left corner inside", {548, 359, 6, 6}, kPanelBlue},
        FlatArea{"panel bottom-right corner inside", {650, 359, 6, 6}, kPanelBlue},
        // The clock box (flat header colour) is laid over the tab's middle and touches
        // the innermost columns of both tab ends.
        FlatArea{"clock tab slice interior", {545, 97, 2, 55}, kHeader},
        FlatArea{"clock tab left end, last column", {542, 97, 1, 55}, kHeader},
        FlatArea{"clock tab right end, first column", {610, 97, 1, 55}, kHeader},
        // The start screen's title is drawn onto the lower part of the top slice.
        FlatArea{"top slice, body under the band", {220, 75, 10, 22}, kBody},
        // Drawn buttons sit on the body colour; their cap corners must vanish into it.
        FlatArea{"button N, left cap corner", {68, 593, 2, 2}, kBody},
        FlatArea{"button N, right cap corner", {246, 593, 2, 2}, kBody},
        FlatArea{"button H, left cap corner", {68, 643, 2, 2}, kBody},
        FlatArea{"button H, right cap corner", {246, 643, 2, 2}, kBody},
        FlatArea{"button P, left cap corner", {68, 693, 2, 2}, kBody},
        FlatArea{"button P, right cap corner", {246, 693, 2, 2}, kBody}));

TEST(SkinTemplate, ClockTabOutlineIsDarkerThanItsInterior)
{
    // The clock box covers the tab down to its 55th row; the outline just below must
    // still read as the tab's edge.
    for (int x = 545; x <= 546; ++x) {
        const QRgb outline = sheet().pixel(x, 97 + 55);
        const QRgb interior = sheet().pixel(x, 97 + 30);
        EXPECT_EQ(interior | 0xff000000u, kHeader) << "x " << x;
        EXPECT_LT(qGray(outline) + 40, qGray(interior))
            << "outline " << rgb(outline) << " against interior " << rgb(interior) << " at x " << x;
    }
}

// Tiled pieces repeat their first row (or column) along the tiling direction; any
// variation along it would show as a seam every period.
struct Tile {
    const char *what;
    QRect area;
    bool horizontal; // tiled along x: every column equals the first
};

void PrintTo(const Tile &t, std::ostream *os) { *os << t.what; }

class Tiles : public ::testing::TestWithParam<Tile> {};

TEST_P(Tiles, AreUniformAlongTheTilingDirection)
{
    const Tile &t = GetParam();
    ASSERT_TRUE(sheet().rect().contains(t.area));
    for (int y = t.area.top(); y <= t.area.bottom(); ++y)
        for (int x = t.area.left(); x <= t.area.right(); ++x) {
            const int rx = t.horizontal ? t.area.left() : x;
            const int ry = t.horizontal ? y : t.area.top();
            ASSERT_EQ(sheet().pixel(x, y), sheet().pixel(rx, ry))
                << t.what << ": (" << x << ", " << y << ") differs from (" << rx << ", " << ry << ")";
        }
}

INSTANTIATE_TEST_SUITE_P(
    SkinTemplate, Tiles,
    ::testing::Values(Tile{"top border slice", {220, 0, 10, 97}, true},
                      Tile{"left border slice", {0, 260, 20, 10}, false},
                      Tile{"right border slice", {1260, 260, 20, 10}, false},
                      Tile{"bottom border slice", {50, 780, 10, 20}, true},
                      Tile{"header band slice", {400, 97, 10, 97}, true},
                      Tile{"clock tab slice", {545, 97, 2, 57}, true},
                      Tile{"button N middle", {90, 593, 10, 50}, true},
                      Tile{"button H middle", {90, 643, 10, 50}, true},
                      Tile{"button P middle", {90, 693, 10, 50}, true},
                      Tile{"panel top edge", {562, 282, 4, 4}, true},
                      Tile{"panel bottom edge", {562, 365, 4, 4}, true},
                      Tile{"panel left edge", {544, 303, 4, 4}, false},
                      Tile{"panel right edge", {656, 303, 4, 4}, false}));

} // namespace
