#pragma once

#include "flow/finishhost.h"
#include "msgbox/timedmessagebox.h"
#include "platform/form.h"
#include "sheet/answersheet.h"
#include "stage/stage.h"
#include "stage/stagereport.h"

#include <QDateTime>
#include <QList>
#include <QPointer>

#include <memory>

class QShortcut;
class QTimer;

namespace vk {

struct AppContext;
class DrawnButton;
class FlexGrid;
class StageClock;
class Surface;

// The exercise window: one stage from its load (START) to its unload (BACK
// or the end of the program). It holds the answer sheet, the clock display,
// the drawn BACK and FINISH buttons, the column markers and the result
// panel, and routes their events to the parts that own the rules. It is
// shown inside the main window, below its top band.
class ExerciseWindow final : public Form, public AnswerSheetHost
{
    Q_OBJECT
public:
    explicit ExerciseWindow(AppContext &ctx);
    ~ExerciseWindow() override;

    // The load: a fresh stage record, a new problem, the markers and the
    // answer sheet's set-up.
    void load() override;

    // Ends the stage: stops the clock, shows the final time, reveals and
    // marks the product, shows the verdict, and reports the stage to the
    // run's training log if it keeps one. Every call after the first does
    // nothing.
    void finishStage();
    // Asks whether to finish, and finishes on Yes or when the clock ran out
    // while the question was open.
    void confirmFinish() override;
    void markerPictureChanged(int index, bool set) override;

    // The handlers the controls' events are routed to.
    void formActivate();
    void formResize();
    void sheetPanelResized();
    void finishClicked();
    void backClicked();
    // Escape: once the stage is finished it leaves as BACK does; while the
    // stage runs a stray key never throws its work away.
    void escapePressed();
    void markerClicked(int index);
    // Whatever part of the window receives the focus hands it to the sheet.
    void passFocusToSheet();

    // True once the window is being unloaded: nothing of the stage runs any more.
    bool isUnloading() const { return m_unloading; }

    StageRecord &stage() { return m_stage; }
    const StageRecord &stage() const { return m_stage; }
    AnswerSheet &sheet() { return *m_sheet; }
    DrawnButton &backButton() { return *m_backButton; }
    DrawnButton &finishButton() { return *m_finishButton; }
    StageClock &stageClock() { return *m_clock; }
    TimedMessageBox &questionBox() { return m_questionBox; }

    // The controls. They live as long as the window.
    FlexGrid &answerGrid() { return *m_answerGrid; }
    const FlexGrid &answerGrid() const { return *m_answerGrid; }
    Surface &sheetPanel() { return *m_sheetPanel; }
    const Surface &sheetPanel() const { return *m_sheetPanel; }
    Surface &clockDisplay() { return *m_clockDisplay; }
    const Surface &clockDisplay() const { return *m_clockDisplay; }
    QTimer &clockTimer() { return *m_clockTimer; }
    const QTimer &clockTimer() const { return *m_clockTimer; }
    QTimer &answerTimer() { return *m_answerTimer; }
    const QTimer &answerTimer() const { return *m_answerTimer; }
    Surface &resultPanel() { return *m_resultPanel; }
    const Surface &resultPanel() const { return *m_resultPanel; }
    Surface &finishButtonBox() { return *m_finishButtonBox; }
    const Surface &finishButtonBox() const { return *m_finishButtonBox; }
    Surface &backButtonBox() { return *m_backButtonBox; }
    const Surface &backButtonBox() const { return *m_backButtonBox; }
    Surface &wrongPictureBox() { return *m_wrongPictureBox; }
    const Surface &wrongPictureBox() const { return *m_wrongPictureBox; }
    Surface &correctPictureBox() { return *m_correctPictureBox; }
    const Surface &correctPictureBox() const { return *m_correctPictureBox; }
    Surface &markerPictureBox() { return *m_markerPictureBox; }
    const Surface &markerPictureBox() const { return *m_markerPictureBox; }
    // The column markers, one per factor column: marker 0 from the start,
    // the others from the load.
    int markerCount() const { return static_cast<int>(m_markerBoxes.size()); }
    Surface &markerBox(int index) { return *m_markerBoxes.at(index); }
    const Surface &markerBox(int index) const { return *m_markerBoxes.at(index); }

    // Reports a stage that ends without its evaluation (once, and only if
    // its clock has started): BACK, the program's close, or its end with
    // no chance to close (the display lost).
    void reportLeftStage();

protected:
    bool event(QEvent *event) override;
    // Tab keeps the keyboard on the stage: nothing of the main window under
    // it is reachable while it is shown.
    bool focusNextPrevChild(bool next) override;

private:
    // What the finish confirmation needs of the window.
    class FinishLink final : public FinishHost
    {
    public:
        explicit FinishLink(ExerciseWindow &w)
            : m_w(w)
        {
        }
        QWidget &exerciseWindow() override { return m_w; }
        bool clockStopped() const override;
        void finishStage() override { m_w.finishStage(); }

    private:
        ExerciseWindow &m_w;
    };

    void createControls();
    void createMarker(int index);
    void addMarker(Surface *marker);
    void formUnload();
    // BACK's work once the click has counted: the start screen, whole, and
    // the stage gone with this window.
    void leaveStage();
    // Tells the run's training log (if any) how the stage ended; once per
    // stage, and only for a stage whose clock has started. A stage left
    // has no evaluation: no digit counts as matched.
    void reportStage(StageVerdict verdict, const Evaluation *evaluation);
    AppContext &m_ctx;

    // The controls, in the order the window defines them.
    Surface *m_wrongPictureBox = nullptr;   // lends the wrong-answer picture
    Surface *m_correctPictureBox = nullptr; // lends the correct-answer picture
    Surface *m_resultPanel = nullptr;
    QTimer *m_answerTimer = nullptr;        // answer timer of the confirmation box
    Surface *m_finishButtonBox = nullptr;
    Surface *m_backButtonBox = nullptr;
    QTimer *m_clockTimer = nullptr;         // stage clock tick
    Surface *m_clockDisplay = nullptr;
    Surface *m_sheetPanel = nullptr;        // answer sheet panel
    Surface *m_markerPictureBox = nullptr;  // lends the set-marker picture
    QList<Surface *> m_markerBoxes;
    FlexGrid *m_answerGrid = nullptr;
    QShortcut *m_escape = nullptr;  // BACK's key once the stage is over

    StageRecord m_stage;
    TimedMessageBox m_questionBox;
    FinishLink m_finishLink{*this};
    int m_confirmDepth = 0;          // confirmations running (each in its own event loop)
    bool m_unloading = false;
    bool m_deleteWhenAnswered = false;
    bool m_reported = false;
    QDateTime m_startedUtc;          // when the stage clock started
    std::unique_ptr<StageClock> m_clock;
    std::unique_ptr<AnswerSheet> m_sheet;
    std::unique_ptr<DrawnButton> m_backButton;
    std::unique_ptr<DrawnButton> m_finishButton;
};

} // namespace vk
