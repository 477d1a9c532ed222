#include "skin/frmvendrakul.h"

#include "flow/confirmfinish.h"
#include "flow/stageclock.h"
#include "grid/flexgrid.h"
#include "platform/dayclock.h"
#include "platform/fonts.h"
#include "platform/screenmetrics.h"
#include "platform/surface.h"
#include "shell/appcontext.h"
#include "skin/skinframe.h"
#include "skin/skintemplate.h"
#include "stage/evaluation.h"
#include "ui/exercise/drawnbutton.h"
#include "ui/exercise/exercisewindowpainter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPalette>
#include <QTimer>

namespace vk {
namespace {

constexpr int kMarkerCount = 20;

const QColor kWindowBack(197, 214, 237);
const QColor kClockBack(215, 229, 248);
const QColor kResultBack(255, 192, 255);
const QColor kMarkerBack(229, 249, 128);

// The three pictures the window is defined with, decoded once per run:
// every START builds the window afresh.
struct DefinedPictures {
    QImage wrong = wrongPicture();
    QImage correct = correctPicture();
    QImage marker = markerPicture();
};

const DefinedPictures &definedPictures()
{
    static const DefinedPictures pictures;
    return pictures;
}

QColor windowTextColour()
{
    return QApplication::palette().color(QPalette::WindowText);
}

Surface *pictureBox(QWidget *container, const QColor &back, const QColor &fore, const QRect &design)
{
    auto *box = new Surface(container);
    box->setBackColor(back);
    box->setForeColor(fore);
    box->setGeometry(design);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

} // namespace

FrmVendrakul::FrmVendrakul(AppContext &ctx)
    : Form(kFrmVendrakul, ctx.screen)
    , m_ctx(ctx)
{
    createControls();
    m_clock = std::make_unique<StageClock>(m_stage, ctx.clock, *trmSure, *picTime, m_msgBox);
    m_sheet = std::make_unique<AnswerSheet>(m_stage, *gSoru, *this);
    m_backButton = std::make_unique<DrawnButton>(*btnBack, QStringLiteral("BACK"), m_stage.backState, ctx.skin,
                                                 ctx.mod.textRect);
    m_finishButton = std::make_unique<DrawnButton>(*btnFinish, QStringLiteral("FINISH"), m_stage.finishState,
                                                   ctx.skin, ctx.mod.textRect);

    connect(m_clock.get(), &StageClock::finishRequested, this, &FrmVendrakul::finishStage);
    connect(trmMsgBox, &QTimer::timeout, this, [this] { m_msgBox.trmMsgBoxTimer(); });
    connect(this, &Form::activated, this, &FrmVendrakul::formActivate);
    connect(this, &Surface::resized, this, &FrmVendrakul::formResize);
    connect(this, &Surface::gotFocus, this, &FrmVendrakul::passFocusToSheet);
    connect(btnBack, &Surface::clicked, this, &FrmVendrakul::btnBackClick);
    connect(btnFinish, &Surface::clicked, this, &FrmVendrakul::btnFinishClick);
    connect(pSoruAlt, &Surface::resized, this, &FrmVendrakul::pSoruAltResize);
    for (Surface *s : {btnBack, btnFinish, picTime, pSoruAlt})
        connect(s, &Surface::gotFocus, this, &FrmVendrakul::passFocusToSheet);
    connect(this, &Form::unloading, this, &FrmVendrakul::formUnload);
}

FrmVendrakul::~FrmVendrakul()
{
    // The sheet lets go of the grid while the grid still exists.
    m_sheet.reset();
    m_clock.reset();
}

void FrmVendrakul::formUnload()
{
    // The stage ends with the window: no more ticks, no evaluation.
    m_unloading = true;
    trmSure->stop();
    trmMsgBox->stop();
    if (m_confirmDepth == 0)
        return;
    // Unloaded while the finish question is open (the program is closing).
    // The question's event loop and the code that opened it (the grid's key
    // handling among it) are still on the stack: this window, with its
    // grid, has to outlive them. It leaves its owner, whose destruction
    // would take it along, and its deletion waits until the question has
    // returned. The box is answered "No" so that the question returns.
    if (parentWidget())
        setParent(nullptr, windowFlags());
    if (QMessageBox *box = m_msgBox.openBox())
        box->reject();
}

bool FrmVendrakul::event(QEvent *event)
{
    if (event->type() == QEvent::DeferredDelete && m_confirmDepth > 0) {
        m_deleteWhenAnswered = true;
        return true;
    }
    return Form::event(event);
}

void FrmVendrakul::createControls()
{
    setBackColor(kWindowBack);
    setFont(makeFont(QStringLiteral("Tahoma"), 8.25));
    resize(847, 599);
    const QColor windowText = windowTextColour();
    const DefinedPictures &pictures = definedPictures();

    pSonucHata = pictureBox(this, Qt::white, Qt::black, {218, 394, 150, 150});
    pSonucHata->setObjectName(QStringLiteral("pSonucHata"));
    pSonucHata->setPicture(pictures.wrong);
    pSonucHata->hide();

    pSonucOK = pictureBox(this, Qt::white, Qt::black, {42, 320, 150, 150});
    pSonucOK->setObjectName(QStringLiteral("pSonucOK"));
    pSonucOK->setPicture(pictures.correct);
    pSonucOK->hide();

    picSonuc = pictureBox(this, kResultBack, windowText, {14, 126, 79, 59});
    picSonuc->setObjectName(QStringLiteral("picSonuc"));
    picSonuc->setAutoRedraw(true);
    picSonuc->hide();

    trmMsgBox = new QTimer(this);
    trmMsgBox->setObjectName(QStringLiteral("trmMsgBox"));
    trmMsgBox->setInterval(0);

    const QFont buttonFont = makeFont(QStringLiteral("Tahoma"), 12.75, true);
    btnFinish = pictureBox(this, Qt::white, windowText, {258, 30, 85, 39});
    btnFinish->setObjectName(QStringLiteral("btnFinish"));
    btnFinish->setFont(buttonFont);

    btnBack = pictureBox(this, Qt::white, windowText, {162, 30, 85, 39});
    btnBack->setObjectName(QStringLiteral("btnBack"));
    btnBack->setFont(buttonFont);

    trmSure = new QTimer(this);
    trmSure->setObjectName(QStringLiteral("trmSure"));
    trmSure->setInterval(10);
    trmSure->setTimerType(Qt::PreciseTimer);

    picTime = pictureBox(this, kClockBack, windowText, {26, 48, 85, 43});
    picTime->setObjectName(QStringLiteral("picTime"));
    picTime->setAutoRedraw(true);

    pSoruAlt = pictureBox(this, kWindowBack, Qt::black, {304, 146, 259, 215});
    pSoruAlt->setObjectName(QStringLiteral("pSoruAlt"));
    pSoruAlt->setFont(makeFont(QStringLiteral("Verdana"), 12.75, true));

    pIsaretKlavuz = pictureBox(pSoruAlt, Qt::white, Qt::black, {30, 136, 20, 32});
    pIsaretKlavuz->setObjectName(QStringLiteral("pIsaretKlavuz"));
    pIsaretKlavuz->setFont(font());
    pIsaretKlavuz->setPicture(pictures.marker);
    pIsaretKlavuz->hide();

    createMarker(0);
    pIsaret[0]->setGeometry(72, 112, 20, 33);

    gSoru = new FlexGrid(pSoruAlt, m_ctx.screen.twipsPerPixelX());
    gSoru->setObjectName(QStringLiteral("gSoru"));
    gSoru->setGeometry(26, 16, 141, 87);

    QWidget *order[] = {pSoruAlt, gSoru, picTime, btnBack, btnFinish, pIsaret[0], pIsaretKlavuz, picSonuc,
                        pSonucOK, pSonucHata};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void FrmVendrakul::createMarker(int index)
{
    // Elements after the first are copies of it: same look, size and place.
    const QRect design = pIsaret.isEmpty() ? QRect(72, 112, 20, 33) : pIsaret[0]->geometry();
    Surface *marker = pictureBox(pSoruAlt, kMarkerBack, windowTextColour(), design);
    marker->setObjectName(QStringLiteral("pIsaret_%1").arg(index));
    marker->setFont(font());
    marker->setMousePointer(Surface::Pointer::Custom);
    connect(marker, &Surface::clicked, this, [this, index] { pIsaretClick(index); });
    connect(marker, &Surface::gotFocus, this, &FrmVendrakul::passFocusToSheet);
    pIsaret.append(marker);
}

void FrmVendrakul::load()
{
    resetStageRecord(m_stage, m_ctx.mod.timerEnabled);
    if (!m_stage.clockOn)
        picTime->hide();
    createProblem(m_ctx.mod.problemDoc, m_stage, m_ctx.random, m_ctx.clock);
    for (int i = static_cast<int>(pIsaret.size()); i < kMarkerCount; ++i) {
        createMarker(i);
        pIsaret[i]->show();
    }
    m_sheet->setUpSheet();
}

void FrmVendrakul::formActivate()
{
    if (!m_stage.firstActivation)
        return;
    m_stage.problemNo = 1;
    m_sheet->loadSheet();
    // The filling of the sheet is not counted.
    m_clock->startClock();
    gSoru->editCell();
    m_stage.firstActivation = false;
}

void FrmVendrakul::formResize()
{
    if (isMinimized())
        return;
    paintExerciseWindow({*this, *picTime, *pSoruAlt, *picSonuc, *btnBack, *btnFinish, m_stage.sheetWidth,
                         m_stage.sheetHeight},
                        m_ctx.skin, m_ctx.mod.textRect);
}

void FrmVendrakul::pSoruAltResize()
{
    QList<QWidget *> markers;
    markers.reserve(pIsaret.size());
    for (Surface *m : std::as_const(pIsaret))
        markers.append(m);
    layoutSheetPanel(*pSoruAlt, *gSoru, markers);
}

void FrmVendrakul::finishStage()
{
    // A stage that is being left is not evaluated.
    if (!m_stage.stageRunning || m_unloading)
        return;
    trmSure->stop();
    m_stage.stageRunning = false;
    // The sheet takes no more keys: no caret, no cursor moves, no markers.
    m_sheet->closeForInput();

    m_clock->showFinalReading();
    picTime->show();

    btnFinish->hide();
    moveControl(*btnBack, (width() - kButtonWidth) / 2.0, height() - 80, kButtonWidth, kButtonHeight);

    const int answerRow = gSoru->rows() - 4;
    const int revealRow = gSoru->rows() - 2;
    const Evaluation result = evaluateAnswer(
        m_stage.correctProduct, [&](int column) { return gSoru->cellText(answerRow, column); }, gSoru->cols() - 2);
    for (const RevealedDigit &d : result.digits) {
        gSoru->setCellText(revealRow, d.column, d.digit);
        gSoru->setCell(CellProperty::BackgroundColour, revealRow, d.column, d.backColor());
    }

    picSonuc->setPicture(result.correct ? pSonucOK->picture() : pSonucHata->picture());
    picSonuc->show();
    drawSkinFrame(*this, *picSonuc, m_ctx.skin);
}

void FrmVendrakul::confirmFinish()
{
    // Enter in an editor left open after the finish asks nothing: there is
    // nothing left to finish.
    if (m_unloading || !m_stage.stageRunning)
        return;
    ++m_confirmDepth;
    vk::confirmFinish(m_stage, m_msgBox, m_finishLink);
    --m_confirmDepth;
    if (m_confirmDepth == 0 && m_deleteWhenAnswered) {
        // The deletion held back above. deleteLater() would be dropped as a
        // repeat of the request already swallowed, so a queued call on the
        // application deletes the window once the callers have returned.
        QMetaObject::invokeMethod(
            qApp, [self = QPointer<FrmVendrakul>(this)] { delete self.data(); }, Qt::QueuedConnection);
    }
}

void FrmVendrakul::markerPictureChanged(int index, bool set)
{
    if (index < 0 || index >= pIsaret.size())
        return;
    if (set)
        pIsaret[index]->setPicture(pIsaretKlavuz->picture());
    else
        pIsaret[index]->clearPicture();
}

void FrmVendrakul::btnFinishClick()
{
    if (!m_finishButton->takeClick())
        return;
    confirmFinish();
}

void FrmVendrakul::btnBackClick()
{
    if (!m_backButton->takeClick())
        return;
    leaveStage();
}

void FrmVendrakul::closeFromOutside()
{
    if (!m_unloading)
        leaveStage();
}

void FrmVendrakul::leaveStage()
{
    m_ctx.mod.stageActive = false;
    // Repainting the main window may run events; this window may not
    // outlive them, nor may the main window.
    const QPointer<FrmVendrakul> self(this);
    if (MainWindowApi *main = m_ctx.mainWindow())
        main->temelYarismaEkraniCiz();
    if (!self)
        return;
    if (auto *mainWidget = dynamic_cast<QWidget *>(m_ctx.mainWindow())) {
        const QPointer<QWidget> guard(mainWidget);
        guard->show();
        if (guard)
            guard->raise();
        if (guard)
            guard->activateWindow();
    }
    if (self)
        m_ctx.windows.unload(this);
}

void FrmVendrakul::pIsaretClick(int index)
{
    if (m_stage.stageRunning)
        m_sheet->markerClicked(index);
}

void FrmVendrakul::passFocusToSheet()
{
    if (!gSoru)
        return;
    const QWidget *now = QApplication::focusWidget();
    if (now && (now == gSoru || gSoru->isAncestorOf(now)))
        return;
    // A grid that cannot take the focus now (hidden, disabled) is left alone.
    gSoru->setFocus(Qt::OtherFocusReason);
}

} // namespace vk
