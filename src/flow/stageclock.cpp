#include "flow/stageclock.h"

#include "flow/clockrules.h"
#include "msgbox/timedmessagebox.h"
#include "platform/dayclock.h"
#include "platform/fonts.h"
#include "platform/surface.h"
#include "stage/stage.h"

#include <QFontMetrics>
#include <QTimer>

#include <algorithm>
#include <cmath>

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
    resetPieces();

    connect(&m_clockTimer, &QTimer::timeout, this, &StageClock::tick);
    connect(&m_clockDisplay, &Surface::resized, this, &StageClock::clockDisplayResized);
}

void StageClock::startClock()
{
    m_stage.startTime = m_clock.secondsSinceMidnight();
    m_sameText = {};
    m_clockTimer.start();
}

void StageClock::tick()
{
    readStageClock(m_stage, m_clock);
    // Every 10 ms, but the text changes once a second: within the second the
    // last text was made for, this comparison is all there is to do.
    if (m_sameText.contains(m_stage.elapsedTime) && m_clockTimer.isActive()) {
        m_pieces.prepareNext();
        return;
    }
    const ClockText text = formatClockText(m_stage);
    m_sameText = sameClockText(m_stage);
    if (text.limitReached)
        m_clockTimer.stop();
    if (text.view() != QStringView(m_lastClockText)) {
        m_lastClockText = text.toString();
        drawClockText(m_lastClockText);
    } else if (m_clockTimer.isActive()) {
        m_pieces.prepareNext();
    }
    // With a confirmation box open, the confirmation finishes the stage when
    // the box closes, seeing the clock stopped.
    if (!m_clockTimer.isActive() && m_questionBox.openBoxHandle == 0)
        emit finishRequested();
}

void StageClock::drawClockText(const QString &text)
{
    if (const ClockPieces::Change change = m_pieces.change(m_clockDisplay.size(), m_drawnText, text); change.piece) {
        const QImage &piece = *change.piece;
        m_clockDisplay.bitBlt(change.at.x(), change.at.y(), piece.width(), piece.height(), piece, 0, 0);
        m_clockDisplay.refresh();
        m_drawnText = text;
        return;
    }
    const int width = m_clockDisplay.textWidth(text);
    const QRect area = changedArea(text, width);
    m_clockDisplay.setDrawingClip(area);
    m_clockDisplay.cls();
    drawLayers(text, width);
    m_clockDisplay.refresh();
    m_clockDisplay.clearDrawingClip();
    m_pieces.keep(m_drawnText, text, m_clockDisplay.keptImage());
    m_drawnText = text;
    m_drawnWidth = width;
}

QRect StageClock::changedArea(const QString &text, int textWidth) const
{
    // The characters before the first changed one stand where they stood
    // only if the text is as long and as wide as before (it is centred).
    if (m_drawnText.isEmpty() || m_drawnText.size() != text.size() || m_drawnWidth != textWidth)
        return {};
    qsizetype first = 0;
    while (first < text.size() && text[first] == m_drawnText[first])
        ++first;
    if (first == 0 || first == text.size())
        return {};
    // From a little left of where the first changed character starts to the
    // right edge: the margin takes in a glyph that reaches left of its
    // advance, kerning and the edge pixels of antialiasing; the shadow
    // lies to the right.
    const QFontMetrics metrics(m_clockDisplay.font());
    int reachLeft = 0;
    for (const QChar c : {text[first], m_drawnText[first]})
        reachLeft = std::max(reachLeft, -metrics.leftBearing(c));
    const int margin = std::max(metrics.height() / 4, reachLeft + 2);
    const double textLeft = (m_clockDisplay.width() - textWidth) / 2.0;
    const int left = static_cast<int>(std::floor(textLeft + metrics.horizontalAdvance(text.left(first)))) - margin;
    if (left <= 0)
        return {};
    return QRect(left, 0, m_clockDisplay.width() - left, m_clockDisplay.height());
}

void StageClock::clockDisplayResized()
{
    m_drawnText.clear();
    m_clockDisplay.setFont(displayFont());
    resetPieces();
    if (!m_stage.clockOn)
        return;
    // Shown at the display's next repaint; lastClockText stays, so the next
    // change of the reading draws over it.
    m_clockDisplay.cls();
    const QString zero = QStringLiteral("00:00");
    drawLayers(zero, m_clockDisplay.textWidth(zero));
}

void StageClock::showFinalReading()
{
    readStageClock(m_stage, m_clock);
    drawClockText(formatClockText(m_stage).toString());
}

void StageClock::drawLayers(const QString &text, int textWidth)
{
    const QPointF origin = ClockPieces::textOrigin(m_clockDisplay.size(), textWidth, m_clockDisplay.textHeight(text));
    m_clockDisplay.setForeColor(kTextShadow);
    m_clockDisplay.printAt(origin.x() + ClockPieces::kShadowOffset, origin.y() + ClockPieces::kShadowOffset, text);
    m_clockDisplay.setForeColor(kTextColour);
    m_clockDisplay.printAt(origin.x(), origin.y(), text);
}

void StageClock::resetPieces()
{
    // Pieces stand for the display's own drawing over its back colour; a
    // display with a picture under its text has none, and neither has one
    // drawn at a scale above 100 % (the pieces are cut at 100 %).
    const bool plain = !m_clockDisplay.hasPicture() && m_clockDisplay.imageScale() == 1;
    const QSize size = plain ? m_clockDisplay.size() : QSize();
    m_pieces.reset({size, m_clockDisplay.font(), kDisplayBack, kTextShadow, kTextColour});
}

} // namespace vk
