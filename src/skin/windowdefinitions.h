#pragma once

#include "platform/surface.h"

#include <QColor>
#include <QRect>
#include <QSize>

#include <optional>
#include <span>
#include <string_view>

namespace vk {

// The windows as data: each window's design size, title, colour and font,
// and each of its controls with its kind, place, colours, font, picture
// and flags, in the order the window creates them. The windows build
// themselves from these (skin/controlbuilder.h) and add only behaviour.

// What a control is made as.
enum class ControlKind {
    PictureBox, // a Surface
    Timer,      // a QTimer: interval and timer type only
    Label,      // a QLabel, as large as its text
    PushButton, // a QPushButton
    ComboBox,   // a QComboBox the user cannot type into; nothing chosen at first
    Grid,       // the answer grid: made by its window, named and placed here
};

// The pictures a control can be defined with.
enum class DefinedPicture { None, WrongAnswer, CorrectAnswer, SetMarker, SkinTemplate };

// A font by the face names makeFont() knows.
struct FontDefinition {
    std::string_view face{};
    double points = 0;
    bool bold = false;
    bool underline = false;
};

// A colour as a definition gives it. A control defined without one keeps
// what it has; the window-text colour is the desktop's, read when the
// control is built.
struct ColourDefinition {
    enum class Source { None, Fixed, WindowText };
    Source source = Source::None;
    QColor fixed{};
};

constexpr ColourDefinition fixedColour(QColor colour)
{
    return {ColourDefinition::Source::Fixed, colour};
}

inline constexpr ColourDefinition kWindowTextColour{ColourDefinition::Source::WindowText, {}};

// One control. What a kind has no use for is left out (a timer has no
// place, a picture box no text).
struct ControlDefinition {
    std::string_view objectName{};
    ControlKind kind = ControlKind::PictureBox;
    // The control it lies on, by name; it is defined earlier. Empty: the window.
    std::string_view parent{};
    // Place and size in pixels on the parent. A label takes only the place
    // and sizes itself to its text; so does a picture box sized to its picture.
    QRect geometry{};
    bool sizedToPicture = false;
    // A label without a back colour is transparent; its fore colour is
    // its text's.
    ColourDefinition back{};
    ColourDefinition fore{};
    // None: the control shows its parent's font, and follows it.
    std::optional<FontDefinition> font{};
    DefinedPicture picture = DefinedPicture::None;
    std::string_view text{};                   // a label's or a push button's
    std::span<const std::string_view> items{}; // a combo box's choices
    Qt::Alignment alignment{};                 // a label's text; none: the label's own
    bool visible = true;
    bool autoRedraw = false;
    std::optional<Qt::FocusPolicy> focusPolicy{}; // none: the kind's own
    Surface::Pointer pointer = Surface::Pointer::Default; // other controls show the same cursors
    int interval = 0; // a timer's, in milliseconds
    Qt::TimerType timerType = Qt::CoarseTimer;
};

// One window and its controls.
struct WindowDefinition {
    QSize designSize{};
    std::string_view title{}; // empty: none
    QColor back{};
    FontDefinition font{};
    std::span<const ControlDefinition> controls{}; // in creation order
    // The controls that are chained for Tab, first to last; a control not
    // named keeps its place in the chain.
    std::span<const std::string_view> tabOrder{};

    // The control of that name; a name not defined stops the program.
    const ControlDefinition &control(std::string_view objectName) const;
};

const WindowDefinition &exerciseWindowDefinition();
const WindowDefinition &mainWindowDefinition();

} // namespace vk
