#include "ui/main/mainwindowlifecycle.h"

#include "skin/appcontext.h"
#include "ui/main/dockedplacement.h"
#include "ui/main/screenfit.h"
#include "ui/main/frmmain.h"
#include "ui/main/settingspanel.h"
#include "ui/main/windowcontrolstrip.h"
#include "ui/main/workarea.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace vk {

MainWindowLifecycle::MainWindowLifecycle(FrmMain &frm, AppContext &ctx, MessageSink messages)
    : m_frm(frm)
    , m_ctx(ctx)
    , m_messages(std::move(messages))
{
}

void MainWindowLifecycle::load()
{
    m_frm.cmbTimer->setCurrentIndex(0);

    const ScreenFit fit = screenFit(m_ctx.screen);
    if (fit == ScreenFit::TooSmall) {
        if (m_messages)
            m_messages(kScreenTooSmallMessage);
        m_endedEarly = true;
        return;
    }
    const TwipsRect current{m_frm.twLeft(), m_frm.twTop(), m_frm.twWidth(), m_frm.twHeight()};
    const TwipsRect placed = mainWindowPlacement(fit, m_ctx.screen, current);
    if (fit == ScreenFit::FillScreen)
        m_frm.m_centreWhenShown = false;
    m_frm.moveTw(placed.left, placed.top, placed.width, placed.height);
    // The size change runs the resize handling now, as it would on a shown
    // window; Qt holds a hidden window's resize back until it is shown.
    m_frm.mainScreen().resizeHandling();

    copyStripGlyphs();
    m_ctx.mod.stageActive = false;
    placeSettingsPanel();
}

void MainWindowLifecycle::copyStripGlyphs()
{
    m_frm.strip().copyInitialGlyphs();
}

TwipsRect MainWindowLifecycle::mainRect() const
{
    return {m_frm.twLeft(), m_frm.twTop(), m_frm.twWidth(), m_frm.twHeight()};
}

void MainWindowLifecycle::activation()
{
    for (Form *docked : dockedWindows(m_ctx.windows)) {
        if (docked->isVisible() && !docked->isMinimized()) {
            docked->raise();
            docked->activateWindow();
            return;
        }
    }
    // Enter or Space starts a stage at once.
    m_frm.btnStart->setFocus(Qt::ActiveWindowFocusReason);
}

void MainWindowLifecycle::followMove()
{
    if (!m_frm.isVisible() || m_frm.isMinimized())
        return;
    dockWindows(mainRect(), m_ctx.windows);
}

void MainWindowLifecycle::followWindowState(Qt::WindowStates oldState)
{
    const bool minimised = m_frm.isMinimized();
    if (minimised == oldState.testFlag(Qt::WindowMinimized))
        return;
    const QList<Form *> docked = dockedWindows(m_ctx.windows);
    for (Form *form : docked) {
        if (minimised)
            form->showMinimized();
        else
            form->showNormal();
    }
    if (minimised || docked.isEmpty())
        return;
    followMove();
    docked.first()->raise();
    docked.first()->activateWindow();
}

void MainWindowLifecycle::fitToScreen()
{
    if (m_endedEarly)
        return;
    const TwipsRect fitted = mainWindowRefit(m_ctx.screen, mainRect());
    m_frm.moveTw(fitted.left, fitted.top, fitted.width, fitted.height);
    placeSettingsPanel();
    // Painted again with the panel in its new place: its frame is part of
    // the window's picture.
    if (!m_frm.isMinimized())
        m_frm.temelYarismaEkraniCiz();
    dockWindows(fitted, m_ctx.windows);
    if (Form *backdrop = m_ctx.windows.find(kFrmZFon))
        backdrop->screenChanged();
}

void MainWindowLifecycle::placeSettingsPanel()
{
    if (m_frm.isMinimized())
        m_frm.showNormal();
    Surface &panel = *m_frm.picAyarlar;
    moveControl(panel, (m_frm.scaleWidth() - kPanelWidth) / 2, m_frm.scaleHeight() - 190, kPanelWidth, kPanelHeight);
    panel.show();
    // A hidden window holds the panel's resize back until it is shown;
    // lay the children out for the working size now.
    if (!panel.isVisible())
        layoutSettingsPanel(panel, *m_frm.btnStart, *m_frm.lbBilgi(1), *m_frm.cmbTimer);
}

void MainWindowLifecycle::start()
{
    // Before the stage window loads: its load copies the choice.
    m_ctx.mod.timerEnabled = m_frm.cmbTimer->currentIndex() == 0;
    m_ctx.mod.stageActive = true;

    const TwipsRect main = mainRect();
    if (Form *stage = m_ctx.windows.get(kFrmVendrakul)) {
        const TwipsRect docked = dockedPlacement(main);
        stage->moveTw(docked.left, docked.top, docked.width, docked.height);
        stage->showOwned(&m_frm);
    }
    m_frm.temelYarismaEkraniCiz();
}

void MainWindowLifecycle::unloadAllWindows()
{
    // A running stage is dropped as it stands: no evaluation, no question.
    for (Form *form : m_ctx.windows.loaded()) {
        if (form != &m_frm)
            m_ctx.windows.unload(form);
    }
}

} // namespace vk
