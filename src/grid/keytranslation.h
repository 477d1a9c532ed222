#pragma once

#include <QString>
#include <qnamespace.h>

class QKeyEvent;

namespace vk {

// Virtual key codes the key-down event speaks in.
namespace vkey {
constexpr int Back = 8;
constexpr int Tab = 9;
constexpr int Return = 13;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int PageUp = 33;
constexpr int PageDown = 34;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Insert = 45;
constexpr int Delete = 46;
constexpr int Numpad0 = 96;
constexpr int Multiply = 106;
constexpr int Add = 107;
constexpr int Subtract = 109;
constexpr int Decimal = 110;
constexpr int Divide = 111;
constexpr int F1 = 112;
} // namespace vkey

// The platform virtual key of a Qt key event (0 when there is none) and the
// shift state bits.
int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);
int shiftState(Qt::KeyboardModifiers modifiers);

// The character a key types. With Ctrl (and not AltGr's Ctrl+Alt) a letter
// types its control code whatever text the platform reports, so Ctrl+V
// arrives as 22 and never as 'v'; other Ctrl combinations type nothing.
QString typedCharacter(const QKeyEvent *e);

} // namespace vk
