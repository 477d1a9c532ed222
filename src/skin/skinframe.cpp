#include "skin/skinframe.h"

#include "platform/surface.h"
#include "skin/skintemplate.h"
#include "skin/templatemap.h"

namespace vk {

void drawSkinFrame(Surface &window, const QWidget &ctl, const SkinTemplate &skin)
{
    using namespace skin;
    const QImage &t = skin.image();
    const int L = ctl.x();
    const int T = ctl.y();
    const int W = ctl.width();
    const int H = ctl.height();
    const auto blit = [&](const QRect &piece, int x, int y) {
        window.bitBlt(x, y, piece.width(), piece.height(), t, piece.x(), piece.y());
    };

    window.setAutoRedraw(true);
    // The edge loops run while i < W / 4 in real division: ceil(W / 4) tiles.
    for (int i = 0; i < W / 4.0; ++i)
        blit(kFrameTop, L - 4 + 4 * i, T - 4);
    for (int j = 0; j < W / 4.0; ++j)
        blit(kFrameBottom, L - 4 + 4 * j, T + H);
    for (int k = 0; k < H / 4.0; ++k)
        blit(kFrameLeft, L - 4, T - 4 + 4 * k);
    for (int m = 0; m < H / 4.0; ++m)
        blit(kFrameRight, L + W, T - 4 + 4 * m);
    blit(kFrameTopLeft, L - 4, T - 4);
    blit(kFrameTopRight, L + W - 6, T - 4);
    blit(kFrameBottomLeft, L - 4, T + H - 6);
    blit(kFrameBottomRight, L + W - 6, T + H - 6);
    window.refresh();
    window.setAutoRedraw(false);
}

} // namespace vk
