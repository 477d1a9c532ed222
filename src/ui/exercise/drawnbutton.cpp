#include "ui/exercise/drawnbutton.h"

#include "platform/drawtext.h"
#include "platform/rounding.h"
#include "platform/surface.h"
#include "platform/textrect.h"
#include "skin/skintemplate.h"
#include "skin/templatemap.h"

#include <algorithm>

namespace vk {
namespace {

int templateRow(QStringView look)
{
    if (look == look::kNormal)
        return skin::kButtonNormalTop;
    if (look == look::kHover)
        return skin::kButtonHoverTop;
    if (look == look::kPressed)
        return skin::kButtonPressedTop;
    return -1;
}

QColor captionColour(QStringView look)
{
    return look == look::kNormal ? QColor(0, 0, 0) : QColor(64, 64, 0);
}

} // namespace

void paintDrawnButton(Surface &button, QStringView look, const QString &caption, const SkinTemplate &skin,
                      TextRect &textRect)
{
    using namespace vk::skin;
    const int y = templateRow(look);
    if (y < 0)
        return;
    const QImage &t = skin.image(button.imageScale());
    const double Wd = button.width();
    const double Ht = button.height();

    // Middle tiles while a tile's start lies inside the button, then the caps on top.
    button.tilePiece(t, buttonMiddle(y), 0, 0, Surface::tileCount(Wd, kButtonMiddleWidth), 1);
    button.copyPiece(t, buttonLeftCap(y), 0, 0);
    button.copyPiece(t, buttonRightCap(y), roundHalfEven(Wd - 20), 0);

    QFont font = button.font();
    while (Wd - 20 < button.textWidth(caption) && font.pointSizeF() > kSmallestCaptionPoints) {
        font.setPointSizeF(std::max(kSmallestCaptionPoints, font.pointSizeF() - 1.0));
        button.setFont(font);
    }

    button.setForeColor(captionColour(look));
    textRect.set(0, 0, roundHalfEven(Wd), roundHalfEven(Ht));
    button.drawText(textRect, dt::Center | dt::VCenter | dt::SingleLine, caption);
}

DrawnButton::DrawnButton(Surface &button, QString caption, std::uint8_t &state, const SkinTemplate &skin,
                         TextRect &textRect)
    : QObject(&button)
    , m_button(button)
    , m_caption(std::move(caption))
    , m_state(state)
    , m_skin(skin)
    , m_textRect(textRect)
{
    connect(&button, &Surface::resized, this, &DrawnButton::onResize);
    connect(&button, &Surface::mouseDown, this, [this](int buttons, QPointF) { onMouseDown(buttons); });
    connect(&button, &Surface::mouseMoved, this, &DrawnButton::onMouseMove);
    // The reveal moves BACK under a pointer that rests where it now
    // stands: that counts as the pointer's arrival, so the first click
    // there counts.
    button.setEnterCountsAsMove(true);
}

void DrawnButton::paintNormal()
{
    m_button.setAutoRedraw(true);
    m_button.cls();
    paintDrawnButton(m_button, look::kNormal, m_caption, m_skin, m_textRect);
    m_button.refresh();
    m_button.setAutoRedraw(false);
}

bool DrawnButton::takeClick()
{
    if (m_state == 0)
        return false;
    if (holdsCapture())
        m_button.releaseMouse();
    paintNormal();
    m_state = 0;
    // The pointer keeps its hand while it stays over the button; the next
    // move sets it by the state again.
    return true;
}

void DrawnButton::onResize()
{
    paintNormal();
}

void DrawnButton::onMouseDown(int)
{
    if (m_state != 0)
        paintDrawnButton(m_button, look::kPressed, m_caption, m_skin, m_textRect);
}

void DrawnButton::onMouseMove(int buttons, QPointF pos)
{
    const double Wd = m_button.width();
    const double Ht = m_button.height();
    const bool inside = pos.x() > 0 && pos.x() <= Wd && pos.y() > 0 && pos.y() <= Ht;

    if (!inside && holdsCapture() && m_state != 0)
        paintDrawnButton(m_button, look::kNormal, m_caption, m_skin, m_textRect);
    if (inside) {
        if (m_state == 0) {
            paintDrawnButton(m_button, buttons == 1 ? look::kPressed : look::kHover, m_caption, m_skin, m_textRect);
            m_button.grabMouse();
        }
        m_state = 1;
    } else if (holdsCapture()) {
        m_button.releaseMouse();
        m_state = 0;
    }
    m_button.setMousePointer(m_state != 0 ? Surface::Pointer::Custom : Surface::Pointer::Arrow);
}

bool DrawnButton::holdsCapture() const
{
    return QWidget::mouseGrabber() == &m_button;
}

} // namespace vk
