#include "ui/main/mainwindow.h"

#include "platform/screenmetrics.h"
#include "skin/controlbuilder.h"
#include "skin/skintemplate.h"
#include "skin/windowdefinitions.h"
#include "ui/main/mainwindowlifecycle.h"
#include "ui/main/settingspanel.h"
#include "ui/main/windowcontrolstrip.h"
#include "ui/main/workarea.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <iterator>

namespace vk {

MainWindow::MainWindow(AppContext &ctx)
    : Form(kMainWindowName, ctx.screen)
    , m_ctx(ctx)
    , m_backdrop(ctx)
{
    const WindowDefinition &definition = mainWindowDefinition();
    applyWindowDefinition(*this, definition);
    const QSize design = definition.designSize;
    const QRect s = ctx.screen.geometry();
    move(s.x() + (s.width() - design.width()) / 2, s.y() + (s.height() - design.height()) / 2);

    defineControls();

    m_mainScreen = std::make_unique<MainScreen>(
        MainScreenControls{*this, *m_settingsPanel, *m_controlStrip, *m_addressLabel, *m_addressShadowLabel}, ctx.skin, ctx.run);
    m_strip = new WindowControlStrip(*m_controlStrip, ctx.skin,
                                     {
                                         [this] { toggleBackdrop(); },
                                         [this] { showMinimized(); },
                                         [this] { m_backdrop.hideIfOn(); },
                                         [this] { m_ctx.windows.unload(this); },
                                     });
    m_lifecycle = std::make_unique<MainWindowLifecycle>(*this, ctx, plainMessageBox());

    connect(this, &Surface::resized, this, [this] {
        m_mainScreen->resizeHandling();
        m_lifecycle->placeStage();
    });
    connect(&ctx.windows, &WindowRegistry::windowUnloaded, this, [this](const QString &name) {
        if (name == kExerciseWindowName)
            m_lifecycle->stageClosed();
    });
    connect(this, &Form::activated, this, [this] { m_lifecycle->activation(); });
    connect(this, &Form::unloading, this, &MainWindow::unloadAllWindows);
    connect(m_settingsPanel, &Surface::resized, this, &MainWindow::layoutSettingsPanel);
    connect(m_factorChoice, &QComboBox::currentIndexChanged, this, &MainWindow::factorChoiceChanged);
    connect(m_startButton, &QPushButton::clicked, this, &MainWindow::startClicked);
    m_startButton->installEventFilter(this);
}

MainWindow::~MainWindow() = default;

void MainWindow::defineControls()
{
    const BuiltControls built = buildControls(*this, mainWindowDefinition(), m_ctx.skin);
    m_settingsPanel = built.get<Surface>("settingsPanel");
    m_startButton = built.get<QPushButton>("startButton");
    m_clockChoice = built.get<QComboBox>("clockChoice");
    m_clockChoiceLabel = built.get<QLabel>("clockChoiceLabel");
    m_factorChoice = built.get<QComboBox>("factorChoice");
    m_factorChoiceLabel = built.get<QLabel>("factorChoiceLabel");
    m_controlStrip = built.get<Surface>("controlStrip");
    m_skinTemplate = built.get<Surface>("skinTemplate");
    m_addressLabel = built.get<QLabel>("addressLabel");
    m_addressShadowLabel = built.get<QLabel>("addressShadowLabel");
}

void MainWindow::load()
{
    m_lifecycle->load();
}

bool MainWindow::endedEarly() const
{
    return m_lifecycle->endedEarly();
}

void MainWindow::setMessageSink(MessageSink sink)
{
    m_lifecycle->setMessageSink(std::move(sink));
}

void MainWindow::paintMainScreen()
{
    m_mainScreen->paintMainScreen();
}

void MainWindow::placeSettingsPanel()
{
    m_lifecycle->placeSettingsPanel();
}

void MainWindow::unloadAllWindows()
{
    m_lifecycle->unloadAllWindows();
}

void MainWindow::toggleBackdrop()
{
    m_backdrop.toggle(*this);
}

void MainWindow::centerOnWorkArea()
{
    vk::centerOnWorkArea(*this, m_ctx.screen);
}

void MainWindow::screenChanged()
{
    if (m_refitPending)
        return;
    m_refitPending = true;
    QTimer::singleShot(0, this, [this] {
        m_refitPending = false;
        m_lifecycle->fitToScreen();
    });
}

int MainWindow::hotCell() const
{
    return m_strip->hotCell();
}

void MainWindow::startClicked()
{
    m_lifecycle->start();
}

void MainWindow::layoutSettingsPanel()
{
    vk::layoutSettingsPanel(*m_settingsPanel, *m_startButton, *m_clockChoiceLabel, *m_clockChoice, *m_factorChoiceLabel,
                            *m_factorChoice);
}

void MainWindow::factorChoiceChanged()
{
    m_mainScreen->setTitleDigits(chosenFactorDigits(*m_factorChoice));
    // A window not shown yet paints its title when it is; a stage shows
    // the title again when it has gone.
    if (isVisible() && !isMinimized() && !m_ctx.run.stageActive)
        paintMainScreen();
}

void MainWindow::showEvent(QShowEvent *event)
{
    // Centred on the screen with the size start-up gave it, unless start-up
    // placed it itself; a window wider than the screen keeps its left edge
    // on the screen.
    if (m_centreWhenShown) {
        m_centreWhenShown = false;
        const QRect s = m_ctx.screen.geometry();
        move(std::max(s.x(), s.x() + (s.width() - width()) / 2), std::max(s.y(), s.y() + (s.height() - height()) / 2));
    }
    Form::showEvent(event);
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    Form::paintEvent(event);
    // The icon is for task bars and window lists, not for the first frame:
    // it is read once that frame is on the screen.
    if (!m_iconSet) {
        m_iconSet = true;
        QTimer::singleShot(0, this, [this] { setWindowIcon(programIcon()); });
    }
}

void MainWindow::mousePressEvent(QMouseEvent *event)
{
    Form::mousePressEvent(event);
    // The strip is a control of its own; anywhere else on the band a press
    // of the left button starts a move of the window.
    if (event->button() == Qt::LeftButton && event->position().y() < m_lifecycle->bandHeight())
        m_mover.begin(event->globalPosition().toPoint());
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    Form::mouseMoveEvent(event);
    m_mover.follow(*this, event->globalPosition().toPoint());
}

void MainWindow::mouseReleaseEvent(QMouseEvent *event)
{
    Form::mouseReleaseEvent(event);
    m_mover.end();
}

bool MainWindow::focusNextPrevChild(bool next)
{
    // While a stage is shown the keyboard stays on it.
    if (m_lifecycle->stageShown()) {
        m_lifecycle->activation();
        return true;
    }
    // On the start screen Tab goes from START to the clock choice, to the
    // factors' length and back to START (Shift+Tab the other way), and
    // nowhere else: no stop without a mark of its own.
    QWidget *const stops[] = {m_startButton, m_clockChoice, m_factorChoice};
    const auto at = std::find(std::begin(stops), std::end(stops), focusWidget()) - std::begin(stops);
    const qsizetype count = std::size(stops);
    const qsizetype to = at == count ? 0 : (at + (next ? 1 : count - 1)) % count;
    stops[to]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // START has the focus so that Enter or Space starts a stage at once; a
    // push button outside a dialog takes only Space by itself.
    if (watched == m_startButton && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !key->isAutoRepeat()) {
            m_startButton->click();
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

} // namespace vk
