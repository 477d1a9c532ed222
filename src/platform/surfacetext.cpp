#include "platform/surface.h"

#include "platform/drawtext.h"
#include "platform/rounding.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

// The surface's text: drawn into its kept image or onto the screen, and measured.
namespace vk {

void Surface::drawText(const TextRect &rect, unsigned format, const QString &text)
{
    int flags = 0;
    if (format & dt::Center)
        flags |= Qt::AlignHCenter;
    else if (format & dt::Right)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    QString shown = text;
    if (format & dt::SingleLine) {
        flags |= Qt::TextSingleLine;
        flags |= (format & dt::VCenter) ? Qt::AlignVCenter : (format & dt::Bottom) ? Qt::AlignBottom : Qt::AlignTop;
        shown.replace(QLatin1String("\r\n"), QLatin1String(" "));
    } else {
        flags |= Qt::AlignTop;
        shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    }
    if (format & dt::NoClip)
        flags |= Qt::TextDontClip;

    const QRect box(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
    QPainter p(&target((format & dt::NoClip) ? this->rect() : box & this->rect()));
    p.setFont(font());
    p.setPen(m_foreColor);
    p.drawText(box, flags, shown);
}

void Surface::printAt(double x, double y, const QString &text)
{
    const bool clipped = !m_drawingClip.isNull();
    printTextAt(target(clipped ? m_drawingClip & rect() : rect()), font(), m_foreColor, x, y, text, m_drawingClip);
}

void printTextAt(QImage &image, const QFont &font, const QColor &colour, double x, double y, const QString &text,
                 const QRect &clip)
{
    QPainter p(&image);
    if (!clip.isNull())
        p.setClipRect(clip);
    p.setFont(font);
    p.setPen(colour);
    const QFontMetrics fm(font);
    p.drawText(QPoint(roundHalfEven(x), roundHalfEven(y) + fm.ascent()), text);
}

int Surface::textWidth(const QString &text) const
{
    const QFontMetrics fm(font());
    int widest = 0;
    for (const QString &line : QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).split(QLatin1Char('\n')))
        widest = std::max(widest, fm.horizontalAdvance(line));
    return widest;
}

int Surface::textHeight(const QString &text) const
{
    const QFontMetrics fm(font());
    const int lines = static_cast<int>(QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).count(QLatin1Char('\n'))) + 1;
    return fm.height() * lines;
}

} // namespace vk
