#include "platform/drawtext.h"
#include "platform/form.h"
#include "platform/screenmetrics.h"
#include "platform/surface.h"
#include "platform/windowregistry.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace vk {
namespace {

// A source whose every pixel tells where it came from.
QImage coordinateImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x, y, 77));
    return image;
}

QRgb at(const QImage &image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

TEST(Surface, copiesAreClippedAtBothEdgesAndAcceptNegativePlaces)
{
    Surface s;
    s.resize(40, 30);
    s.setBackColor(Qt::white);
    s.setAutoRedraw(true);
    s.cls();
    const QImage src = coordinateImage(100, 100);

    s.bitBlt(-5, -3, 10, 10, src, 20, 40);
    EXPECT_EQ(at(s.keptImage(), 0, 0), qRgb(25, 43, 77) & 0xFFFFFF) << "the part left of 0 is cut off";
    EXPECT_EQ(at(s.keptImage(), 4, 6), qRgb(29, 49, 77) & 0xFFFFFF);
    EXPECT_EQ(at(s.keptImage(), 5, 0), 0xFFFFFFu) << "nothing past the copied width";

    s.bitBlt(35, 25, 20, 20, src, 90, 90); // runs past the target and the source
    EXPECT_EQ(at(s.keptImage(), 39, 29), qRgb(94, 94, 77) & 0xFFFFFF);
    s.bitBlt(10, 10, 5, 5, src, 98, 0); // source edge: only two columns exist
    EXPECT_EQ(at(s.keptImage(), 11, 10), qRgb(99, 0, 77) & 0xFFFFFF);
    EXPECT_EQ(at(s.keptImage(), 12, 10), 0xFFFFFFu);
}

// Tiling is only a faster way to lay the copies one by one: whatever the
// clipping at the target's edges, the pictures must agree pixel for pixel.
TEST(Surface, tilingLeavesWhatTheSingleCopiesLeave)
{
    const QImage src = coordinateImage(60, 40);
    struct Case {
        int x, y, w, h, across, down, sx, sy;
    } cases[] = {
        {0, 0, 10, 7, 5, 1, 20, 3},     // a band along the top
        {-7, 2, 4, 4, 13, 1, 1, 1},     // starts left of the target, runs past its right edge
        {3, -9, 5, 6, 1, 9, 50, 30},    // a column cut at the top and the bottom
        {-3, -2, 3, 2, 15, 17, 0, 0},   // a whole area, all four edges cut
        {5, 5, 10, 10, 2, 2, 55, 35},   // tiles running past the source: the plain way
        {45, 5, 4, 4, 3, 1, 0, 0},      // wholly outside
    };
    for (const Case &c : cases) {
        Surface tiled, single;
        for (Surface *s : {&tiled, &single}) {
            s->resize(41, 31);
            s->setBackColor(Qt::white);
            s->setAutoRedraw(true);
            s->cls();
        }
        tiled.tileBlt(c.x, c.y, c.w, c.h, c.across, c.down, src, c.sx, c.sy);
        for (int j = 0; j < c.down; ++j)
            for (int i = 0; i < c.across; ++i)
                single.bitBlt(c.x + i * c.w, c.y + j * c.h, c.w, c.h, src, c.sx, c.sy);
        EXPECT_EQ(tiled.keptImage(), single.keptImage()) << "tiles at " << c.x << "," << c.y;
    }
    EXPECT_EQ(Surface::tileCount(1280, 10), 128);
    EXPECT_EQ(Surface::tileCount(1275, 10), 128) << "the last tile runs past the edge";
    EXPECT_EQ(Surface::tileCount(0, 4), 0);
}

// A named piece is copied at its own size and tiled a piece's width and
// height apart; the last column and row of tiles are cut at the edges.
TEST(Surface, piecesAreCopiedAndTiledAtTheirOwnSize)
{
    const QImage src = coordinateImage(60, 40);
    const QRect piece(20, 3, 7, 4); // neither square nor at the origin
    struct Case {
        const char *what;
        int x, y, across, down;
        QRect covered; // where the piece's pixels land, before the edges cut it
    } cases[] = {
        {"one copy cut at the left and the bottom", -3, 9, 0, 0, QRect(-3, 9, 7, 4)},
        {"four across, three down, the last ones cut", 2, 1, 4, 3, QRect(2, 1, 28, 12)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Surface s;
        s.resize(26, 11);
        s.setBackColor(Qt::white);
        s.setAutoRedraw(true);
        s.cls();
        if (c.across == 0)
            s.copyPiece(src, piece, c.x, c.y);
        else
            s.tilePiece(src, piece, c.x, c.y, c.across, c.down);
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 26; ++x) {
                const QRgb want = c.covered.contains(x, y)
                                      ? at(src, piece.x() + (x - c.x) % 7, piece.y() + (y - c.y) % 4)
                                      : 0xFFFFFFu;
                ASSERT_EQ(at(s.keptImage(), x, y), want) << "at " << x << "," << y;
            }
    }
}

// Drawing with the kept image switched off reaches the screen only: the
// next repaint shows the kept image again, which was never touched.
TEST(Surface, transientDrawingIsGoneAfterTheNextRepaint)
{
    Surface s;
    s.resize(30, 20);
    s.setBackColor(QColor(197, 214, 237));
    s.setAutoRedraw(true);
    s.cls();
    const QImage red = [] { QImage i(10, 10, QImage::Format_RGB32); i.fill(Qt::red); return i; }();
    s.bitBlt(0, 0, 10, 10, red, 0, 0);
    s.refresh();
    s.setAutoRedraw(false);

    const QImage blue = [] { QImage i(10, 10, QImage::Format_RGB32); i.fill(Qt::blue); return i; }();
    s.bitBlt(10, 0, 10, 10, blue, 0, 0);
    EXPECT_EQ(at(s.grab().toImage(), 12, 2), QColor(Qt::blue).rgb() & 0xFFFFFF) << "shown on screen";
    EXPECT_EQ(at(s.keptImage(), 12, 2), qRgb(197, 214, 237) & 0xFFFFFF) << "but not kept";

    s.repaint();
    const QImage after = s.grab().toImage();
    EXPECT_EQ(at(after, 12, 2), qRgb(197, 214, 237) & 0xFFFFFF);
    EXPECT_EQ(at(after, 2, 2), QColor(Qt::red).rgb() & 0xFFFFFF) << "the kept image stays";
    EXPECT_FALSE(s.hasTransientDrawing());
}

TEST(Surface, clsClearsToTheBackColourAndThePicture)
{
    Surface s;
    s.resize(20, 20);
    s.setBackColor(QColor(10, 20, 30));
    QImage picture(5, 5, QImage::Format_RGB32);
    picture.fill(Qt::green);
    s.setPicture(picture);
    s.setAutoRedraw(true);
    const QImage red = [] { QImage i(20, 20, QImage::Format_RGB32); i.fill(Qt::red); return i; }();
    s.bitBlt(0, 0, 20, 20, red, 0, 0);
    s.cls();
    EXPECT_EQ(at(s.keptImage(), 2, 2), QColor(Qt::green).rgb() & 0xFFFFFF);
    EXPECT_EQ(at(s.keptImage(), 10, 10), qRgb(10, 20, 30) & 0xFFFFFF);
}

TEST(Surface, drawTextFormatsPlaceTheText)
{
    Surface s;
    s.resize(200, 60);
    s.setBackColor(Qt::white);
    s.setForeColor(Qt::black);
    s.setAutoRedraw(true);
    s.cls();
    const auto inkColumns = [&](int x0, int x1) {
        int ink = 0;
        for (int x = x0; x < x1; ++x)
            for (int y = 0; y < 60; ++y)
                ink += at(s.keptImage(), x, y) != 0xFFFFFFu;
        return ink;
    };
    TextRect r;
    r.set(0, 0, 200, 60);
    s.drawText(r, dt::Center | dt::VCenter | dt::SingleLine, QStringLiteral("II"));
    EXPECT_EQ(inkColumns(0, 80), 0);
    EXPECT_GT(inkColumns(80, 120), 0);

    s.cls();
    r.set(150, 0, 170, 60); // left/top format, clipped at the rectangle's right
    s.drawText(r, dt::Left | dt::Top, QStringLiteral("WWWWWWWW"));
    EXPECT_GT(inkColumns(150, 170), 0);
    EXPECT_EQ(inkColumns(170, 200), 0);
}

TEST(Surface, clickNeedsPressAndReleaseOverIt)
{
    Surface s;
    s.resize(50, 50);
    s.show();
    QSignalSpy clicks(&s, &Surface::clicked);
    QSignalSpy moves(&s, &Surface::mouseMoved);
    QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseMove(&s, QPoint(20, 20));
    ASSERT_GE(moves.count(), 1);
    EXPECT_EQ(moves.last().at(0).toInt(), 0) << "no button held";
}

// Qt hands the release to the surface that had the press, wherever the
// pointer is by then. It is a click only over that surface, or anywhere
// while the surface holds the mouse capture; a surface that had no press
// takes no click from a release over it.
TEST(Surface, aReleaseOffThePressedSurfaceIsNoClick)
{
    QWidget window;
    window.resize(200, 100);
    auto *a = new Surface(&window);
    auto *b = new Surface(&window);
    a->setGeometry(0, 0, 50, 50);
    b->setGeometry(60, 0, 50, 50);
    window.show();
    QSignalSpy clicksA(a, &Surface::clicked);
    QSignalSpy clicksB(b, &Surface::clicked);

    struct Case {
        const char *what;
        Surface *pressed; // gets the press at (10, 10), or none
        Surface *released;
        QPoint at;        // where the release lies, in `released`'s pixels
        bool captured;    // `released` holds the mouse capture
        int clicksA, clicksB;
    };
    const Case cases[] = {
        {"released on its last pixel", a, a, {49, 49}, false, 1, 0},
        {"dragged off to the right", a, a, {50, 10}, false, 0, 0},
        {"dragged off above", a, a, {10, -1}, false, 0, 0},
        {"dragged onto the neighbour", a, a, {70, 10}, false, 0, 0},
        {"pressed on the neighbour, released here", b, b, {-50, 10}, false, 0, 0},
        {"released here without a press", nullptr, a, {10, 10}, false, 0, 0},
        {"released off it while holding the capture", a, a, {80, 10}, true, 1, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        clicksA.clear();
        clicksB.clear();
        if (c.captured)
            c.released->grabMouse();
        if (c.pressed)
            QTest::mousePress(c.pressed, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(c.released, Qt::LeftButton, {}, c.at);
        c.released->releaseMouse();
        EXPECT_EQ(clicksA.count(), c.clicksA);
        EXPECT_EQ(clicksB.count(), c.clicksB);
    }
}

class NamedForm : public Form
{
public:
    NamedForm(const QString &name, const ScreenMetrics &screen, int *loads)
        : Form(name, screen)
        , m_loads(loads)
    {
    }
    void load() override { ++*m_loads; }

private:
    int *m_loads;
};

TEST(WindowRegistry, aReferenceLoadsOnceAndUnloadForgets)
{
    const FixedScreenMetrics screen(QRect(0, 0, 1280, 800));
    WindowRegistry registry;
    int loads = 0;
    registry.define("frmA", [&] { return new NamedForm("frmA", screen, &loads); });
    registry.define("frmB", [&] { return new NamedForm("frmB", screen, &loads); });

    EXPECT_EQ(registry.find("frmA"), nullptr);
    Form *a = registry.get("frmA");
    EXPECT_EQ(registry.get("frmA"), a);
    EXPECT_EQ(loads, 1);
    registry.get("frmB");
    ASSERT_EQ(registry.loaded().size(), 2);
    EXPECT_EQ(registry.loaded().at(0)->name(), "frmA");

    registry.unload("frmA");
    EXPECT_EQ(registry.find("frmA"), nullptr);
    Form *again = registry.get("frmA");
    EXPECT_EQ(loads, 3) << "a reference after the unload loads a fresh window";
    EXPECT_EQ(registry.loaded().size(), 2);
    registry.unload(again);
    registry.unload("frmB");
    EXPECT_TRUE(registry.loaded().isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(Form, geometryInTwips)
{
    const FixedScreenMetrics screen(QRect(0, 0, 1280, 800));
    Form f("frmT", screen);
    f.moveTw(1500, 375, 19200, 12000 - 375);
    EXPECT_EQ(f.geometry(), QRect(100, 25, 1280, 775));
    EXPECT_EQ(f.twTop(), 375);
    EXPECT_EQ(f.twHeight(), 11625);
}

} // namespace
} // namespace vk
