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
    const auto tile = [&](const QRect &piece, int x, int y, int across, int down) {
        window.tileBlt(x, y, piece.width(), piece.height(), across, down, t, piece.x(), piece.y());
    };
    // The edges are ceil(W / 4) and ceil(H / 4) tiles of 4 pixels.
    const int across = Surface::tileCount(W, 4);
    const int down = Surface::tileCount(H, 4);
    tile(kFrameTop, L - 4, T - 4, across, 1);
    tile(kFrameBottom, L - 4, T + H, across, 1);
    tile(kFrameLeft, L - 4, T - 4, 1, down);
    tile(kFrameRight, L + W, T - 4, 1, down);
    blit(kFrameTopLeft, L - 4, T - 4);
    blit(kFrameTopRight, L + W - 6, T - 4);
    blit(kFrameBottomLeft, L - 4, T + H - 6);
    blit(kFrameBottomRight, L + W - 6, T + H - 6);
    window.refresh();
    window.setAutoRedraw(false);
}

} // namespace vk
