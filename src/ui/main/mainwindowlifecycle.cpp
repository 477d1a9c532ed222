#include "ui/main/mainwindowlifecycle.h"

#include "platform/movecontrol.h"
#include "platform/screenmetrics.h"
#include "skin/appcontext.h"
#include "ui/main/dockedplacement.h"
#include "ui/main/screenfit.h"
#include "ui/main/mainwindow.h"
#include "ui/main/settingspanel.h"
#include "ui/main/windowcontrolstrip.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace vk {

MainWindowLifecycle::MainWindowLifecycle(MainWindow &main, AppContext &ctx, MessageSink messages)
    : m_main(main)
    , m_ctx(ctx)
    , m_messages(std::move(messages))
{
}

void MainWindowLifecycle::load()
{
    m_main.clockChoice().setCurrentIndex(0);
    chooseFactorDigits(m_main.factorChoice(), m_ctx.run.factorDigits);

    const ScreenFit fit = screenFit(m_ctx.screen);
    if (fit == ScreenFit::TooSmall) {
        if (m_messages)
            m_messages(kScreenTooSmallMessage);
        m_endedEarly = true;
        return;
    }
    const TwipsRect current{m_main.twLeft(), m_main.twTop(), m_main.twWidth(), m_main.twHeight()};
    const TwipsRect placed = mainWindowPlacement(fit, m_ctx.screen, current);
    if (fit == ScreenFit::FillScreen)
        m_main.m_centreWhenShown = false;
    m_main.moveTw(placed.left, placed.top, placed.width, placed.height);
    // The size change runs the resize handling now, as it would on a shown
    // window; Qt holds a hidden window's resize back until it is shown.
    m_main.mainScreen().resizeHandling();

    copyStripGlyphs();
    m_ctx.run.stageActive = false;
    placeSettingsPanel();
}

void MainWindowLifecycle::copyStripGlyphs()
{
    m_main.strip().copyInitialGlyphs();
}

TwipsRect MainWindowLifecycle::mainRect() const
{
    return {m_main.twLeft(), m_main.twTop(), m_main.twWidth(), m_main.twHeight()};
}

Form *MainWindowLifecycle::shownStage() const
{
    Form *stage = m_ctx.windows.find(kExerciseWindowName);
    return stage && stage->parentWidget() == &m_main && stage->isVisible() ? stage : nullptr;
}

void MainWindowLifecycle::activation()
{
    if (Form *stage = shownStage()) {
        stage->takeKeyboard();
        return;
    }
    // Enter or Space starts a stage at once.
    m_main.startButton().setFocus(Qt::ActiveWindowFocusReason);
}

void MainWindowLifecycle::stageClosed()
{
    if (m_main.isActiveWindow())
        m_main.startButton().setFocus(Qt::OtherFocusReason);
}

void MainWindowLifecycle::placeStage()
{
    if (Form *stage = shownStage())
        stage->setGeometry(dockedArea(m_main.size(), m_ctx.screen.twipsPerPixelY()));
}

int MainWindowLifecycle::bandHeight() const
{
    return dockedArea(m_main.size(), m_ctx.screen.twipsPerPixelY()).top();
}

void MainWindowLifecycle::fitToScreen()
{
    if (m_endedEarly)
        return;
    const TwipsRect fitted = mainWindowRefit(m_ctx.screen, mainRect());
    m_main.moveTw(fitted.left, fitted.top, fitted.width, fitted.height);
    // The panel goes to its new place; a minimised window stays as it is.
    movePanel();
    // Painted again with the panel in its new place: its frame is part of
    // the window's picture.
    if (!m_main.isMinimized())
        m_main.paintMainScreen();
    if (Form *backdrop = m_ctx.windows.find(kBackdropWindowName))
        backdrop->screenChanged();
}

void MainWindowLifecycle::placeSettingsPanel()
{
    if (m_main.isMinimized())
        m_main.showNormal();
    movePanel();
}

void MainWindowLifecycle::movePanel()
{
    Surface &panel = m_main.settingsPanel();
    moveControl(panel, (m_main.scaleWidth() - kPanelWidth) / 2, m_main.scaleHeight() - 190, kPanelWidth, kPanelHeight);
    panel.show();
    // A hidden window holds the panel's resize back until it is shown;
    // lay the children out for the working size now.
    if (!panel.isVisible())
        m_main.layoutSettingsPanel();
}

void MainWindowLifecycle::start()
{
    // Before the stage window loads: its load copies the choice.
    m_ctx.run.timerEnabled = m_main.clockChoice().currentIndex() == 0;
    m_ctx.run.factorDigits = chosenFactorDigits(m_main.factorChoice());
    m_ctx.run.stageActive = true;

    if (Form *stage = m_ctx.windows.get(kExerciseWindowName))
        stage->showInside(&m_main, dockedArea(m_main.size(), m_ctx.screen.twipsPerPixelY()));
    m_main.paintMainScreen();
}

void MainWindowLifecycle::unloadAllWindows()
{
    // A running stage is dropped as it stands: no evaluation, no question.
    for (Form *form : m_ctx.windows.loaded()) {
        if (form != &m_main)
            m_ctx.windows.unload(form);
    }
}

} // namespace vk
