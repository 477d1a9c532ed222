#pragma once

#include "msgbox/messageboxrequest.h"

#include <QPointer>

#include <cstdint>
#include <memory>

class QMessageBox;
class QTimer;
class QWidget;

namespace vk {

// The program's Yes/No box: button texts that do not follow the system's
// language, and an answer timer that presses a chosen button by itself.
//
// The box runs its own event loop, so the calling window's timers keep
// firing while it is open. It blocks input to its owner window only; other
// windows (the main window, whose child the exercise window is) stay usable,
// which Qt's window modality would not allow.
//
// The calling window must own a QTimer named "answerTimer" (disabled, no
// interval) and connect its timeout to answerTimerTick().
class TimedMessageBox
{
public:
    TimedMessageBox() = default;
    TimedMessageBox(const TimedMessageBox &) = delete;
    TimedMessageBox &operator=(const TimedMessageBox &) = delete;

    // Filled by the caller before showTimedBox; the answer timer counts
    // and answers by this request, so pass this very object.
    MessageBoxRequest boxRequest;
    // Non-zero exactly while a box is open (until the answer timer pressed
    // its button).
    MessageBoxHandle openBoxHandle = 0;

    // Shows the box described by `request` and returns when it has closed:
    // BoxAnswer::Yes, BoxAnswer::No or another button of the
    // style. A box torn down with its window answers BoxAnswer::No. `window` owns
    // the "answerTimer" timer. The window may be gone on return.
    BoxAnswer showTimedBox(MessageBoxRequest &request, QWidget &window);

    // Tick of the window's "answerTimer".
    void answerTimerTick();

    // The box while it is shown, else null.
    QMessageBox *openBox() const;

private:
    QPointer<QMessageBox> m_box;
    QPointer<QTimer> m_timer;
    // Lets code that ran a nested event loop tell whether this object (often
    // a member of the window that was unloaded meanwhile) still exists.
    std::shared_ptr<char> m_life = std::make_shared<char>();
};

} // namespace vk
