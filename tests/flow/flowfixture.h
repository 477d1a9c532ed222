#pragma once

// A stand-in for the exercise window: the stage record, the clock display,
// both timers, the box module and a finish that counts its calls.
#include "flow/finishhost.h"
#include "flow/stageclock.h"
#include "msgbox/modmsgbox.h"
#include "platform/surface.h"
#include "stage/stage.h"
#include "support/fakes.h"

#include <QTimer>
#include <QWidget>

namespace vk::test {

class FakeExerciseWindow final : public QWidget, public FinishHost
{
public:
    static constexpr float kStart = 36000.0f;

    explicit FakeExerciseWindow(bool clockOn = true)
    {
        resetStageRecord(stage, clockOn);
        resize(400, 200);
        picTime = new Surface(this);
        trmSureTimer = new QTimer(this);
        trmSureTimer->setObjectName(QStringLiteral("trmSure"));
        trmMsgBox = new QTimer(this);
        trmMsgBox->setObjectName(QStringLiteral("trmMsgBox"));
        clock = new StageClock(stage, dayClock, *trmSureTimer, *picTime, modMsgBox, this);
        QObject::connect(clock, &StageClock::finishRequested, this, [this] { finishStage(); });
        QObject::connect(trmMsgBox, &QTimer::timeout, this, [this] {
            ++answerTicks;
            modMsgBox.trmMsgBoxTimer();
        });
        picTime->setGeometry(26, 48, 170, 60);
        picTime->setVisible(clockOn);
        show();
    }

    // The first activation after the sheet is loaded.
    void start()
    {
        dayClock.set(kStart);
        clock->startClock();
    }
    void standAt(float elapsed) { dayClock.set(kStart + elapsed); }

    QWidget &exerciseWindow() override { return *this; }
    QTimer &trmSure() override { return *trmSureTimer; }

    void finishStage() override
    {
        if (!stage.stageRunning)
            return;
        ++finishes;
        if (finishLog)
            ++*finishLog;
        boxOpenAtFinish = modMsgBox.msgBoxWnd != 0;
        trmSureTimer->stop();
        stage.stageRunning = false;
        clock->showFinalReading();
        picTime->show();
    }

    StageRecord stage;
    FakeDayClock dayClock;
    ModMsgBox modMsgBox;
    Surface *picTime = nullptr;
    QTimer *trmSureTimer = nullptr;
    QTimer *trmMsgBox = nullptr;
    StageClock *clock = nullptr;
    int finishes = 0;
    int *finishLog = nullptr; // outlives the window
    int answerTicks = 0;
    bool boxOpenAtFinish = false;
};

} // namespace vk::test
