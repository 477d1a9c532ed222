#include "skin/windowdefinitions.h"

#include "skin/palette.h"
#include "stage/factorlength.h"

#include <QtGlobal>

#include <iterator>
#include <string>

namespace vk {
namespace {

using Kind = ControlKind;
using Pointer = Surface::Pointer;

constexpr FontDefinition kTahoma{"Tahoma", 8.25};

// The exercise window. Only the column marker 0 is defined; the load adds
// markers 1 to 19 as copies of it.
constexpr ControlDefinition kExerciseControls[] = {
    {.objectName = "wrongPictureBox", .geometry = {218, 394, 150, 150}, .back = fixedColour(palette::kWhite),
     .fore = fixedColour(palette::kBlack), .picture = DefinedPicture::WrongAnswer, .visible = false,
     .focusPolicy = Qt::NoFocus},
    {.objectName = "correctPictureBox", .geometry = {42, 320, 150, 150}, .back = fixedColour(palette::kWhite),
     .fore = fixedColour(palette::kBlack), .picture = DefinedPicture::CorrectAnswer, .visible = false,
     .focusPolicy = Qt::NoFocus},
    {.objectName = "resultPanel", .geometry = {14, 126, 79, 59}, .back = fixedColour(palette::kResultPink),
     .fore = kWindowTextColour, .visible = false, .autoRedraw = true, .focusPolicy = Qt::NoFocus},
    // The finish question sets its interval when it opens.
    {.objectName = "answerTimer", .kind = Kind::Timer, .interval = 0},
    {.objectName = "finishButtonBox", .geometry = {258, 30, 85, 39}, .back = fixedColour(palette::kWhite),
     .fore = kWindowTextColour, .font = FontDefinition{"Tahoma", 12.75, true}, .focusPolicy = Qt::NoFocus},
    {.objectName = "backButtonBox", .geometry = {162, 30, 85, 39}, .back = fixedColour(palette::kWhite),
     .fore = kWindowTextColour, .font = FontDefinition{"Tahoma", 12.75, true}, .focusPolicy = Qt::NoFocus},
    {.objectName = "clockTimer", .kind = Kind::Timer, .interval = 10, .timerType = Qt::PreciseTimer},
    {.objectName = "clockDisplay", .geometry = {26, 48, 85, 43}, .back = fixedColour(palette::kHeaderStrip),
     .fore = kWindowTextColour, .autoRedraw = true, .focusPolicy = Qt::NoFocus},
    {.objectName = "sheetPanel", .geometry = {304, 146, 259, 215}, .back = fixedColour(palette::kWindowBody),
     .fore = fixedColour(palette::kBlack), .font = FontDefinition{"Verdana", 12.75, true}, .focusPolicy = Qt::NoFocus},
    // The panel's font is the sheet's; the marker boxes keep the window's.
    {.objectName = "markerPictureBox", .parent = "sheetPanel", .geometry = {30, 136, 20, 32},
     .back = fixedColour(palette::kWhite), .fore = fixedColour(palette::kBlack), .font = kTahoma,
     .picture = DefinedPicture::SetMarker, .visible = false, .focusPolicy = Qt::NoFocus},
    {.objectName = "markerBox_0", .parent = "sheetPanel", .geometry = {72, 112, 20, 33},
     .back = fixedColour(palette::kMarkerYellow), .fore = kWindowTextColour, .font = kTahoma,
     .focusPolicy = Qt::NoFocus, .pointer = Pointer::Custom},
    {.objectName = "answerGrid", .kind = Kind::Grid, .parent = "sheetPanel", .geometry = {26, 16, 141, 87}},
};

// Qt chains only controls that take the focus by Tab, and of these only
// the grid does: the order is kept as the window has always set it.
constexpr std::string_view kExerciseTabOrder[] = {
    "sheetPanel", "answerGrid",       "clockDisplay", "backButtonBox",     "finishButtonBox",
    "markerBox_0",  "markerPictureBox", "resultPanel",  "correctPictureBox", "wrongPictureBox",
};

constexpr std::string_view kClockChoices[] = {"Yes", "No"};
// Each factor's length, shortest first; the load chooses.
constexpr std::string_view kFactorLengths[] = {"2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "10", "11",
                                               "12", "13", "14", "15", "16", "17", "18", "19", "20"};
static_assert(std::size(kFactorLengths) == kMostFactorDigits - kFewestFactorDigits + 1);
constexpr std::string_view kAddress = "www.kelvaris.example";
constexpr FontDefinition kTahomaBold12{"Tahoma", 12, true};
constexpr FontDefinition kAddressFont{"Tahoma", 9, false, true};

// The main window. Picture boxes keep their own font: painting changes the
// window's.
constexpr ControlDefinition kMainControls[] = {
    {.objectName = "settingsPanel", .geometry = {224, 84, 629, 145}, .back = fixedColour(palette::kWindowBody),
     .font = kTahoma, .autoRedraw = true, .focusPolicy = Qt::TabFocus, .pointer = Pointer::Arrow},
    {.objectName = "startButton", .kind = Kind::PushButton, .parent = "settingsPanel", .geometry = {212, 84, 175, 45},
     .font = kTahomaBold12, .text = "START"},
    {.objectName = "clockChoice", .kind = Kind::ComboBox, .parent = "settingsPanel", .geometry = {288, 32, 137, 27},
     .font = kTahomaBold12, .items = kClockChoices},
    {.objectName = "clockChoiceLabel", .kind = Kind::Label, .parent = "settingsPanel", .geometry = {82, 36, 0, 0},
     .back = fixedColour(palette::kWindowBody), .fore = fixedColour(palette::kCaptionRed), .font = kTahomaBold12,
     .text = "Timer is enabled :", .alignment = Qt::AlignRight | Qt::AlignVCenter},
    // The factors' length, in the look of the clock choice and its label.
    {.objectName = "factorChoice", .kind = Kind::ComboBox, .parent = "settingsPanel", .geometry = {560, 32, 70, 27},
     .font = kTahomaBold12, .items = kFactorLengths},
    {.objectName = "factorChoiceLabel", .kind = Kind::Label, .parent = "settingsPanel", .geometry = {480, 36, 0, 0},
     .back = fixedColour(palette::kWindowBody), .fore = fixedColour(palette::kCaptionRed), .font = kTahomaBold12,
     .text = "Digits :", .alignment = Qt::AlignRight | Qt::AlignVCenter},
    {.objectName = "controlStrip", .geometry = {88, 26, 43, 17}, .back = fixedColour(palette::kWhite), .font = kTahoma,
     .focusPolicy = Qt::TabFocus, .pointer = Pointer::Arrow},
    // Stays hidden; its picture is the one the skin holds.
    {.objectName = "skinTemplate", .geometry = {600, 322, 0, 0}, .sizedToPicture = true, .font = kTahoma,
     .picture = DefinedPicture::SkinTemplate, .visible = false, .autoRedraw = true},
    {.objectName = "addressLabel", .kind = Kind::Label, .geometry = {56, 100, 0, 0},
     .fore = fixedColour(palette::kBlack), .font = kAddressFont, .text = kAddress, .pointer = Pointer::Custom},
    {.objectName = "addressShadowLabel", .kind = Kind::Label, .geometry = {62, 114, 0, 0},
     .fore = fixedColour(palette::kAddressShadow), .font = kAddressFont, .text = kAddress, .pointer = Pointer::Custom},
};

// The strip, the settings panel, the two choices, START. The labels and
// the hidden template never take the focus.
constexpr std::string_view kMainTabOrder[] = {"controlStrip", "settingsPanel", "clockChoice", "factorChoice",
                                              "startButton"};

// Every name once, every parent defined before its children, every name
// in the tab order defined.
constexpr bool wellFormed(std::span<const ControlDefinition> controls, std::span<const std::string_view> tabOrder)
{
    const auto definedBefore = [&](std::size_t end, std::string_view name) {
        for (std::size_t i = 0; i < end; ++i)
            if (controls[i].objectName == name)
                return true;
        return false;
    };
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].objectName.empty() || definedBefore(i, controls[i].objectName))
            return false;
        if (!controls[i].parent.empty() && !definedBefore(i, controls[i].parent))
            return false;
    }
    for (std::string_view name : tabOrder)
        if (!definedBefore(controls.size(), name))
            return false;
    return true;
}

static_assert(wellFormed(kExerciseControls, kExerciseTabOrder));
static_assert(wellFormed(kMainControls, kMainTabOrder));

} // namespace

const ControlDefinition &WindowDefinition::control(std::string_view objectName) const
{
    for (const ControlDefinition &c : controls)
        if (c.objectName == objectName)
            return c;
    qFatal("No control %s is defined", std::string(objectName).c_str());
}

const WindowDefinition &exerciseWindowDefinition()
{
    static const WindowDefinition definition{
        .designSize = {847, 599},
        .back = palette::kWindowBody,
        .font = kTahoma,
        .controls = kExerciseControls,
        .tabOrder = kExerciseTabOrder,
    };
    return definition;
}

const WindowDefinition &mainWindowDefinition()
{
    static const WindowDefinition definition{
        .designSize = {934, 727},
        .title = "Kelvaris Ostravel",
        .back = palette::kWindowBody,
        .font = kTahoma,
        .controls = kMainControls,
        .tabOrder = kMainTabOrder,
    };
    return definition;
}

} // namespace vk
