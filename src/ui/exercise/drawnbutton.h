#pragma once

#include <QObject>
#include <QPointF>
#include <QString>
#include <QStringView>

#include <cstdint>

namespace vk {

class SkinTemplate;
class Surface;
struct TextRect;

// The looks of a drawn button: "N" normal, "H" hover, "P" pressed.
namespace look {
inline const QString kNormal = QStringLiteral("N");
inline const QString kHover = QStringLiteral("H");
inline const QString kPressed = QStringLiteral("P");
} // namespace look

// The caption font is never made smaller than this: a button too narrow for
// any size keeps its caption at this size rather than shrinking forever.
inline constexpr double kSmallestCaptionPoints = 6.0;

// Paints the rounded button of `look` from the template, with `caption`
// centred on it, into whatever image `button` draws into now. A caption
// wider than the button less its ends makes the button's font smaller, one
// point at a time, for good. An unknown look paints nothing.
void paintDrawnButton(Surface &button, QStringView look, const QString &caption, const SkinTemplate &skin,
                      TextRect &textRect);

// The pointer tracking of one drawn button. `state` is the button's field in
// the stage record: 1 while the pointer is registered over the button and
// the button holds the mouse capture, else 0. A click counts only while it
// is 1 (see takeClick).
class DrawnButton : public QObject
{
    Q_OBJECT
public:
    DrawnButton(Surface &button, QString caption, std::uint8_t &state, const SkinTemplate &skin, TextRect &textRect);

    Surface &button() const { return m_button; }
    const QString &caption() const { return m_caption; }

    // The normal look composed into the kept image and shown at once.
    void paintNormal();

    // For the click: false when the click does not count (the pointer had
    // left). Otherwise releases the capture, paints the normal look, clears
    // the state and returns true; the caller then acts.
    bool takeClick();

    // The handlers, public so that the window can route events to them.
    void onResize();
    void onMouseDown(int buttons);
    void onMouseMove(int buttons, QPointF pos);

private:
    bool holdsCapture() const;

    Surface &m_button;
    QString m_caption;
    std::uint8_t &m_state;
    const SkinTemplate &m_skin;
    TextRect &m_textRect;
};

} // namespace vk
