#pragma once

// A stand-in for the exercise window: the stage record, the clock display,
// both timers, the box module and a finish that counts its calls.
#include "flow/finishhost.h"
#include "flow/stageclock.h"
#include "msgbox/timedmessagebox.h"
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
        clockDisplay = new Surface(this);
        clockTimer = new QTimer(this);
        clockTimer->setObjectName(QStringLiteral("clockTimer"));
        answerTimer = new QTimer(this);
        answerTimer->setObjectName(QStringLiteral("answerTimer"));
        clock = new StageClock(stage, dayClock, *clockTimer, *clockDisplay, questionBox, this);
        QObject::connect(clock, &StageClock::finishRequested, this, [this] { finishStage(); });
        QObject::connect(answerTimer, &QTimer::timeout, this, [this] {
            ++answerTicks;
            questionBox.answerTimerTick();
        });
        clockDisplay->setGeometry(26, 48, 170, 60);
        clockDisplay->setVisible(clockOn);
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
    bool clockStopped() const override { return !clockTimer->isActive(); }

    void finishStage() override
    {
        if (!stage.stageRunning)
            return;
        ++finishes;
        if (finishLog)
            ++*finishLog;
        boxOpenAtFinish = questionBox.openBoxHandle != 0;
        clockTimer->stop();
        stage.stageRunning = false;
        clock->showFinalReading();
        clockDisplay->show();
    }

    StageRecord stage;
    FakeDayClock dayClock;
    TimedMessageBox questionBox;
    Surface *clockDisplay = nullptr;
    QTimer *clockTimer = nullptr;
    QTimer *answerTimer = nullptr;
    StageClock *clock = nullptr;
    int finishes = 0;
    int *finishLog = nullptr; // outlives the window
    int answerTicks = 0;
    bool boxOpenAtFinish = false;
};

} // namespace vk::test
