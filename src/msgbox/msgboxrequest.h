#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>

namespace vk {

// The open box as other code sees it: 0 while no box is open. A token only,
// never turned back into a pointer.
using MsgBoxHandle = quintptr;

// Button identifiers a box answers with, and the style bits it understands.
namespace mb {
constexpr std::int32_t IdOk = 1;
constexpr std::int32_t IdCancel = 2;
constexpr std::int32_t IdAbort = 3;
constexpr std::int32_t IdRetry = 4;
constexpr std::int32_t IdIgnore = 5;
constexpr std::int32_t IdYes = 6;
constexpr std::int32_t IdNo = 7;

constexpr std::uint32_t Ok = 0;
constexpr std::uint32_t OkCancel = 1;
constexpr std::uint32_t AbortRetryIgnore = 2;
constexpr std::uint32_t YesNoCancel = 3;
constexpr std::uint32_t YesNo = 4;
constexpr std::uint32_t RetryCancel = 5;
constexpr std::uint32_t IconHand = 16;
constexpr std::uint32_t IconQuestion = 32;
constexpr std::uint32_t IconExclamation = 48;
constexpr std::uint32_t IconAsterisk = 64;
} // namespace mb

// One box: who shows it, what it says, and whether and when it answers itself.
struct MsgBoxRequest {
    QPointer<QWidget> hWndSource;        // the window asking
    QPointer<QWidget> hWndOwner;         // the box blocks this window while open
    std::uint32_t style = 0;             // mb:: buttons | mb:: icon
    bool autoAnswer = false;             // run the answer timer while open
    std::int32_t autoAnswerTicks = 0;    // press autoAnswerButton at this tick; <= 0 never
    std::int32_t tickInterval = 0;       // answer timer interval, ms
    std::int32_t autoAnswerButton = 0;   // mb::Id* of the button pressed by the timer
    std::int32_t tickCount = 0;          // ticks since the box opened
    QString caption;
    QString text;
};

} // namespace vk
