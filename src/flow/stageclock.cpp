#include "flow/stageclock.h"

#include "flow/clockrules.h"
#include "msgbox/modmsgbox.h"
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

StageClock::StageClock(StageRecord &stage, const DayClock &clock, QTimer &trmSure, Surface &picTime,
                       const ModMsgBox &msgBox, QObject *parent)
    : QObject(parent)
    , m_stage(stage)
    , m_clock(clock)
    , m_trmSure(trmSure)
    , m_picTime(picTime)
    , m_msgBox(msgBox)
{
    m_trmSure.stop();
    m_trmSure.setInterval(kTickMs);
    m_trmSure.setTimerType(Qt::PreciseTimer);
    m_trmSure.setSingleShot(false);

    m_picTime.setBackColor(kDisplayBack);
    m_picTime.setAutoRedraw(true);
    // A display hidden for the whole stage gets no resize before the finish
    // draws the final time into it; that text needs the display font too.
    m_picTime.setFont(displayFont());

    connect(&m_trmSure, &QTimer::timeout, this, &StageClock::tick);
    connect(&m_picTime, &Surface::resized, this, &StageClock::picTimeResize);
}

void StageClock::startClock()
{
    m_stage.startTime = m_clock.secondsSinceMidnight();
    m_trmSure.start();
}

void StageClock::tick()
{
    readStageClock(m_stage, m_clock);
    const ClockText text = formatClockText(m_stage);
    if (text.limitReached)
        m_trmSure.stop();
    // Every 10 ms, but the text changes once a second: compare in place.
    if (text.view() != QStringView(m_lastClockText)) {
        m_lastClockText = text.toString();
        drawClockText(m_lastClockText);
    }
    // With a confirmation box open, the confirmation finishes the stage when
    // the box closes, seeing the clock stopped.
    if (!m_trmSure.isActive() && m_msgBox.msgBoxWnd == 0)
        emit finishRequested();
}

void StageClock::drawClockText(const QString &text)
{
    m_picTime.cls();
    drawLayers(text);
    m_picTime.refresh();
}

void StageClock::picTimeResize()
{
    m_picTime.setFont(displayFont());
    if (!m_stage.clockOn)
        return;
    // Shown at the display's next repaint; lastClockText stays, so the next
    // change of the reading draws over it.
    m_picTime.cls();
    drawLayers(QStringLiteral("00:00"));
}

void StageClock::showFinalReading()
{
    readStageClock(m_stage, m_clock);
    drawClockText(formatClockText(m_stage).toString());
}

void StageClock::drawLayers(const QString &text)
{
    const double w = m_picTime.width();
    const double h = m_picTime.height();
    const double tw = m_picTime.textWidth(text);
    const double th = m_picTime.textHeight(text);
    m_picTime.setForeColor(kTextShadow);
    m_picTime.printAt((w - tw) / 2 + 2, (h - th) / 2 + 2, text);
    m_picTime.setForeColor(kTextColour);
    m_picTime.printAt((w - tw) / 2, (h - th) / 2, text);
}

} // namespace vk
