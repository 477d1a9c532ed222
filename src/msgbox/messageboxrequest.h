#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>

namespace vk {

// The open box as other code sees it: 0 while no box is open. A token only,
// never turned back into a pointer.
using MessageBoxHandle = quintptr;

// The buttons a box answers with. The numbers are the classic message
// box's button identifiers, which callers have always compared against.
enum class BoxAnswer : std::int32_t {
    Ok = 1,
    Cancel = 2,
    Abort = 3,
    Retry = 4,
    Ignore = 5,
    Yes = 6,
    No = 7,
};

// The style bits a box understands: one set of buttons, or'ed with at most
// one icon (the classic message box's numbers).
struct BoxStyle {
    enum : std::uint32_t {
        Ok = 0,
        OkCancel = 1,
        AbortRetryIgnore = 2,
        YesNoCancel = 3,
        YesNo = 4,
        RetryCancel = 5,
        IconHand = 16,
        IconQuestion = 32,
        IconExclamation = 48,
        IconAsterisk = 64,
    };
};

// One box: who shows it, what it says, and whether and when it answers itself.
struct MessageBoxRequest {
    QPointer<QWidget> askingWindow;        // the window asking
    QPointer<QWidget> blockedWindow;         // the box blocks this window while open
    std::uint32_t style = BoxStyle::Ok;  // buttons | icon
    bool autoAnswer = false;             // run the answer timer while open
    std::int32_t autoAnswerTicks = 0;    // press autoAnswerButton at this tick; <= 0 never
    std::int32_t tickInterval = 0;       // answer timer interval, ms
    BoxAnswer autoAnswerButton = BoxAnswer::No; // the button the timer presses
    std::int32_t tickCount = 0;          // ticks since the box opened
    QString caption;
    QString text;
};

} // namespace vk
