#pragma once

#include "flow/finishhost.h"
#include "msgbox/timedmessagebox.h"
#include "platform/form.h"
#include "sheet/answersheet.h"
#include "stage/stage.h"

#include <QList>
#include <QPointer>

#include <memory>

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
// panel, and routes their events to the parts that own the rules.
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
    // marks the product, shows the verdict. Every call after the first
    // does nothing.
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

    // The controls, in the order the window defines them.
    Surface *wrongPictureBox = nullptr;    // lends the wrong-answer picture
    Surface *correctPictureBox = nullptr;      // lends the correct-answer picture
    Surface *resultPanel = nullptr;      // result panel
    QTimer *answerTimer = nullptr;      // answer timer of the confirmation box
    Surface *finishButtonBox = nullptr;
    Surface *backButtonBox = nullptr;
    QTimer *clockTimer = nullptr;        // stage clock tick
    Surface *clockDisplay = nullptr;       // clock display
    Surface *sheetPanel = nullptr;      // answer sheet panel
    Surface *markerPictureBox = nullptr; // lends the set-marker picture
    QList<Surface *> markerBoxes;         // the column markers, 0 from the start, 1..19 from the load
    FlexGrid *answerGrid = nullptr;

protected:
    bool event(QEvent *event) override;
    // The window manager's close acts as BACK.
    void closeFromOutside() override;

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
    void formUnload();
    // BACK's work once the click has counted: the start screen, whole, and
    // the stage gone with this window.
    void leaveStage();

    AppContext &m_ctx;
    StageRecord m_stage;
    TimedMessageBox m_questionBox;
    FinishLink m_finishLink{*this};
    int m_confirmDepth = 0;          // confirmations running (each in its own event loop)
    bool m_unloading = false;
    bool m_deleteWhenAnswered = false;
    std::unique_ptr<StageClock> m_clock;
    std::unique_ptr<AnswerSheet> m_sheet;
    std::unique_ptr<DrawnButton> m_backButton;
    std::unique_ptr<DrawnButton> m_finishButton;
};

} // namespace vk
