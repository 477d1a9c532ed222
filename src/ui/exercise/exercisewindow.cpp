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
    m_clock = std::make_unique<StageClock>(m_stage, ctx.clock, *m_clockTimer, *m_clockDisplay, m_questionBox);
    m_sheet = std::make_unique<AnswerSheet>(m_stage, *m_answerGrid, *this);
    m_backButton = std::make_unique<DrawnButton>(*m_backButtonBox, QStringLiteral("BACK"), m_stage.backState, ctx.skin,
                                                 ctx.run.textRect);
    m_finishButton = std::make_unique<DrawnButton>(*m_finishButtonBox, QStringLiteral("FINISH"), m_stage.finishState,
                                                   ctx.skin, ctx.run.textRect);

    connect(m_clock.get(), &StageClock::finishRequested, this, &ExerciseWindow::finishStage);
    connect(m_answerTimer, &QTimer::timeout, this, [this] { m_questionBox.answerTimerTick(); });
    connect(this, &Form::activated, this, &ExerciseWindow::formActivate);
    connect(this, &Surface::resized, this, &ExerciseWindow::formResize);
    connect(this, &Surface::gotFocus, this, &ExerciseWindow::passFocusToSheet);
    connect(m_backButtonBox, &Surface::clicked, this, &ExerciseWindow::backClicked);
    connect(m_finishButtonBox, &Surface::clicked, this, &ExerciseWindow::finishClicked);
    connect(m_sheetPanel, &Surface::resized, this, &ExerciseWindow::sheetPanelResized);
    for (Surface *s : {m_backButtonBox, m_finishButtonBox, m_clockDisplay, m_sheetPanel})
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
    m_clockTimer->stop();
    m_answerTimer->stop();
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

    m_wrongPictureBox = pictureBox(this, Qt::white, Qt::black, {218, 394, 150, 150});
    m_wrongPictureBox->setObjectName(QStringLiteral("wrongPictureBox"));
    m_wrongPictureBox->setPicture(pictures.wrong);
    m_wrongPictureBox->hide();

    m_correctPictureBox = pictureBox(this, Qt::white, Qt::black, {42, 320, 150, 150});
    m_correctPictureBox->setObjectName(QStringLiteral("correctPictureBox"));
    m_correctPictureBox->setPicture(pictures.correct);
    m_correctPictureBox->hide();

    m_resultPanel = pictureBox(this, kResultBack, windowText, {14, 126, 79, 59});
    m_resultPanel->setObjectName(QStringLiteral("resultPanel"));
    m_resultPanel->setAutoRedraw(true);
    m_resultPanel->hide();

    m_answerTimer = new QTimer(this);
    m_answerTimer->setObjectName(QStringLiteral("answerTimer"));
    m_answerTimer->setInterval(0);

    const QFont buttonFont = makeFont(QStringLiteral("Tahoma"), 12.75, true);
    m_finishButtonBox = pictureBox(this, Qt::white, windowText, {258, 30, 85, 39});
    m_finishButtonBox->setObjectName(QStringLiteral("finishButtonBox"));
    m_finishButtonBox->setFont(buttonFont);

    m_backButtonBox = pictureBox(this, Qt::white, windowText, {162, 30, 85, 39});
    m_backButtonBox->setObjectName(QStringLiteral("backButtonBox"));
    m_backButtonBox->setFont(buttonFont);

    m_clockTimer = new QTimer(this);
    m_clockTimer->setObjectName(QStringLiteral("clockTimer"));
    m_clockTimer->setInterval(10);
    m_clockTimer->setTimerType(Qt::PreciseTimer);

    m_clockDisplay = pictureBox(this, kClockBack, windowText, {26, 48, 85, 43});
    m_clockDisplay->setObjectName(QStringLiteral("clockDisplay"));
    m_clockDisplay->setAutoRedraw(true);

    m_sheetPanel = pictureBox(this, kWindowBack, Qt::black, {304, 146, 259, 215});
    m_sheetPanel->setObjectName(QStringLiteral("sheetPanel"));
    m_sheetPanel->setFont(makeFont(QStringLiteral("Verdana"), 12.75, true));

    m_markerPictureBox = pictureBox(m_sheetPanel, Qt::white, Qt::black, {30, 136, 20, 32});
    m_markerPictureBox->setObjectName(QStringLiteral("markerPictureBox"));
    m_markerPictureBox->setFont(font());
    m_markerPictureBox->setPicture(pictures.marker);
    m_markerPictureBox->hide();

    createMarker(0);
    m_markerBoxes[0]->setGeometry(72, 112, 20, 33);

    m_answerGrid = new FlexGrid(m_sheetPanel, m_ctx.screen.twipsPerPixelX());
    m_answerGrid->setObjectName(QStringLiteral("answerGrid"));
    m_answerGrid->setGeometry(26, 16, 141, 87);

    QWidget *order[] = {m_sheetPanel, m_answerGrid, m_clockDisplay, m_backButtonBox, m_finishButtonBox, m_markerBoxes[0], m_markerPictureBox, m_resultPanel,
                        m_correctPictureBox, m_wrongPictureBox};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void ExerciseWindow::createMarker(int index)
{
    // Elements after the first are copies of it: same look, size and place.
    const QRect design = m_markerBoxes.isEmpty() ? QRect(72, 112, 20, 33) : m_markerBoxes[0]->geometry();
    Surface *marker = pictureBox(m_sheetPanel, kMarkerBack, windowTextColour(), design);
    marker->setObjectName(QStringLiteral("pIsaret_%1").arg(index));
    marker->setFont(font());
    marker->setMousePointer(Surface::Pointer::Custom);
    connect(marker, &Surface::clicked, this, [this, index] { markerClicked(index); });
    connect(marker, &Surface::gotFocus, this, &ExerciseWindow::passFocusToSheet);
    m_markerBoxes.append(marker);
}

