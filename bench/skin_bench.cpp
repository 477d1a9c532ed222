// Copies out of the skin template: the frame around the sheet panel, and
// the band, border and corner copies of a 1280 x 800 window, next to raw
// row copies of the same rectangles.
#include "qtbenchmain.h"
#include "platform/surface.h"
#include "skin/skinframe.h"
#include "skin/skintemplate.h"
#include "skin/templatemap.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

struct Copy {
    QRect piece;
    int x;
    int y;
    int across = 1; // tiles side by side, as Surface::tileBlt lays them
    int down = 1;
};

// The pieces a main window of 1280 x 800 is composed of, in order.
std::vector<Copy> windowComposition(const vk::SkinTemplate &skin, int W, int H)
{
    using namespace vk::skin;
    const QSize t = skin.size();
    const int across = vk::Surface::tileCount(W, 10);
    const int down = vk::Surface::tileCount(H, 10);
    return {
        {kStartTopBand, 0, 0, across, 1},
        {bottomBand(t), 0, H - 20, across, 1},
        {kLeftBorder, 0, 0, 1, down},
        {rightBorder(t), W - 20, 0, 1, down},
        {kTopLeftCorner, 0, 0},
        {topRightCorner(t), W - 30, 0},
        {kLargeLogo, 422, 291},
        {kSlogan, 422, 216},
        {bottomLeftCorner(t), 0, H - 40},
        {bottomRightCorner(t), W - 40, H - 40},
    };
}

void BM_drawSkinFrame_sheetPanel(benchmark::State &state)
{
    const vk::SkinTemplate skin;
    vk::Surface window;
    window.resize(1280, 775);
    QWidget panel(&window);
    panel.setGeometry(189, 195, 902, 234);
    for (auto _ : state)
        vk::drawSkinFrame(window, panel, skin);
}
BENCHMARK(BM_drawSkinFrame_sheetPanel)->Unit(benchmark::kMicrosecond);

void BM_composeWindow_surface(benchmark::State &state)
{
    const vk::SkinTemplate skin;
    vk::Surface window;
    window.resize(1280, 800);
    const auto copies = windowComposition(skin, 1280, 800);
    for (auto _ : state) {
        window.setAutoRedraw(true);
        window.cls();
        for (const Copy &c : copies)
            window.tileBlt(c.x, c.y, c.piece.width(), c.piece.height(), c.across, c.down, skin.image(), c.piece.x(),
                           c.piece.y());
        window.setAutoRedraw(false);
        benchmark::DoNotOptimize(window.keptImage().constBits());
    }
}
BENCHMARK(BM_composeWindow_surface)->Unit(benchmark::kMicrosecond);

// For comparison: the same tiles as bare memcpy rows, one tile after another.
void BM_composeWindow_rawMemcpy(benchmark::State &state)
{
    const vk::SkinTemplate skin;
    QImage target(1280, 800, QImage::Format_RGB32);
    const auto copies = windowComposition(skin, 1280, 800);
    const QImage &src = skin.image();
    for (auto _ : state) {
        target.fill(qRgb(197, 214, 237));
        uchar *bits = target.bits();
        for (const Copy &c : copies)
            for (int j = 0; j < c.down; ++j)
                for (int i = 0; i < c.across; ++i) {
                    const int x = c.x + i * c.piece.width();
                    const int y = c.y + j * c.piece.height();
                    const QRect dst = QRect(x, y, c.piece.width(), c.piece.height()) & target.rect();
                    for (int row = dst.top(); row <= dst.bottom(); ++row)
                        std::memcpy(bits + row * target.bytesPerLine() + dst.left() * 4,
                                    src.constScanLine(c.piece.y() + row - y) + (c.piece.x() + dst.left() - x) * 4,
                                    static_cast<std::size_t>(dst.width()) * 4);
                }
        benchmark::DoNotOptimize(bits);
    }
}
BENCHMARK(BM_composeWindow_rawMemcpy)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return vkbench::runInApplication(argc, argv);
}
