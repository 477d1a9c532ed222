#include "shell/backdropwindow.h"

#include "platform/nativewindow.h"
#include "platform/rounding.h"
#include "platform/screenmetrics.h"
#include "skin/appcontext.h"
#include "shell/gradientfill.h"

#include <array>

namespace vk {

BackdropWindow::BackdropWindow(AppContext &ctx)
    : Form(kBackdropWindowName, ctx.screen)
    , m_ctx(ctx)
{
    // Kept below the program's other windows. A plain window, not a tool
    // window: a tool window without an owner is transient for the whole
    // program, and some window managers (xfwm4) keep such a window above
    // all the program's others.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint);
    setWindowTitle(QStringLiteral("Fon"));
    setBackColor(QColor(224, 224, 224));
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &Surface::gotFocus, this, &BackdropWindow::passFocusOn);
    connect(this, &Form::activated, this, &BackdropWindow::passFocusOn);
}

void BackdropWindow::load()
{
    coverScreen();
    // Out of the task bar and the pager, marked before it is first shown.
    create();
    nativewindow::keepOutOfTaskbar(*this);
}

void BackdropWindow::coverScreen()
{
    const QRect s = screen().geometry();
    const int tx = screen().twipsPerPixelX();
    const int ty = screen().twipsPerPixelY();
    moveTw(s.x() * tx, s.y() * ty, s.width() * tx, s.height() * ty);
    setAutoRedraw(true);
    paintFourCornerGradient(kTopLeft, kTopRight, kBottomRight, kBottomLeft);
    refresh();
    setAutoRedraw(false);
}

void BackdropWindow::paintFourCornerGradient(ColorRef topLeft, ColorRef topRight, ColorRef bottomRight, ColorRef bottomLeft)
{
    const std::int32_t w = roundHalfEven(scaleWidth());
    const std::int32_t h = roundHalfEven(scaleHeight());
    const std::array vertices{
        gradientVertex(0, 0, topLeft),
        gradientVertex(w, 0, topRight),
        gradientVertex(w, h, bottomRight),
        gradientVertex(0, h, bottomLeft),
    };
    const std::array triangles{GradientTriangle{0, 1, 2}, GradientTriangle{0, 2, 3}};

    QImage shaded(std::max(w, 1), std::max(h, 1), QImage::Format_RGB32);
    shaded.fill(backColor());
    gradientFill(shaded, vertices, triangles);
    // A window still waiting for its resize keeps an image of the old size.
    if (autoRedraw() && keptImage().deviceIndependentSize().toSize() != shaded.size())
        cls();
    bitBlt(0, 0, shaded.width(), shaded.height(), shaded, 0, 0);
}

void BackdropWindow::passFocusOn()
{
    Form *main = m_ctx.windows.find(kMainWindowName);
    if (!main || main->isMinimized())
        return;
    for (Form *form : m_ctx.windows.loaded()) {
        if (form->name() == kMainWindowName || form->name() == kBackdropWindowName)
            continue;
        // Focus failures (a hidden or disabled window) are of no interest.
        // The stage hands the focus on to its sheet.
        if (form->isVisible() && form->isEnabled())
            form->takeKeyboard();
        return;
    }
    if (main->isVisible())
        main->activateWindow();
}

} // namespace vk
