#include "ui/main/frmmain.h"

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

FrmMain::FrmMain(AppContext &ctx)
    : Form(kFrmMain, ctx.screen)
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
        MainScreenControls{*this, *picAyarlar, *PFormKontrol, *lbKucukURL, *lbKucukURLGolge}, ctx.skin, ctx.mod);
    m_strip = new WindowControlStrip(*PFormKontrol, ctx.skin,
                                     {
                                         [this] { toggleBackdrop(); },
                                         [this] { showMinimized(); },
                                         [this] { m_backdrop.hideIfOn(); },
                                         [this] { m_ctx.windows.unload(this); },
                                     });
    m_lifecycle = std::make_unique<MainWindowLifecycle>(*this, ctx, plainMessageBox());

    connect(this, &Surface::resized, this, [this] { m_mainScreen->resizeHandling(); });
    connect(this, &Form::activated, this, [this] { m_lifecycle->activation(); });
    connect(this, &Form::unloading, this, &FrmMain::unloadAllWindows);
    connect(picAyarlar, &Surface::resized, this,
            [this] { layoutSettingsPanel(*picAyarlar, *btnStart, *m_lbBilgi1, *cmbTimer); });
    connect(btnStart, &QPushButton::clicked, this, &FrmMain::btnStartClick);
    btnStart->installEventFilter(this);
}

FrmMain::~FrmMain() = default;

void FrmMain::defineControls()
{
    const QFont bold12 = makeFont(QStringLiteral("Tahoma"), 12, true);
    const QFont plain = makeFont(QStringLiteral("Tahoma"), 8.25);

    // Picture boxes keep their own font: painting changes the window's.
    picAyarlar = new Surface(this);
    picAyarlar->setObjectName(QStringLiteral("picAyarlar"));
    picAyarlar->setFont(plain);
    picAyarlar->setGeometry(224, 84, 629, 145);
    picAyarlar->setBackColor(kPanelColour);
    picAyarlar->setAutoRedraw(true);
    picAyarlar->setMousePointer(Surface::Pointer::Arrow);
    picAyarlar->setFocusPolicy(Qt::TabFocus);

    btnStart = new QPushButton(QStringLiteral("START"), picAyarlar);
    btnStart->setObjectName(QStringLiteral("btnStart"));
    btnStart->setFont(bold12);
    btnStart->setGeometry(212, 84, 175, 45);

    cmbTimer = new QComboBox(picAyarlar);
    cmbTimer->setObjectName(QStringLiteral("cmbTimer"));
    cmbTimer->setEditable(false);
    cmbTimer->setFont(bold12);
    cmbTimer->addItems({QStringLiteral("Yes"), QStringLiteral("No")});
    cmbTimer->setCurrentIndex(-1);
    cmbTimer->setGeometry(288, 32, 137, 27);

    m_lbBilgi1 = new QLabel(QStringLiteral("Timer is enabled :"), picAyarlar);
    m_lbBilgi1->setObjectName(QStringLiteral("lbBilgi_1"));
    m_lbBilgi1->setFont(bold12);
    m_lbBilgi1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setTextColours(*m_lbBilgi1, kDarkRed, &kPanelColour);
    m_lbBilgi1->move(82, 36);
    m_lbBilgi1->adjustSize();

    PFormKontrol = new Surface(this);
    PFormKontrol->setObjectName(QStringLiteral("PFormKontrol"));
    PFormKontrol->setFont(plain);
    PFormKontrol->setBackColor(Qt::white);
    PFormKontrol->setGeometry(88, 26, 43, 17);
    PFormKontrol->setMousePointer(Surface::Pointer::Arrow);
    PFormKontrol->setFocusPolicy(Qt::TabFocus);

    // The template stays hidden; its picture is the one the skin holds.
    pSablon = new Surface(this);
    pSablon->setObjectName(QStringLiteral("pSablon"));
    pSablon->setFont(plain);
    pSablon->hide();
    pSablon->setGeometry(600, 322, m_ctx.skin.width(), m_ctx.skin.height());
    pSablon->setAutoRedraw(true);
    pSablon->setPicture(m_ctx.skin.image());

    const QFont address = makeFont(QStringLiteral("Tahoma"), 9, false, true);
    lbKucukURL = new QLabel(kAddress, this);
    lbKucukURL->setObjectName(QStringLiteral("lbKucukURL"));
    lbKucukURL->setFont(address);
    setTextColours(*lbKucukURL, Qt::black, nullptr);
    lbKucukURL->setCursor(Qt::PointingHandCursor);
    lbKucukURL->move(56, 100);
    lbKucukURL->adjustSize();

    lbKucukURLGolge = new QLabel(kAddress, this);
    lbKucukURLGolge->setObjectName(QStringLiteral("lbKucukURLGolge"));
    lbKucukURLGolge->setFont(address);
    setTextColours(*lbKucukURLGolge, kShadowGrey, nullptr);
    lbKucukURLGolge->setCursor(Qt::PointingHandCursor);
    lbKucukURLGolge->move(62, 114);
    lbKucukURLGolge->adjustSize();

    // Tab order: the strip, the settings panel, the clock choice, START.
    // The labels and the hidden template never take the focus.
    setTabOrder(PFormKontrol, picAyarlar);
    setTabOrder(picAyarlar, cmbTimer);
    setTabOrder(cmbTimer, btnStart);
}

void FrmMain::load()
{
    m_lifecycle->load();
}

bool FrmMain::endedEarly() const
{
    return m_lifecycle->endedEarly();
}

void FrmMain::setMessageSink(MessageSink sink)
{
    m_lifecycle->setMessageSink(std::move(sink));
}

void FrmMain::temelYarismaEkraniCiz()
{
    m_mainScreen->temelYarismaEkraniCiz();
}

void FrmMain::placeSettingsPanel()
{
    m_lifecycle->placeSettingsPanel();
}

void FrmMain::unloadAllWindows()
{
    m_lifecycle->unloadAllWindows();
}

void FrmMain::toggleBackdrop()
{
    m_backdrop.toggle(*this);
}

void FrmMain::centerOnWorkArea()
{
    vk::centerOnWorkArea(*this, m_ctx.screen, m_ctx.windows);
}

void FrmMain::screenChanged()
{
    if (m_refitPending)
        return;
    m_refitPending = true;
    QTimer::singleShot(0, this, [this] {
        m_refitPending = false;
        m_lifecycle->fitToScreen();
    });
}

int FrmMain::hotCell() const
{
    return m_strip->hotCell();
}

void FrmMain::btnStartClick()
{
    m_lifecycle->start();
}

void FrmMain::showEvent(QShowEvent *event)
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

void FrmMain::paintEvent(QPaintEvent *event)
{
    Form::paintEvent(event);
    // The icon is for task bars and window lists, not for the first frame:
    // it is read once that frame is on the screen.
    if (!m_iconSet) {
        m_iconSet = true;
        QTimer::singleShot(0, this, [this] { setWindowIcon(programIcon()); });
    }
}

void FrmMain::moveEvent(QMoveEvent *event)
{
    Form::moveEvent(event);
    m_lifecycle->followMove();
}

void FrmMain::changeEvent(QEvent *event)
{
    Form::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        m_lifecycle->followWindowState(static_cast<QWindowStateChangeEvent *>(event)->oldState());
}

bool FrmMain::eventFilter(QObject *watched, QEvent *event)
{
    // START has the focus so that Enter or Space starts a stage at once; a
    // push button outside a dialog takes only Space by itself.
    if (watched == btnStart && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !key->isAutoRepeat()) {
            btnStart->click();
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

} // namespace vk
