#include "skin/skinframe.h"

#include "platform/surface.h"
#include "skin/skintemplate.h"
#include "skin/templatemap.h"

namespace vk {

void drawSkinFrame(Surface &window, const QWidget &ctl, const SkinTemplate &skin)
{
    using namespace skin;
    const QImage &t = skin.image(window.imageScale());
    const int L = ctl.x();
    const int T = ctl.y();
    const int W = ctl.width();
    const int H = ctl.height();

    window.setAutoRedraw(true);
    // The edges are ceil(W / 4) and ceil(H / 4) tiles of 4 pixels.
    const int across = Surface::tileCount(W, 4);
    const int down = Surface::tileCount(H, 4);
    window.tilePiece(t, kFrameTop, L - 4, T - 4, across, 1);
    window.tilePiece(t, kFrameBottom, L - 4, T + H, across, 1);
    window.tilePiece(t, kFrameLeft, L - 4, T - 4, 1, down);
    window.tilePiece(t, kFrameRight, L + W, T - 4, 1, down);
    window.copyPiece(t, kFrameTopLeft, L - 4, T - 4);
    window.copyPiece(t, kFrameTopRight, L + W - 6, T - 4);
    window.copyPiece(t, kFrameBottomLeft, L - 4, T + H - 6);
    window.copyPiece(t, kFrameBottomRight, L + W - 6, T + H - 6);
    window.refresh();
    window.setAutoRedraw(false);
}

} // namespace vk
