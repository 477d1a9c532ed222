// Key translation: the key codes and shift state the grid's key-down event
// reports, and the character a key types.
#include "grid/keytranslation.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

using namespace vk;

namespace {

// The codes are written out as numbers: they are the Windows virtual-key
// codes, fixed outside this program.
TEST(KeyTranslation, VirtualKeysAndShiftState)
{
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int vk;
    };
    const Case cases[] = {
        {Qt::Key_Left, {}, 37},
        {Qt::Key_Up, {}, 38},
        {Qt::Key_Right, {}, 39},
        {Qt::Key_Down, {}, 40},
        {Qt::Key_Return, {}, 13},
        {Qt::Key_Enter, Qt::KeypadModifier, 13},
        {Qt::Key_Backspace, {}, 8},
        {Qt::Key_0, {}, 48},
        {Qt::Key_9, {}, 57},
        {Qt::Key_3, Qt::KeypadModifier, 99},
        {Qt::Key_Asterisk, Qt::KeypadModifier, 106},
        {Qt::Key_Asterisk, Qt::ShiftModifier, 0}, // Shift+8 is no keypad key
        {Qt::Key_A, {}, 65},
        {Qt::Key_Z, Qt::ShiftModifier, 90},
        {Qt::Key_Tab, {}, 9},
        {Qt::Key_Backtab, Qt::ShiftModifier, 9},
        {Qt::Key_Shift, Qt::ShiftModifier, 16},
        {Qt::Key_Control, Qt::ControlModifier, 17},
        {Qt::Key_Alt, Qt::AltModifier, 18},
        {Qt::Key_Pause, {}, 19},
        {Qt::Key_CapsLock, {}, 20},
        {Qt::Key_Escape, {}, 27},
        {Qt::Key_Space, {}, 32},
        {Qt::Key_PageUp, {}, 33},
        {Qt::Key_PageDown, {}, 34},
        {Qt::Key_End, {}, 35},
        {Qt::Key_Home, {}, 36},
        {Qt::Key_Insert, {}, 45},
        {Qt::Key_Delete, {}, 46},
        {Qt::Key_0, Qt::KeypadModifier, 96},
        {Qt::Key_9, Qt::KeypadModifier, 105},
        {Qt::Key_Plus, Qt::KeypadModifier, 107},
        {Qt::Key_Minus, Qt::KeypadModifier, 109},
        {Qt::Key_Period, Qt::KeypadModifier, 110},
        {Qt::Key_Slash, Qt::KeypadModifier, 111},
        {Qt::Key_Minus, {}, 0},
        {Qt::Key_Slash, {}, 0},
        {Qt::Key_F1, {}, 112},
        {Qt::Key_F12, {}, 123},
        {Qt::Key_Comma, {}, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(virtualKeyCode(c.key, c.mods), c.vk) << c.key;
    EXPECT_EQ(shiftState(Qt::ShiftModifier | Qt::AltModifier | Qt::KeypadModifier), 5);
    EXPECT_EQ(shiftState(Qt::ControlModifier), 2);
    EXPECT_EQ(shiftState(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier), 7);
    EXPECT_EQ(shiftState(Qt::MetaModifier), 0);
}

TEST(KeyTranslation, CtrlTypesControlCodesOnly)
{
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        QString reported; // the text the platform puts in the event
        QString typed;
    };
    const Case cases[] = {
        {Qt::Key_7, {}, QStringLiteral("7"), QStringLiteral("7")},
        {Qt::Key_Backspace, {}, QStringLiteral("\b"), QStringLiteral("\b")},
        {Qt::Key_Left, {}, QString(), QString()},
        // A letter with Ctrl is its control code, whatever the platform says.
        {Qt::Key_V, Qt::ControlModifier, QStringLiteral("v"), QStringLiteral("\x16")},
        {Qt::Key_A, Qt::ControlModifier, QString(), QStringLiteral("\x01")},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, QStringLiteral("Z"), QStringLiteral("\x1a")},
        // Other Ctrl keys type only a control character the platform reports.
        {Qt::Key_5, Qt::ControlModifier, QStringLiteral("5"), QString()},
        {Qt::Key_BracketLeft, Qt::ControlModifier, QStringLiteral("\x1b"), QStringLiteral("\x1b")},
        // AltGr arrives as Ctrl+Alt and types what it shows.
        {Qt::Key_At, Qt::ControlModifier | Qt::AltModifier, QStringLiteral("@"), QStringLiteral("@")},
    };
    for (const Case &c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.mods, c.reported);
        EXPECT_EQ(typedCharacter(&event), c.typed) << c.key << " " << c.mods.toInt();
    }
}

} // namespace
