#include "ui/main/windowcontrolstrip.h"

#include "platform/surface.h"
#include "skin/skintemplate.h"
#include "skin/templatemap.h"

#include <QHelpEvent>
#include <QToolTip>

namespace vk {

using namespace skin;

int stripHitTest(double x)
{
    int cell = 0;
    if (x > 0 && x <= 17)
        cell = 1;
    else if (x > 17 && x <= 34)
        cell = 2;
    else if (x > 34 && x <= 51)
        cell = 3;
    else if (x > 51 && x <= 68)
        cell = 4;
    return cell == 3 ? 0 : cell;
}

WindowControlStrip::WindowControlStrip(Surface &strip, const SkinTemplate &skin, Actions actions)
    : QObject(&strip)
    , m_strip(strip)
    , m_skin(skin)
    , m_actions(std::move(actions))
{
    connect(&strip, &Surface::mouseMoved, this, [this](int buttons, QPointF pos) { mouseMove(buttons, pos.x()); });
    connect(&strip, &Surface::mouseDown, this, [this](int, QPointF) { mouseDown(); });
    connect(&strip, &Surface::clicked, this, &WindowControlStrip::click);
    strip.installEventFilter(this);
}

QString WindowControlStrip::toolTip(int cell)
{
    switch (cell) {
    case 1: return QStringLiteral("Backdrop");
    case 2: return QStringLiteral("Minimise");
    case 4: return QStringLiteral("Close");
    default: return {};
    }
}

bool WindowControlStrip::eventFilter(QObject *watched, QEvent *event)
{
    // Each cell says what it does; the disabled cell and the space around
    // the cells say nothing.
    if (watched == &m_strip && event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QString text = toolTip(stripHitTest(help->pos().x()));
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, &m_strip);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

QPoint WindowControlStrip::spriteSource(int cell, Look look)
{
    int left = kStripBackdropLeft;
    switch (cell) {
    case 2: left = kStripMinimiseLeft; break;
    case 3: left = kStripMaximiseLeft; break;
    case 4: left = kStripCloseLeft; break;
    default: break;
    }
    const int top = look == Look::Hover ? kStripHoverTop : look == Look::Pressed ? kStripPressedTop : kStripNormalTop;
    return {left, top};
}

void WindowControlStrip::copyInitialGlyphs()
{
    m_strip.setAutoRedraw(true);
    // A strip still waiting for its resize keeps an image of its old size.
    if (m_strip.keptImage().deviceIndependentSize().toSize() != m_strip.size())
        m_strip.cls();
    for (int cell = 1; cell <= 4; ++cell)
        drawCell(cell, Look::Normal);
    m_strip.setAutoRedraw(false);
}

void WindowControlStrip::drawCell(int cell, Look look)
{
    if (cell == 0)
        return;
    m_strip.copyPiece(m_skin.image(m_strip.imageScale()), stripCell(spriteSource(cell, look)), kStripCellWidth * (cell - 1), 0);
}

void WindowControlStrip::keepNormalCell(int cell)
{
    m_strip.setAutoRedraw(true);
    drawCell(cell, Look::Normal);
    m_strip.refresh();
    m_strip.setAutoRedraw(false);
}

bool WindowControlStrip::holdsCapture() const
{
    return QWidget::mouseGrabber() == &m_strip;
}

void WindowControlStrip::mouseMove(int buttons, double x)
{
    const int k = stripHitTest(x);
    const bool captured = holdsCapture();

    if ((k != 0 && k != m_hotCell) || (k == 0 && captured))
        drawCell(m_hotCell, Look::Normal);

    if (k == 0) {
        if (!captured)
            return;
        m_strip.releaseMouse();
    } else if (k != m_hotCell) {
        // The left button alone shows the pressed look; any other state the hover look.
        drawCell(k, buttons == 1 ? Look::Pressed : Look::Hover);
        m_strip.grabMouse();
    }
    m_hotCell = static_cast<std::uint8_t>(k);
}

void WindowControlStrip::mouseDown()
{
    if (m_hotCell == 1 || m_hotCell == 2 || m_hotCell == 4)
        drawCell(m_hotCell, Look::Pressed);
}

void WindowControlStrip::click()
{
    m_strip.releaseMouse();
    switch (m_hotCell) {
    case 1:
        if (m_actions.toggleBackdrop)
            m_actions.toggleBackdrop();
        keepNormalCell(1);
        m_hotCell = 0;
        break;
    case 2:
        if (m_actions.minimiseMain)
            m_actions.minimiseMain();
        keepNormalCell(2);
        m_hotCell = 0;
        if (m_actions.hideBackdropIfOn)
            m_actions.hideBackdropIfOn();
        break;
    case 4:
        // Closing ends the program; nothing of the strip is touched afterwards.
        if (m_actions.closeMain)
            m_actions.closeMain();
        break;
    default:
        break;
    }
}

} // namespace vk
