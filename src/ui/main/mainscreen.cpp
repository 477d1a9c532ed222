#include "ui/main/mainscreen.h"

#include "platform/drawtext.h"
#include "platform/form.h"
#include "platform/movecontrol.h"
#include "platform/rounding.h"
#include "skin/runstate.h"
#include "skin/skinframe.h"
#include "skin/skintemplate.h"
#include "skin/templatemap.h"

#include <QWidget>

namespace vk {

namespace {
const QColor kWhite(255, 255, 255);
const QColor kDarkRed(192, 0, 0);
} // namespace

StartScreenLayout startScreenLayout(int width, double scaleHeight, int titleHeight)
{
    StartScreenLayout l;
    l.g = roundHalfEven(scaleHeight - 305 - 37 - titleHeight);
    l.logoTop = roundHalfEven((l.g - 300) / 2.0 + titleHeight + 167);
    l.logo = QPoint(roundHalfEven((width - skin::kLargeLogo.width()) / 2.0), l.logoTop);
    l.slogan = QPoint(roundHalfEven((width - skin::kSlogan.width()) / 2.0), l.logoTop - 75);
    return l;
}

QString mainTitleText(int factorDigits)
{
    return QStringLiteral("KELVARIS VENDRAKUL\r\n%1 DIGIT NUMBERS").arg(factorDigits);
}

MainScreen::MainScreen(MainScreenControls controls, const SkinTemplate &skin, RunState &run)
    : m_c(controls)
    , m_skin(skin)
    , m_run(run)
    , m_titleHeight([](const Form &window, const QString &title) { return window.textHeight(title); })
    , m_titleDigits(run.factorDigits)
{
}

void MainScreen::paintMainScreen()
{
    using namespace skin;
    Form &win = m_c.window;
    const QImage &t = m_skin.image(win.imageScale());
    const QSize ts = m_skin.size();

    const int w = roundHalfEven(win.scaleWidth());
    const int h = roundHalfEven(win.scaleHeight());
    win.setAutoRedraw(true);
    win.cls();

    // Bands and borders are tiled while the tile's start lies inside the
    // window (real division): the last tile may be clipped at the edge.
    const int across = Surface::tileCount(w, 10);
    const int down = Surface::tileCount(h, 10);
    win.tilePiece(t, m_run.stageActive ? kStageTopBand : kStartTopBand, 0, 0, across, 1);
    win.tilePiece(t, bottomBand(ts), 0, h - 20, across, 1);
    win.tilePiece(t, kLeftBorder, 0, 0, 1, down);
    win.tilePiece(t, rightBorder(ts), w - 20, 0, 1, down);

    if (m_run.stageActive)
        paintStageLook(w);
    else
        paintStartLook(w, h);

    placeAddressLabels();

    // The frame painter leaves the kept image switched off; the bottom
    // corners still belong to the kept picture.
    win.setAutoRedraw(true);
    win.copyPiece(t, bottomLeftCorner(ts), 0, h - 40);
    win.copyPiece(t, bottomRightCorner(ts), w - 40, h - 40);
    win.refresh();
    win.setAutoRedraw(false);
}

void MainScreen::paintStageLook(int w)
{
    Form &win = m_c.window;
    const QImage &t = m_skin.image(win.imageScale());
    win.copyPiece(t, skin::kStageHeaderBlock, 0, 0);
    win.copyPiece(t, skin::kStageHeaderEnd, w - 30, 0);
    // The stage look only sets the font; the next start screen inherits the face.
    QFont f = win.font();
    f.setFamily(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPointSizeF(12);
    win.setFont(f);
}

void MainScreen::paintStartLook(int w, int h)
{
    Form &win = m_c.window;
    const QImage &t = m_skin.image(win.imageScale());
    win.copyPiece(t, skin::kTopLeftCorner, 0, 0);
    win.copyPiece(t, skin::topRightCorner(m_skin.size()), w - 30, 0);

    // Bold and 28 points on whatever face the window has now.
    QFont f = win.font();
    f.setBold(true);
    f.setPointSizeF(28);
    win.setFont(f);

    const QString title = mainTitleText(m_titleDigits);
    win.setForeColor(kWhite);
    m_run.textRect.set(4, 77, w, h);
    win.drawText(m_run.textRect, dt::Center, title);
    win.setForeColor(kDarkRed);
    m_run.textRect.set(0, 75, w, h);
    win.drawText(m_run.textRect, dt::Center, title);

    const StartScreenLayout layout = startScreenLayout(w, win.scaleHeight(), m_titleHeight(win, title));
    m_logoTop = layout.logoTop;
    win.copyPiece(t, skin::kLargeLogo, layout.logo.x(), layout.logo.y());
    win.copyPiece(t, skin::kSlogan, layout.slogan.x(), layout.slogan.y());

    drawSkinFrame(win, m_c.settingsPanel, m_skin);
}

void MainScreen::placeAddressLabels()
{
    QWidget &url = m_c.addressLabel;
    QWidget &shadow = m_c.addressShadowLabel;
    url.raise();
    url.move(m_c.controlStrip.x() - url.width() - 20, 3);
    shadow.move(url.x() + 1, url.y() + 1);
}

void MainScreen::resizeHandling()
{
    Form &win = m_c.window;
    if (win.isMinimized())
        return;
    paintMainScreen();
    moveControl(m_c.controlStrip, win.scaleWidth() - kStripRightGap, kStripTop, kStripWidth, kStripHeight);
}

} // namespace vk