void ExerciseWindow::load()
{
    resetStageRecord(m_stage, m_ctx.run.timerEnabled);
    if (!m_stage.clockOn)
        m_clockDisplay->hide();
    createProblem(m_ctx.run.problemDoc, m_stage, m_ctx.random, m_ctx.clock);
    for (int i = static_cast<int>(m_markerBoxes.size()); i < kMarkerCount; ++i) {
        createMarker(i);
        m_markerBoxes[i]->show();
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
    m_answerGrid->editCell();
    m_stage.firstActivation = false;
}

void ExerciseWindow::formResize()
{
    if (isMinimized())
        return;
    paintExerciseWindow({*this, *m_clockDisplay, *m_sheetPanel, *m_resultPanel, *m_backButtonBox, *m_finishButtonBox, m_stage.sheetWidth,
                         m_stage.sheetHeight},
                        m_ctx.skin, m_ctx.run.textRect);
}

void ExerciseWindow::sheetPanelResized()
{
    QList<QWidget *> markers;
    markers.reserve(m_markerBoxes.size());
    for (Surface *m : std::as_const(m_markerBoxes))
        markers.append(m);
    layoutSheetPanel(*m_sheetPanel, *m_answerGrid, markers);
}

void ExerciseWindow::finishStage()
{
    // A stage that is being left is not evaluated.
    if (!m_stage.stageRunning || m_unloading)
        return;
    m_clockTimer->stop();
    m_stage.stageRunning = false;
    // The sheet takes no more keys: no caret, no cursor moves, no markers.
    m_sheet->closeForInput();

    m_clock->showFinalReading();
    m_clockDisplay->show();

    m_finishButtonBox->hide();
    moveControl(*m_backButtonBox, (width() - kButtonWidth) / 2.0, height() - 80, kButtonWidth, kButtonHeight);

    const bool correct = m_sheet->revealProduct(m_stage.correctProduct);
    m_resultPanel->setPicture(correct ? m_correctPictureBox->picture() : m_wrongPictureBox->picture());
    m_resultPanel->show();
    drawSkinFrame(*this, *m_resultPanel, m_ctx.skin);
}

bool ExerciseWindow::FinishLink::clockStopped() const
{
    return !m_w.clockTimer().isActive();
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
    if (index < 0 || index >= m_markerBoxes.size())
        return;
    if (set)
        m_markerBoxes[index]->setPicture(m_markerPictureBox->picture());
    else
        m_markerBoxes[index]->clearPicture();
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
    if (!m_answerGrid)
        return;
    const QWidget *now = QApplication::focusWidget();
    if (now && (now == m_answerGrid || m_answerGrid->isAncestorOf(now)))
        return;
    // A grid that cannot take the focus now (hidden, disabled) is left alone.
    m_answerGrid->setFocus(Qt::OtherFocusReason);
}

} // namespace vk
