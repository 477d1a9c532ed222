#include "flow/confirmfinish.h"

#include "flow/clockrules.h"
#include "flow/finishhost.h"
#include "msgbox/modmsgbox.h"
#include "stage/stage.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace vk {

void confirmFinish(const StageRecord &stage, ModMsgBox &modMsgBox, FinishHost &host)
{
    const std::int32_t ticks = autoAnswerTicks(stage);
    QWidget &window = host.exerciseWindow();
    const QPointer<QWidget> windowAlive(&window);

    modMsgBox.msgBoxWnd = 0;
    MsgBoxRequest &request = modMsgBox.msgBoxRequest;
    request.hWndSource = &window;
    request.hWndOwner = &window;
    request.style = mb::YesNo | mb::IconQuestion;
    request.autoAnswer = true;
    request.autoAnswerTicks = ticks;
    request.tickInterval = kConfirmTickInterval;
    request.autoAnswerButton = mb::IdNo;
    request.tickCount = 0;
    request.caption = kConfirmCaption;
    request.text = kConfirmText;

    const std::int32_t answer = modMsgBox.showHookedMsgBox(request, window);
    // Unloaded while asking: a stage that is being left is not evaluated,
    // and the window's members (the box module among them) are gone.
    if (!windowAlive)
        return;
    modMsgBox.msgBoxWnd = 0;

    if (answer == mb::IdYes || !host.trmSure().isActive())
        host.finishStage();
}

} // namespace vk
