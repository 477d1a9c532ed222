#pragma once

#include "msgbox/msgboxrequest.h"

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
// The calling window must own a QTimer named "trmMsgBox" (disabled, no
// interval) and connect its timeout to trmMsgBoxTimer().
class ModMsgBox
{
public:
    ModMsgBox() = default;
    ModMsgBox(const ModMsgBox &) = delete;
    ModMsgBox &operator=(const ModMsgBox &) = delete;

    // Filled by the caller before showHookedMsgBox; the answer timer counts
    // and answers by this request, so pass this very object.
    MsgBoxRequest msgBoxRequest;
    // Non-zero exactly while a box is open (until the answer timer pressed
    // its button).
    MsgBoxHandle msgBoxWnd = 0;

    // Shows the box described by `request` and returns when it has closed:
    // mb::IdYes (6), mb::IdNo (7) or the identifier of another button of the
    // style. A box torn down with its window answers mb::IdNo. `window` owns
    // the "trmMsgBox" timer. The window may be gone on return.
    std::int32_t showHookedMsgBox(MsgBoxRequest &request, QWidget &window);

    // Tick of the window's "trmMsgBox".
    void trmMsgBoxTimer();

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
