#pragma once

#include <QString>
#include <qnamespace.h>

class QKeyEvent;

namespace vk {

// The key codes of the grid's key-down event. They are the Windows
// virtual-key codes, so the numbers are fixed; digits and letters are their
// ASCII characters ('0'..'9', 'A'..'Z').
struct VirtualKey {
    enum Code : int {
        None = 0,
        Backspace = 8,
        Tab = 9,
        Enter = 13,
        Shift = 16,
        Control = 17,
        Alt = 18,
        Pause = 19,
        CapsLock = 20,
        Escape = 27,
        Space = 32,
        PageUp = 33,
        PageDown = 34,
        End = 35,
        Home = 36,
        Left = 37,
        Up = 38,
        Right = 39,
        Down = 40,
        Insert = 45,
        Delete = 46,
        Digit0 = 48, // Digit1 .. Digit9 follow
        LetterA = 65, // B .. Z follow
        Keypad0 = 96, // Keypad1 .. Keypad9 follow
        KeypadMultiply = 106,
        KeypadPlus = 107,
        KeypadMinus = 109,
        KeypadDecimalPoint = 110,
        KeypadDivide = 111,
        F1 = 112, // F2 .. F24 follow
    };
};

// The bits of the key-down event's shift state, Windows' numbers too.
struct ShiftStateBit {
    enum Bit : int {
        Shift = 1,
        Control = 2,
        Alt = 4,
    };
};

// The virtual key of a Qt key event, VirtualKey::None when there is none.
int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);
// The ShiftStateBit bits of the modifiers held.
int shiftState(Qt::KeyboardModifiers modifiers);

// The character a key types. With Ctrl (and not AltGr's Ctrl+Alt) a letter
// types its control code whatever text the platform reports, so Ctrl+V
// arrives as 22 and never as 'v'; other Ctrl combinations type nothing.
QString typedCharacter(const QKeyEvent *e);

} // namespace vk
