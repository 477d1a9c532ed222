#include "ui/main/mainwindow.h"

#include "platform/fonts.h"
#include "platform/screenmetrics.h"
#include "ui/main/mainwindowlifecycle.h"
#include "skin/skintemplate.h"
#include "ui/main/settingspanel.h"
#include "ui/main/windowcontrolstrip.h"
#include "ui/main/workarea.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace vk {

namespace {
const QColor kPanelColour(197, 214, 237);
const QColor kDarkRed(192, 0, 0);
const QColor kShadowGrey(207, 207, 207);
const QString kAddress = QStringLiteral("www.kelvaris.example");

void setTextColours(QLabel &label, const QColor &text, const QColor *background)
{
    QPalette pal = label.palette();
    pal.setColor(QPalette::WindowText, text);
    if (background)
        pal.setColor(QPalette::Window, *background);
    label.setPalette(pal);
    label.setAutoFillBackground(background != nullptr);
}
} // namespace

MainWindow::MainWindow(AppContext &ctx)
    : Form(kMainWindowName, ctx.screen)
    , m_ctx(ctx)
    , m_backdrop(ctx)
{
    setWindowTitle(QStringLiteral("Kelvaris Ostravel"));
    setBackColor(kPanelColour);
    setFont(makeFont(QStringLiteral("Tahoma"), 8.25));
    resize(kDesignWidth, kDesignHeight);
    const QRect s = ctx.screen.geometry();
    move(s.x() + (s.width() - kDesignWidth) / 2, s.y() + (s.height() - kDesignHeight) / 2);

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

    connect(this, &Surface::resized, this, [this] { m_mainScreen->resizeHandling(); });
    connect(this, &Form::activated, this, [this] { m_lifecycle->activation(); });
    connect(this, &Form::unloading, this, &MainWindow::unloadAllWindows);
    connect(m_settingsPanel, &Surface::resized, this,
            [this] { layoutSettingsPanel(*m_settingsPanel, *m_startButton, *m_clockChoiceLabel, *m_clockChoice); });
    connect(m_startButton, &QPushButton::clicked, this, &MainWindow::startClicked);
    m_startButton->installEventFilter(this);
}

MainWindow::~MainWindow() = default;

void MainWindow::defineControls()
{
    const QFont bold12 = makeFont(QStringLiteral("Tahoma"), 12, true);
    const QFont plain = makeFont(QStringLiteral("Tahoma"), 8.25);

    // Picture boxes keep their own font: painting changes the window's.
    m_settingsPanel = new Surface(this);
    m_settingsPanel->setObjectName(QStringLiteral("settingsPanel"));
    m_settingsPanel->setFont(plain);
    m_settingsPanel->setGeometry(224, 84, 629, 145);
    m_settingsPanel->setBackColor(kPanelColour);
    m_settingsPanel->setAutoRedraw(true);
    m_settingsPanel->setMousePointer(Surface::Pointer::Arrow);
    m_settingsPanel->setFocusPolicy(Qt::TabFocus);

    m_startButton = new QPushButton(QStringLiteral("START"), m_settingsPanel);
    m_startButton->setObjectName(QStringLiteral("startButton"));
    m_startButton->setFont(bold12);
    m_startButton->setGeometry(212, 84, 175, 45);

    m_clockChoice = new QComboBox(m_settingsPanel);
    m_clockChoice->setObjectName(QStringLiteral("clockChoice"));
    m_clockChoice->setEditable(false);
    m_clockChoice->setFont(bold12);
    m_clockChoice->addItems({QStringLiteral("Yes"), QStringLiteral("No")});
    m_clockChoice->setCurrentIndex(-1);
    m_clockChoice->setGeometry(288, 32, 137, 27);

    m_clockChoiceLabel = new QLabel(QStringLiteral("Timer is enabled :"), m_settingsPanel);
    m_clockChoiceLabel->setObjectName(QStringLiteral("lbBilgi_1"));
    m_clockChoiceLabel->setFont(bold12);
    m_clockChoiceLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setTextColours(*m_clockChoiceLabel, kDarkRed, &kPanelColour);
    m_clockChoiceLabel->move(82, 36);
    m_clockChoiceLabel->adjustSize();

    m_controlStrip = new Surface(this);
    m_controlStrip->setObjectName(QStringLiteral("controlStrip"));
    m_controlStrip->setFont(plain);
    m_controlStrip->setBackColor(Qt::white);
    m_controlStrip->setGeometry(88, 26, 43, 17);
    m_controlStrip->setMousePointer(Surface::Pointer::Arrow);
    m_controlStrip->setFocusPolicy(Qt::TabFocus);

    // The template stays hidden; its picture is the one the skin holds.
    m_skinTemplate = new Surface(this);
    m_skinTemplate->setObjectName(QStringLiteral("skinTemplate"));
    m_skinTemplate->setFont(plain);
    m_skinTemplate->hide();
    m_skinTemplate->setGeometry(600, 322, m_ctx.skin.width(), m_ctx.skin.height());
    m_skinTemplate->setAutoRedraw(true);
    m_skinTemplate->setPicture(m_ctx.skin.image());

    const QFont address = makeFont(QStringLiteral("Tahoma"), 9, false, true);
    m_addressLabel = new QLabel(kAddress, this);
    m_addressLabel->setObjectName(QStringLiteral("addressLabel"));
    m_addressLabel->setFont(address);
    setTextColours(*m_addressLabel, Qt::black, nullptr);
    m_addressLabel->setCursor(Qt::PointingHandCursor);
    m_addressLabel->move(56, 100);
    m_addressLabel->adjustSize();

    m_addressShadowLabel = new QLabel(kAddress, this);
    m_addressShadowLabel->setObjectName(QStringLiteral("addressShadowLabel"));
    m_addressShadowLabel->setFont(address);
    setTextColours(*m_addressShadowLabel, kShadowGrey, nullptr);
    m_addressShadowLabel->setCursor(Qt::PointingHandCursor);
    m_addressShadowLabel->move(62, 114);
    m_addressShadowLabel->adjustSize();

    // Tab order: the strip, the settings panel, the clock choice, START.
    // The labels and the hidden template never take the focus.
    setTabOrder(m_controlStrip, m_settingsPanel);
    setTabOrder(m_settingsPanel, m_clockChoice);
    setTabOrder(m_clockChoice, m_startButton);
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
    vk::centerOnWorkArea(*this, m_ctx.screen, m_ctx.windows);
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

void MainWindow::moveEvent(QMoveEvent *event)
{
    Form::moveEvent(event);
    m_lifecycle->followMove();
}

void MainWindow::changeEvent(QEvent *event)
{
    Form::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        m_lifecycle->followWindowState(static_cast<QWindowStateChangeEvent *>(event)->oldState());
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
