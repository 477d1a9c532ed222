#pragma once

#include <QObject>
#include <QPointF>
#include <QString>

#include <cstdint>
#include <functional>

namespace vk {

class SkinTemplate;
class Surface;

// The cell under the mouse from its horizontal position in the strip: 1
// backdrop, 2 minimise, 4 close; 0 for none. The disabled maximise cell (3)
// counts as none.
int stripHitTest(double x);

// The main window's own window controls: four 17 x 15 cells drawn from the
// template's sprites. The strip takes the mouse capture while a cell is
// hot, so it still hears the mouse after it leaves the strip; only the
// horizontal position decides the cell.
class WindowControlStrip : public QObject
{
    Q_OBJECT
public:
    struct Actions {
        std::function<void()> toggleBackdrop;
        std::function<void()> minimiseMain;
        std::function<void()> hideBackdropIfOn; // after minimising
        std::function<void()> closeMain;
    };

    enum class Look { Normal, Hover, Pressed };

    WindowControlStrip(Surface &strip, const SkinTemplate &skin, Actions actions);

    // Start-up: the four normal glyphs go into the strip's kept image.
    void copyInitialGlyphs();

    void mouseMove(int buttons, double x);
    void mouseDown();
    void click();

    int hotCell() const { return m_hotCell; }

    // Where cell `cell`'s sprite in `look` lies in the template.
    static QPoint spriteSource(int cell, Look look);
    // What the pointer resting on cell `cell` is told; nothing for no cell.
    static QString toolTip(int cell);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void drawCell(int cell, Look look);
    void keepNormalCell(int cell);
    bool holdsCapture() const;

    Surface &m_strip;
    const SkinTemplate &m_skin;
    Actions m_actions;
    std::uint8_t m_hotCell = 0;
};

} // namespace vk
