// Copies out of the skin template: the frame around the sheet panel, and
// the band, border and corner copies of a 1280 x 800 window, next to raw
// row copies of the same rectangles.
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
};

// The pieces a main window of 1280 x 800 is composed of, in order.
std::vector<Copy> windowComposition(const vk::SkinTemplate &skin, int W, int H)
{
    using namespace vk::skin;
    const QSize t = skin.size();
    std::vector<Copy> copies;
    for (int i = 0; W / 10.0 > i; ++i)
        copies.push_back({kStartTopBand, 10 * i, 0});
    for (int i = 0; W / 10.0 > i; ++i)
        copies.push_back({bottomBand(t), 10 * i, H - 20});
    for (int j = 0; H / 10.0 > j; ++j)
        copies.push_back({kLeftBorder, 0, 10 * j});
    for (int k = 0; H / 10.0 > k; ++k)
        copies.push_back({rightBorder(t), W - 20, 10 * k});
    copies.push_back({kTopLeftCorner, 0, 0});
    copies.push_back({topRightCorner(t), W - 30, 0});
    copies.push_back({kLargeLogo, 422, 291});
    copies.push_back({kSlogan, 422, 216});
    copies.push_back({bottomLeftCorner(t), 0, H - 40});
    copies.push_back({bottomRightCorner(t), W - 40, H - 40});
    return copies;
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
            window.bitBlt(c.x, c.y, c.piece.width(), c.piece.height(), skin.image(), c.piece.x(), c.piece.y());
        window.setAutoRedraw(false);
        benchmark::DoNotOptimize(window.keptImage().constBits());
    }
}
BENCHMARK(BM_composeWindow_surface)->Unit(benchmark::kMicrosecond);

// The floor: the same rectangles as bare memcpy rows into a fresh image.
void BM_composeWindow_rawMemcpy(benchmark::State &state)
{
    const vk::SkinTemplate skin;
    QImage target(1280, 800, QImage::Format_RGB32);
    const auto copies = windowComposition(skin, 1280, 800);
    const QImage &src = skin.image();
    for (auto _ : state) {
        target.fill(qRgb(197, 214, 237));
        uchar *bits = target.bits();
        for (const Copy &c : copies) {
            const QRect dst = QRect(c.x, c.y, c.piece.width(), c.piece.height()) & target.rect();
            for (int row = dst.top(); row <= dst.bottom(); ++row)
                std::memcpy(bits + row * target.bytesPerLine() + dst.left() * 4,
                            src.constScanLine(c.piece.y() + row - c.y) + (c.piece.x() + dst.left() - c.x) * 4,
                            static_cast<std::size_t>(dst.width()) * 4);
        }
        benchmark::DoNotOptimize(bits);
    }
}
BENCHMARK(BM_composeWindow_rawMemcpy)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
