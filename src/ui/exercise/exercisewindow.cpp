#include "ui/exercise/exercisewindow.h"

#include "flow/confirmfinish.h"
#include "flow/stageclock.h"
#include "grid/flexgrid.h"
#include "platform/dayclock.h"
#include "platform/fonts.h"
#include "platform/screenmetrics.h"
#include "platform/surface.h"
#include "skin/appcontext.h"
#include "skin/skinframe.h"
#include "skin/skintemplate.h"
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

ExerciseWindow::ExerciseWindow(AppContext &ctx)
    : Form(kExerciseWindowName, ctx.screen)
    , m_ctx(ctx)
{
    createControls();
    m_clock = std::make_unique<StageClock>(m_stage, ctx.clock, *clockTimer, *clockDisplay, m_questionBox);
    m_sheet = std::make_unique<AnswerSheet>(m_stage, *answerGrid, *this);
    m_backButton = std::make_unique<DrawnButton>(*backButtonBox, QStringLiteral("BACK"), m_stage.backState, ctx.skin,
                                                 ctx.run.textRect);
    m_finishButton = std::make_unique<DrawnButton>(*finishButtonBox, QStringLiteral("FINISH"), m_stage.finishState,
                                                   ctx.skin, ctx.run.textRect);

    connect(m_clock.get(), &StageClock::finishRequested, this, &ExerciseWindow::finishStage);
    connect(answerTimer, &QTimer::timeout, this, [this] { m_questionBox.answerTimerTick(); });
    connect(this, &Form::activated, this, &ExerciseWindow::formActivate);
    connect(this, &Surface::resized, this, &ExerciseWindow::formResize);
    connect(this, &Surface::gotFocus, this, &ExerciseWindow::passFocusToSheet);
    connect(backButtonBox, &Surface::clicked, this, &ExerciseWindow::backClicked);
    connect(finishButtonBox, &Surface::clicked, this, &ExerciseWindow::finishClicked);
    connect(sheetPanel, &Surface::resized, this, &ExerciseWindow::sheetPanelResized);
    for (Surface *s : {backButtonBox, finishButtonBox, clockDisplay, sheetPanel})
        connect(s, &Surface::gotFocus, this, &ExerciseWindow::passFocusToSheet);
    connect(this, &Form::unloading, this, &ExerciseWindow::formUnload);
}

ExerciseWindow::~ExerciseWindow()
{
    // The sheet lets go of the grid while the grid still exists.
    m_sheet.reset();
    m_clock.reset();
}

void ExerciseWindow::formUnload()
{
    // The stage ends with the window: no more ticks, no evaluation.
    m_unloading = true;
    clockTimer->stop();
    answerTimer->stop();
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
    if (QMessageBox *box = m_questionBox.openBox())
        box->reject();
}

bool ExerciseWindow::event(QEvent *event)
{
    if (event->type() == QEvent::DeferredDelete && m_confirmDepth > 0) {
        m_deleteWhenAnswered = true;
        return true;
    }
    return Form::event(event);
}

