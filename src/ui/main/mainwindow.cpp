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
        MainScreenControls{*this, *settingsPanel, *controlStrip, *addressLabel, *addressShadowLabel}, ctx.skin, ctx.run);
    m_strip = new WindowControlStrip(*controlStrip, ctx.skin,
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
    connect(settingsPanel, &Surface::resized, this,
            [this] { layoutSettingsPanel(*settingsPanel, *startButton, *m_clockChoiceLabel, *clockChoice); });
    connect(startButton, &QPushButton::clicked, this, &MainWindow::startClicked);
    startButton->installEventFilter(this);
}

MainWindow::~MainWindow() = default;

void MainWindow::defineControls()
{
    const QFont bold12 = makeFont(QStringLiteral("Tahoma"), 12, true);
    const QFont plain = makeFont(QStringLiteral("Tahoma"), 8.25);

    // Picture boxes keep their own font: painting changes the window's.
    settingsPanel = new Surface(this);
    settingsPanel->setObjectName(QStringLiteral("settingsPanel"));
    settingsPanel->setFont(plain);
    settingsPanel->setGeometry(224, 84, 629, 145);
    settingsPanel->setBackColor(kPanelColour);
    settingsPanel->setAutoRedraw(true);
    settingsPanel->setMousePointer(Surface::Pointer::Arrow);
    settingsPanel->setFocusPolicy(Qt::TabFocus);

    startButton = new QPushButton(QStringLiteral("START"), settingsPanel);
    startButton->setObjectName(QStringLiteral("startButton"));
    startButton->setFont(bold12);
    startButton->setGeometry(212, 84, 175, 45);

    clockChoice = new QComboBox(settingsPanel);
    clockChoice->setObjectName(QStringLiteral("clockChoice"));
    clockChoice->setEditable(false);
    clockChoice->setFont(bold12);
    clockChoice->addItems({QStringLiteral("Yes"), QStringLiteral("No")});
    clockChoice->setCurrentIndex(-1);
    clockChoice->setGeometry(288, 32, 137, 27);

    m_clockChoiceLabel = new QLabel(QStringLiteral("Timer is enabled :"), settingsPanel);
    m_clockChoiceLabel->setObjectName(QStringLiteral("lbBilgi_1"));
    m_clockChoiceLabel->setFont(bold12);
    m_clockChoiceLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setTextColours(*m_clockChoiceLabel, kDarkRed, &kPanelColour);
    m_clockChoiceLabel->move(82, 36);
    m_clockChoiceLabel->adjustSize();

    controlStrip = new Surface(this);
    controlStrip->setObjectName(QStringLiteral("controlStrip"));
    controlStrip->setFont(plain);
    controlStrip->setBackColor(Qt::white);
    controlStrip->setGeometry(88, 26, 43, 17);
    controlStrip->setMousePointer(Surface::Pointer::Arrow);
    controlStrip->setFocusPolicy(Qt::TabFocus);

    // The template stays hidden; its picture is the one the skin holds.
    skinTemplate = new Surface(this);
    skinTemplate->setObjectName(QStringLiteral("skinTemplate"));
    skinTemplate->setFont(plain);
    skinTemplate->hide();
    skinTemplate->setGeometry(600, 322, m_ctx.skin.width(), m_ctx.skin.height());
    skinTemplate->setAutoRedraw(true);
    skinTemplate->setPicture(m_ctx.skin.image());

    const QFont address = makeFont(QStringLiteral("Tahoma"), 9, false, true);
    addressLabel = new QLabel(kAddress, this);
    addressLabel->setObjectName(QStringLiteral("addressLabel"));
    addressLabel->setFont(address);
    setTextColours(*addressLabel, Qt::black, nullptr);
    addressLabel->setCursor(Qt::PointingHandCursor);
    addressLabel->move(56, 100);
    addressLabel->adjustSize();

    addressShadowLabel = new QLabel(kAddress, this);
    addressShadowLabel->setObjectName(QStringLiteral("addressShadowLabel"));
    addressShadowLabel->setFont(address);
    setTextColours(*addressShadowLabel, kShadowGrey, nullptr);
    addressShadowLabel->setCursor(Qt::PointingHandCursor);
    addressShadowLabel->move(62, 114);
    addressShadowLabel->adjustSize();

    // Tab order: the strip, the settings panel, the clock choice, START.
    // The labels and the hidden template never take the focus.
    setTabOrder(controlStrip, settingsPanel);
    setTabOrder(settingsPanel, clockChoice);
    setTabOrder(clockChoice, startButton);
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
    if (watched == startButton && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !key->isAutoRepeat()) {
            startButton->click();
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

} // namespace vk
