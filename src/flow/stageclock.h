#pragma once

#include "flow/clockpieces.h"
#include "flow/clockrules.h"

#include <QObject>
#include <QRect>
#include <QString>

class QTimer;

namespace vk {

class DayClock;
class TimedMessageBox;
class Surface;
struct StageRecord;

// The stage clock of the exercise window: runs the timer clockTimer, shows the
// reading in the display clockDisplay and stops at the stage's time limit.
//
// It works on the window's own stage record, timer and display; the
// constructor gives clockTimer and clockDisplay their defined properties and
// connects clockTimer's timeout to tick() and clockDisplay's resized() to
// clockDisplayResized(). When the limit stops the clock and no confirmation box is
// open, finishRequested() is emitted (the confirmation finishes the stage
// itself when its box closes).
class StageClock final : public QObject
{
    Q_OBJECT
public:
    StageClock(StageRecord &stage, const DayClock &clock, QTimer &clockTimer, Surface &clockDisplay,
               const TimedMessageBox &msgBox, QObject *parent = nullptr);

    // First activation, once the sheet is loaded: the clock starts now.
    void startClock();

    // Tick of clockTimer: read; unless the reading is still within the
    // second the last text was made for, stop at the limit, redraw on a
    // change of text, and ask for the finish once stopped with no box open.
    // In the first second of a stage the ticks without a change also draw
    // the clock's pieces for the minute ahead, one a tick.
    void tick();

    // The text twice, centred: white two pixels to the lower right, dark blue
    // on top; then the display is refreshed. When only the end of the text
    // changed since the last call, only the part of the display from the
    // first changed character on is cleared, drawn and repainted: the
    // pixels come out the same as a whole redraw. A change of the seconds
    // copies a ready piece of the display where there is one.
    void drawClockText(const QString &text);

    // Resize of clockDisplay: the display font, and "00:00" while the clock is shown.
    void clockDisplayResized();

    // The finish's last reading, drawn whether or not the text changed.
    void showFinalReading();

    const QString &lastClockText() const { return m_lastClockText; }

signals:
    void finishRequested();

private:
    void drawLayers(const QString &text, int textWidth);
    // Starts the pieces over for the display's present size and font.
    void resetPieces();
    // The part of the display a change from the drawn text to `text` can
    // touch; null when the whole display has to be drawn.
    QRect changedArea(const QString &text, int textWidth) const;

    StageRecord &m_stage;
    const DayClock &m_clock;
    QTimer &m_clockTimer;
    Surface &m_clockDisplay;
    const TimedMessageBox &m_questionBox;
    QString m_lastClockText;
    // The readings m_lastClockText stands for, as the last formatted reading
    // left them; none before the first tick.
    SameClockText m_sameText;
    // What drawClockText() left on the display, and how wide it was; empty
    // after anything else drew there.
    QString m_drawnText;
    int m_drawnWidth = 0;
    ClockPieces m_pieces;
};

} // namespace vk
