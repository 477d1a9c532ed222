#include "grid/keytranslation.h"

#include <QKeyEvent>

namespace vk {

namespace {

// Ctrl+A types control code 1, Ctrl+B 2, and so on to Ctrl+Z.
constexpr int kControlA = 1;
// Codes below the space are control characters.
constexpr char16_t kFirstPrintable = u' ';

} // namespace

int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers)
{
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return (keypad ? VirtualKey::Keypad0 : VirtualKey::Digit0) + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return VirtualKey::LetterA + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return VirtualKey::F1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace: return VirtualKey::Backspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VirtualKey::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VirtualKey::Enter;
    case Qt::Key_Shift: return VirtualKey::Shift;
    case Qt::Key_Control: return VirtualKey::Control;
    case Qt::Key_Alt: return VirtualKey::Alt;
    case Qt::Key_Pause: return VirtualKey::Pause;
    case Qt::Key_CapsLock: return VirtualKey::CapsLock;
    case Qt::Key_Escape: return VirtualKey::Escape;
    case Qt::Key_Space: return VirtualKey::Space;
    case Qt::Key_PageUp: return VirtualKey::PageUp;
    case Qt::Key_PageDown: return VirtualKey::PageDown;
    case Qt::Key_End: return VirtualKey::End;
    case Qt::Key_Home: return VirtualKey::Home;
    case Qt::Key_Left: return VirtualKey::Left;
    case Qt::Key_Up: return VirtualKey::Up;
    case Qt::Key_Right: return VirtualKey::Right;
    case Qt::Key_Down: return VirtualKey::Down;
    case Qt::Key_Insert: return VirtualKey::Insert;
    case Qt::Key_Delete: return VirtualKey::Delete;
    // The keypad operators have keys of their own; the same characters typed
    // on the main block (Shift+8 for '*') do not.
    case Qt::Key_Asterisk: return keypad ? VirtualKey::KeypadMultiply : VirtualKey::None;
    case Qt::Key_Plus: return keypad ? VirtualKey::KeypadPlus : VirtualKey::None;
    case Qt::Key_Minus: return keypad ? VirtualKey::KeypadMinus : VirtualKey::None;
    case Qt::Key_Period: return keypad ? VirtualKey::KeypadDecimalPoint : VirtualKey::None;
    case Qt::Key_Slash: return keypad ? VirtualKey::KeypadDivide : VirtualKey::None;
    default: return VirtualKey::None;
    }
}

int shiftState(Qt::KeyboardModifiers modifiers)
{
    int bits = 0;
    if (modifiers.testFlag(Qt::ShiftModifier))
        bits |= ShiftStateBit::Shift;
    if (modifiers.testFlag(Qt::ControlModifier))
        bits |= ShiftStateBit::Control;
    if (modifiers.testFlag(Qt::AltModifier))
        bits |= ShiftStateBit::Alt;
    return bits;
}

QString typedCharacter(const QKeyEvent *e)
{
    const Qt::KeyboardModifiers mods = e->modifiers();
    if (mods.testFlag(Qt::ControlModifier) && !mods.testFlag(Qt::AltModifier)) {
        const int key = e->key();
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return QString(QChar(kControlA + (key - Qt::Key_A)));
        const QString text = e->text();
        return text.size() == 1 && text.at(0).unicode() < kFirstPrintable ? text : QString();
    }
    return e->text();
}

} // namespace vk
