#pragma once

#include <QObject>
#include <QString>

class QTimer;

namespace vk {

class DayClock;
class ModMsgBox;
class Surface;
struct StageRecord;

// The stage clock of the exercise window: runs the timer trmSure, shows the
// reading in the display picTime and stops at the stage's time limit.
//
// It works on the window's own stage record, timer and display; the
// constructor gives trmSure and picTime their defined properties and
// connects trmSure's timeout to tick() and picTime's resized() to
// picTimeResize(). When the limit stops the clock and no confirmation box is
// open, finishRequested() is emitted (the confirmation finishes the stage
// itself when its box closes).
class StageClock final : public QObject
{
    Q_OBJECT
public:
    StageClock(StageRecord &stage, const DayClock &clock, QTimer &trmSure, Surface &picTime,
               const ModMsgBox &msgBox, QObject *parent = nullptr);

    // First activation, once the sheet is loaded: the clock starts now.
    void startClock();

    // Tick of trmSure: read, stop at the limit, redraw on a change of text,
    // and ask for the finish once stopped with no box open.
    void tick();

    // The text twice, centred: white two pixels to the lower right, dark blue
    // on top; then the display is refreshed.
    void drawClockText(const QString &text);

    // Resize of picTime: the display font, and "00:00" while the clock is shown.
    void picTimeResize();

    // The finish's last reading, drawn whether or not the text changed.
    void showFinalReading();

    const QString &lastClockText() const { return m_lastClockText; }

signals:
    void finishRequested();

private:
    void drawLayers(const QString &text);

    StageRecord &m_stage;
    const DayClock &m_clock;
    QTimer &m_trmSure;
    Surface &m_picTime;
    const ModMsgBox &m_msgBox;
    QString m_lastClockText;
};

} // namespace vk
