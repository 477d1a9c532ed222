#pragma once

#include "platform/colorref.h"
#include "platform/form.h"

namespace vk {

struct AppContext;

// The backdrop: a frameless window over the whole screen, behind the
// program's windows, showing a four-corner gradient. The window-control
// strip shows and hides it; once loaded it stays loaded until the end.
class BackdropWindow : public Form
{
    Q_OBJECT
public:
    explicit BackdropWindow(AppContext &ctx);

    // Covers the screen and paints the gradient.
    void load() override;
    // Covers the whole screen and paints the gradient over it; the load
    // does this, and so does a change of the screen.
    void coverScreen();
    void screenChanged() override { coverScreen(); }

    // Paints the whole inside: two triangles split on the diagonal from the
    // top-left to the bottom-right corner, each shaded between its corners.
    void paintFourCornerGradient(ColorRef topLeft, ColorRef topRight, ColorRef bottomRight, ColorRef bottomLeft);

    static constexpr ColorRef kTopLeft = toColorRef({80, 0, 0});
    static constexpr ColorRef kTopRight = toColorRef({0, 80, 0});
    static constexpr ColorRef kBottomRight = toColorRef({0, 0, 80});
    static constexpr ColorRef kBottomLeft = toColorRef({40, 40, 0});

private:
    // A click on the backdrop gives the focus back to the working window.
    void passFocusOn();

    AppContext &m_ctx;
};

} // namespace vk
