#pragma once

#include "flow/finishhost.h"
#include "msgbox/modmsgbox.h"
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
class FrmVendrakul final : public Form, public AnswerSheetHost
{
    Q_OBJECT
public:
    explicit FrmVendrakul(AppContext &ctx);
    ~FrmVendrakul() override;

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
    void pSoruAltResize();
    void btnFinishClick();
    void btnBackClick();
    void pIsaretClick(int index);
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
    ModMsgBox &msgBox() { return m_msgBox; }

    // The controls, in the order the window defines them.
    Surface *pSonucHata = nullptr;    // lends the wrong-answer picture
    Surface *pSonucOK = nullptr;      // lends the correct-answer picture
    Surface *picSonuc = nullptr;      // result panel
    QTimer *trmMsgBox = nullptr;      // answer timer of the confirmation box
    Surface *btnFinish = nullptr;
    Surface *btnBack = nullptr;
    QTimer *trmSure = nullptr;        // stage clock tick
    Surface *picTime = nullptr;       // clock display
    Surface *pSoruAlt = nullptr;      // answer sheet panel
    Surface *pIsaretKlavuz = nullptr; // lends the set-marker picture
    QList<Surface *> pIsaret;         // the column markers, 0 from the start, 1..19 from the load
    FlexGrid *gSoru = nullptr;

protected:
    bool event(QEvent *event) override;
    // The window manager's close acts as BACK.
    void closeFromOutside() override;

private:
    // What the finish confirmation needs of the window.
    class FinishLink final : public FinishHost
    {
    public:
        explicit FinishLink(FrmVendrakul &w)
            : m_w(w)
        {
        }
        QWidget &exerciseWindow() override { return m_w; }
        QTimer &trmSure() override { return *m_w.trmSure; }
        void finishStage() override { m_w.finishStage(); }

    private:
        FrmVendrakul &m_w;
    };

    void createControls();
    void createMarker(int index);
    void formUnload();
    // BACK's work once the click has counted: the start screen, whole, and
    // the stage gone with this window.
    void leaveStage();

    AppContext &m_ctx;
    StageRecord m_stage;
    ModMsgBox m_msgBox;
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
