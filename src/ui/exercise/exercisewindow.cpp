#include "ui/exercise/exercisewindow.h"

#include "flow/clockrules.h"
#include "flow/confirmfinish.h"
#include "flow/stageclock.h"
#include "grid/flexgrid.h"
#include "platform/dayclock.h"
#include "platform/rounding.h"
#include "platform/screenmetrics.h"
#include "platform/surface.h"
#include "platform/wallclock.h"
#include "skin/appcontext.h"
#include "skin/controlbuilder.h"
#include "skin/skinframe.h"
#include "skin/windowdefinitions.h"
#include "ui/exercise/drawnbutton.h"
#include "ui/exercise/exercisewindowpainter.h"

#include <QApplication>
#include <QKeySequence>
#include <QMessageBox>
#include <QShortcut>
#include <QTimer>

namespace vk {
namespace {

constexpr std::string_view kFirstMarker = "markerBox_0";

} // namespace

ExerciseWindow::ExerciseWindow(AppContext &ctx)
    : Form(kExerciseWindowName, ctx.screen, Form::Kind::Inside)
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
    // Escape counts only once the stage is over: until then the key goes
    // wherever it would go without it (the question box takes its own).
    m_escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_escape->setContext(Qt::WidgetWithChildrenShortcut);
    m_escape->setEnabled(false);
    connect(m_escape, &QShortcut::activated, this, &ExerciseWindow::escapePressed);
}

ExerciseWindow::~ExerciseWindow()
{
    // Deleted without an unload (the program's own end): the stage is left.
    reportLeftStage();
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
    reportLeftStage();
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
    const WindowDefinition &definition = exerciseWindowDefinition();
    applyWindowDefinition(*this, definition);
    const BuiltControls built = buildControls(*this, definition, m_ctx.skin, [this](const ControlDefinition &, QWidget *parent) {
        return new FlexGrid(parent, m_ctx.screen.twipsPerPixelX());
    });
    m_wrongPictureBox = built.get<Surface>("wrongPictureBox");
    m_correctPictureBox = built.get<Surface>("correctPictureBox");
    m_resultPanel = built.get<Surface>("resultPanel");
    m_answerTimer = built.get<QTimer>("answerTimer");
    m_finishButtonBox = built.get<Surface>("finishButtonBox");
    m_backButtonBox = built.get<Surface>("backButtonBox");
    m_clockTimer = built.get<QTimer>("clockTimer");
    m_clockDisplay = built.get<Surface>("clockDisplay");
    m_sheetPanel = built.get<Surface>("sheetPanel");
    m_markerPictureBox = built.get<Surface>("markerPictureBox");
    addMarker(built.get<Surface>(kFirstMarker));
    m_answerGrid = built.get<FlexGrid>("answerGrid");
}

void ExerciseWindow::createMarker(int index)
{
    // Elements after the first are copies of it: same look, size and place.
    addMarker(buildPictureBoxCopy(exerciseWindowDefinition().control(kFirstMarker), m_sheetPanel, m_ctx.skin,
                                  QStringLiteral("markerBox_%1").arg(index), m_markerBoxes[0]->geometry()));
}

void ExerciseWindow::addMarker(Surface *marker)
{
    const int index = markerCount();
    connect(marker, &Surface::clicked, this, [this, index] { markerClicked(index); });
    connect(marker, &Surface::gotFocus, this, &ExerciseWindow::passFocusToSheet);
    m_markerBoxes.append(marker);
}

void ExerciseWindow::load()
{
    resetStageRecord(m_stage, m_ctx.run.timerEnabled, m_ctx.run.factorDigits);
    if (!m_stage.clockOn)
        m_clockDisplay->hide();
    createProblem(m_ctx.run.problemDoc, m_stage, m_ctx.random, m_ctx.clock);
    // One marker over each factor column.
    for (int i = static_cast<int>(m_markerBoxes.size()); i < m_stage.factorDigits; ++i) {
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
    if (m_ctx.stageReports)
        m_startedUtc = m_ctx.wallClock->nowUtc();
    m_answerGrid->editCell();
    m_stage.firstActivation = false;
}

void ExerciseWindow::formResize()
{
    if (isMinimizedState())
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
    m_escape->setEnabled(true);

    const Evaluation result = m_sheet->revealProduct(m_stage.correctProduct);
    m_resultPanel->setPicture(result.correct ? m_correctPictureBox->picture() : m_wrongPictureBox->picture());
    m_resultPanel->show();
    drawSkinFrame(*this, *m_resultPanel, m_ctx.skin);
    // Only queued here: the log's writer has a thread of its own, so the
    // reveal is painted without waiting for the disk.
    reportStage(result.correct ? StageVerdict::Correct : StageVerdict::Wrong, &result);
}

void ExerciseWindow::reportLeftStage()
{
    // Without a training log the stage is left exactly as it always was.
    if (!m_ctx.stageReports || m_reported || !m_stage.stageRunning || m_stage.firstActivation)
        return;
    // The time used is the clock's reading at leaving. A stage left is not
    // evaluated, so no digit counts as matched.
    readStageClock(m_stage, m_ctx.clock);
    reportStage(StageVerdict::Left, nullptr);
}

void ExerciseWindow::reportStage(StageVerdict verdict, const Evaluation *evaluation)
{
    if (m_reported || m_stage.firstActivation)
        return;
    m_reported = true;
    StageReportSink *sink = m_ctx.stageReports;
    if (!sink)
        return;
    const QDomElement problem = problemElement(m_stage);
    StageReport report;
    report.startedUtc = m_startedUtc;
    report.secondsUsed = roundTo2(static_cast<double>(m_stage.elapsedTime));
    report.clockShown = m_stage.clockOn;
    report.factorDigits = m_stage.factorDigits;
    report.factor1 = problem.attribute(doc::kFactor1);
    report.factor2 = problem.attribute(doc::kFactor2);
    report.answer = problem.attribute(doc::kAnswer);
    report.product = m_stage.correctProduct;
    if (evaluation) {
        report.digitsMatched = evaluation->digitsMatched;
        report.matchedColumns = matchedColumns(*evaluation);
    }
    report.verdict = verdict;
    sink->stageEnded(report);
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

void ExerciseWindow::escapePressed()
{
    // The finish question has a window of its own and takes its Escape there.
    if (m_stage.stageRunning || m_unloading || m_confirmDepth > 0)
        return;
    leaveStage();
}

bool ExerciseWindow::focusNextPrevChild(bool)
{
    passFocusToSheet();
    return true;
}

void ExerciseWindow::leaveStage()
{
    m_ctx.run.stageActive = false;
    // Repainting the main window may run events; this window may not
    // outlive them.
    const QPointer<ExerciseWindow> self(this);
    if (MainWindowApi *main = m_ctx.mainWindow())
        main->paintMainScreen();
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
