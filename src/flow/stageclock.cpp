#include "flow/stageclock.h"

#include "flow/clockrules.h"
#include "msgbox/timedmessagebox.h"
#include "platform/dayclock.h"
#include "platform/fonts.h"
#include "platform/surface.h"
#include "stage/stage.h"

#include <QTimer>

namespace vk {
namespace {

constexpr int kTickMs = 10;
const QColor kDisplayBack(215, 229, 248);
const QColor kTextShadow(255, 255, 255);
const QColor kTextColour(11, 3, 103);

QFont displayFont()
{
    return makeFont(QStringLiteral("Tahoma"), 36, true);
}

} // namespace

StageClock::StageClock(StageRecord &stage, const DayClock &clock, QTimer &clockTimer, Surface &clockDisplay,
                       const TimedMessageBox &msgBox, QObject *parent)
    : QObject(parent)
    , m_stage(stage)
    , m_clock(clock)
    , m_clockTimer(clockTimer)
    , m_clockDisplay(clockDisplay)
    , m_questionBox(msgBox)
{
    m_clockTimer.stop();
    m_clockTimer.setInterval(kTickMs);
    m_clockTimer.setTimerType(Qt::PreciseTimer);
    m_clockTimer.setSingleShot(false);

    m_clockDisplay.setBackColor(kDisplayBack);
    m_clockDisplay.setAutoRedraw(true);
    // A display hidden for the whole stage gets no resize before the finish
    // draws the final time into it; that text needs the display font too.
    m_clockDisplay.setFont(displayFont());

    connect(&m_clockTimer, &QTimer::timeout, this, &StageClock::tick);
    connect(&m_clockDisplay, &Surface::resized, this, &StageClock::clockDisplayResized);
}

void StageClock::startClock()
{
    m_stage.startTime = m_clock.secondsSinceMidnight();
    m_clockTimer.start();
}

void StageClock::tick()
{
    readStageClock(m_stage, m_clock);
    const ClockText text = formatClockText(m_stage);
    if (text.limitReached)
        m_clockTimer.stop();
    // Every 10 ms, but the text changes once a second: compare in place.
    if (text.view() != QStringView(m_lastClockText)) {
        m_lastClockText = text.toString();
        drawClockText(m_lastClockText);
    }
    // With a confirmation box open, the confirmation finishes the stage when
    // the box closes, seeing the clock stopped.
    if (!m_clockTimer.isActive() && m_questionBox.openBoxHandle == 0)
        emit finishRequested();
}

void StageClock::drawClockText(const QString &text)
{
    m_clockDisplay.cls();
    drawLayers(text);
    m_clockDisplay.refresh();
}

void StageClock::clockDisplayResized()
{
    m_clockDisplay.setFont(displayFont());
    if (!m_stage.clockOn)
        return;
    // Shown at the display's next repaint; lastClockText stays, so the next
    // change of the reading draws over it.
    m_clockDisplay.cls();
    drawLayers(QStringLiteral("00:00"));
}

void StageClock::showFinalReading()
{
    readStageClock(m_stage, m_clock);
    drawClockText(formatClockText(m_stage).toString());
}

void StageClock::drawLayers(const QString &text)
{
    const double w = m_clockDisplay.width();
    const double h = m_clockDisplay.height();
    const double tw = m_clockDisplay.textWidth(text);
    const double th = m_clockDisplay.textHeight(text);
    m_clockDisplay.setForeColor(kTextShadow);
    m_clockDisplay.printAt((w - tw) / 2 + 2, (h - th) / 2 + 2, text);
    m_clockDisplay.setForeColor(kTextColour);
    m_clockDisplay.printAt((w - tw) / 2, (h - th) / 2, text);
}

} // namespace vk
