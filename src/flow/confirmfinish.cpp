#include "flow/confirmfinish.h"

#include "flow/clockrules.h"
#include "flow/finishhost.h"
#include "msgbox/timedmessagebox.h"
#include "stage/stage.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace vk {

void confirmFinish(const StageRecord &stage, TimedMessageBox &questionBox, FinishHost &host)
{
    const std::int32_t ticks = autoAnswerTicks(stage);
    QWidget &window = host.exerciseWindow();
    const QPointer<QWidget> windowAlive(&window);

    questionBox.openBoxHandle = 0;
    MessageBoxRequest &request = questionBox.boxRequest;
    request.askingWindow = &window;
    request.blockedWindow = &window;
    request.style = BoxStyle::YesNo | BoxStyle::IconQuestion;
    request.autoAnswer = true;
    request.autoAnswerTicks = ticks;
    request.tickInterval = kConfirmTickInterval;
    request.autoAnswerButton = BoxAnswer::No;
    request.tickCount = 0;
    request.caption = kConfirmCaption;
    request.text = kConfirmText;

    const BoxAnswer answer = questionBox.showTimedBox(request, window);
    // Unloaded while asking: a stage that is being left is not evaluated,
    // and the window's members (the box module among them) are gone.
    if (!windowAlive)
        return;
    questionBox.openBoxHandle = 0;

    if (answer == BoxAnswer::Yes || host.clockStopped())
        host.finishStage();
}

} // namespace vk
