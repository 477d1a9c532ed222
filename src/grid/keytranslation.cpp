#include "grid/keytranslation.h"

#include <QKeyEvent>

namespace vk {

int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers)
{
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return (keypad ? vkey::Numpad0 : '0') + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return vkey::F1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace: return vkey::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vkey::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vkey::Return;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return vkey::Escape;
    case Qt::Key_Space: return vkey::Space;
    case Qt::Key_PageUp: return vkey::PageUp;
    case Qt::Key_PageDown: return vkey::PageDown;
    case Qt::Key_End: return vkey::End;
    case Qt::Key_Home: return vkey::Home;
    case Qt::Key_Left: return vkey::Left;
    case Qt::Key_Up: return vkey::Up;
    case Qt::Key_Right: return vkey::Right;
    case Qt::Key_Down: return vkey::Down;
    case Qt::Key_Insert: return vkey::Insert;
    case Qt::Key_Delete: return vkey::Delete;
    // The keypad operators have keys of their own; the same characters typed
    // on the main block (Shift+8 for '*') do not.
    case Qt::Key_Asterisk: return keypad ? vkey::Multiply : 0;
    case Qt::Key_Plus: return keypad ? vkey::Add : 0;
    case Qt::Key_Minus: return keypad ? vkey::Subtract : 0;
    case Qt::Key_Period: return keypad ? vkey::Decimal : 0;
    case Qt::Key_Slash: return keypad ? vkey::Divide : 0;
    default: return 0;
    }
}

int shiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) | (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

QString typedCharacter(const QKeyEvent *e)
{
    const Qt::KeyboardModifiers mods = e->modifiers();
    if (mods.testFlag(Qt::ControlModifier) && !mods.testFlag(Qt::AltModifier)) {
        const int key = e->key();
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return QString(QChar(key - Qt::Key_A + 1));
        const QString text = e->text();
        return text.size() == 1 && text.at(0).unicode() < 32 ? text : QString();
    }
    return e->text();
}

} // namespace vk