void ExerciseWindow::createControls()
{
    setBackColor(kWindowBack);
    setFont(makeFont(QStringLiteral("Tahoma"), 8.25));
    resize(847, 599);
    const QColor windowText = windowTextColour();
    const DefinedPictures &pictures = definedPictures();

    wrongPictureBox = pictureBox(this, Qt::white, Qt::black, {218, 394, 150, 150});
    wrongPictureBox->setObjectName(QStringLiteral("wrongPictureBox"));
    wrongPictureBox->setPicture(pictures.wrong);
    wrongPictureBox->hide();

    correctPictureBox = pictureBox(this, Qt::white, Qt::black, {42, 320, 150, 150});
    correctPictureBox->setObjectName(QStringLiteral("correctPictureBox"));
    correctPictureBox->setPicture(pictures.correct);
    correctPictureBox->hide();

    resultPanel = pictureBox(this, kResultBack, windowText, {14, 126, 79, 59});
    resultPanel->setObjectName(QStringLiteral("resultPanel"));
    resultPanel->setAutoRedraw(true);
    resultPanel->hide();

    answerTimer = new QTimer(this);
    answerTimer->setObjectName(QStringLiteral("answerTimer"));
    answerTimer->setInterval(0);

    const QFont buttonFont = makeFont(QStringLiteral("Tahoma"), 12.75, true);
    finishButtonBox = pictureBox(this, Qt::white, windowText, {258, 30, 85, 39});
    finishButtonBox->setObjectName(QStringLiteral("finishButtonBox"));
    finishButtonBox->setFont(buttonFont);

    backButtonBox = pictureBox(this, Qt::white, windowText, {162, 30, 85, 39});
    backButtonBox->setObjectName(QStringLiteral("backButtonBox"));
    backButtonBox->setFont(buttonFont);

    clockTimer = new QTimer(this);
    clockTimer->setObjectName(QStringLiteral("clockTimer"));
    clockTimer->setInterval(10);
    clockTimer->setTimerType(Qt::PreciseTimer);

    clockDisplay = pictureBox(this, kClockBack, windowText, {26, 48, 85, 43});
    clockDisplay->setObjectName(QStringLiteral("clockDisplay"));
    clockDisplay->setAutoRedraw(true);

    sheetPanel = pictureBox(this, kWindowBack, Qt::black, {304, 146, 259, 215});
    sheetPanel->setObjectName(QStringLiteral("sheetPanel"));
    sheetPanel->setFont(makeFont(QStringLiteral("Verdana"), 12.75, true));

    markerPictureBox = pictureBox(sheetPanel, Qt::white, Qt::black, {30, 136, 20, 32});
    markerPictureBox->setObjectName(QStringLiteral("markerPictureBox"));
    markerPictureBox->setFont(font());
    markerPictureBox->setPicture(pictures.marker);
    markerPictureBox->hide();

    createMarker(0);
    markerBoxes[0]->setGeometry(72, 112, 20, 33);

    answerGrid = new FlexGrid(sheetPanel, m_ctx.screen.twipsPerPixelX());
    answerGrid->setObjectName(QStringLiteral("answerGrid"));
    answerGrid->setGeometry(26, 16, 141, 87);

    QWidget *order[] = {sheetPanel, answerGrid, clockDisplay, backButtonBox, finishButtonBox, markerBoxes[0], markerPictureBox, resultPanel,
                        correctPictureBox, wrongPictureBox};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void ExerciseWindow::createMarker(int index)
{
    // Elements after the first are copies of it: same look, size and place.
    const QRect design = markerBoxes.isEmpty() ? QRect(72, 112, 20, 33) : markerBoxes[0]->geometry();
    Surface *marker = pictureBox(sheetPanel, kMarkerBack, windowTextColour(), design);
    marker->setObjectName(QStringLiteral("pIsaret_%1").arg(index));
    marker->setFont(font());
    marker->setMousePointer(Surface::Pointer::Custom);
    connect(marker, &Surface::clicked, this, [this, index] { markerClicked(index); });
    connect(marker, &Surface::gotFocus, this, &ExerciseWindow::passFocusToSheet);
    markerBoxes.append(marker);
}

void ExerciseWindow::load()
{
    resetStageRecord(m_stage, m_ctx.run.timerEnabled);
    if (!m_stage.clockOn)
        clockDisplay->hide();
    createProblem(m_ctx.run.problemDoc, m_stage, m_ctx.random, m_ctx.clock);
    for (int i = static_cast<int>(markerBoxes.size()); i < kMarkerCount; ++i) {
        createMarker(i);
        markerBoxes[i]->show();
    }
    m_sheet->setUpSheet();
}

void ExerciseWindow::formActivate()
{
    if (!m_stage.firstActivation)
        return;
    m_stage.problemNo = 1;
    m_sheet->loadSheet();
    // The filling of the sheet is not counted.
    m_clock->startClock();
    answerGrid->editCell();
    m_stage.firstActivation = false;
}

void ExerciseWindow::formResize()
{
    if (isMinimized())
        return;
    paintExerciseWindow({*this, *clockDisplay, *sheetPanel, *resultPanel, *backButtonBox, *finishButtonBox, m_stage.sheetWidth,
                         m_stage.sheetHeight},
                        m_ctx.skin, m_ctx.run.textRect);
}

void ExerciseWindow::sheetPanelResized()
{
    QList<QWidget *> markers;
    markers.reserve(markerBoxes.size());
    for (Surface *m : std::as_const(markerBoxes))
        markers.append(m);
    layoutSheetPanel(*sheetPanel, *answerGrid, markers);
}

void ExerciseWindow::finishStage()
{
    // A stage that is being left is not evaluated.
    if (!m_stage.stageRunning || m_unloading)
        return;
    clockTimer->stop();
    m_stage.stageRunning = false;
    // The sheet takes no more keys: no caret, no cursor moves, no markers.
    m_sheet->closeForInput();

    m_clock->showFinalReading();
    clockDisplay->show();

    finishButtonBox->hide();
    moveControl(*backButtonBox, (width() - kButtonWidth) / 2.0, height() - 80, kButtonWidth, kButtonHeight);

    const bool correct = m_sheet->revealProduct(m_stage.correctProduct);
    resultPanel->setPicture(correct ? correctPictureBox->picture() : wrongPictureBox->picture());
    resultPanel->show();
    drawSkinFrame(*this, *resultPanel, m_ctx.skin);
}

bool ExerciseWindow::FinishLink::clockStopped() const
{
    return !m_w.clockTimer->isActive();
}

void ExerciseWindow::confirmFinish()
{
    // Enter in an editor left open after the finish asks nothing: there is
    // nothing left to finish.
    if (m_unloading || !m_stage.stageRunning)
        return;
    ++m_confirmDepth;
    vk::confirmFinish(m_stage, m_questionBox, m_finishLink);
    --m_confirmDepth;
    if (m_confirmDepth == 0 && m_deleteWhenAnswered) {
        // The deletion held back above. deleteLater() would be dropped as a
        // repeat of the request already swallowed, so a queued call on the
        // application deletes the window once the callers have returned.
        QMetaObject::invokeMethod(
            qApp, [self = QPointer<ExerciseWindow>(this)] { delete self.data(); }, Qt::QueuedConnection);
    }
}

void ExerciseWindow::markerPictureChanged(int index, bool set)
{
    if (index < 0 || index >= markerBoxes.size())
        return;
    if (set)
        markerBoxes[index]->setPicture(markerPictureBox->picture());
    else
        markerBoxes[index]->clearPicture();
}

void ExerciseWindow::finishClicked()
{
    if (!m_finishButton->takeClick())
        return;
    confirmFinish();
}

void ExerciseWindow::backClicked()
{
    if (!m_backButton->takeClick())
        return;
    leaveStage();
}

void ExerciseWindow::closeFromOutside()
{
    if (!m_unloading)
        leaveStage();
}

void ExerciseWindow::leaveStage()
{
    m_ctx.run.stageActive = false;
    // Repainting the main window may run events; this window may not
    // outlive them, nor may the main window.
    const QPointer<ExerciseWindow> self(this);
    if (MainWindowApi *main = m_ctx.mainWindow())
        main->paintMainScreen();
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

void ExerciseWindow::markerClicked(int index)
{
    if (m_stage.stageRunning)
        m_sheet->markerClicked(index);
}

void ExerciseWindow::passFocusToSheet()
{
    if (!answerGrid)
        return;
    const QWidget *now = QApplication::focusWidget();
    if (now && (now == answerGrid || answerGrid->isAncestorOf(now)))
        return;
    // A grid that cannot take the focus now (hidden, disabled) is left alone.
    answerGrid->setFocus(Qt::OtherFocusReason);
}

} // namespace vk
