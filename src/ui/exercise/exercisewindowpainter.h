#pragma once

#include <QList>
#include <QPointF>

#include <cstdint>

class QWidget;

namespace vk {

class SkinTemplate;
class Surface;
struct TextRect;

// Where the exercise window's layout puts its pieces, before any rounding of
// the control positions (a half pixel goes to the even neighbour when the
// control is moved). W and H are the window's inner size in pixels.
struct ExerciseLayout {
    int tabLeft = 0;        // left end of the clock tab
    int tabSlice0 = 0;      // first of the 81 middle slices; slice n at the rounded tabSliceX(n)
    int tabRight = 0;       // right end of the tab
    QPointF clockDisplay;        // 162 x 81
    QPointF sheetPanel;     // sheetPanel, sheetWidth + 8 by sheetHeight + 54
    int sheetPanelWidth = 0;
    int sheetPanelHeight = 0;
    double resultLeft = 0;  // resultPanel, 150 x 150; its top follows the panel as placed
    double backLeft = 0;    // backButtonBox, 150 x 50
    double finishLeft = 0;  // finishButtonBox, 150 x 50
    double buttonTop = 0;
};

inline constexpr int kTabTop = 26;
inline constexpr int kTabSliceCount = 81;
inline constexpr int kButtonWidth = 150;
inline constexpr int kButtonHeight = 50;
inline constexpr int kResultSize = 150;

ExerciseLayout exerciseLayout(int width, int height, int sheetWidth, int sheetHeight);
// The left of clock tab slice n (0..80) in a window `width` pixels wide.
int tabSliceX(int width, int n);

// The controls the layout paints around and places.
struct ExerciseWindowParts {
    Surface &window;
    QWidget &clockDisplay;
    QWidget &sheetPanel;
    QWidget &resultPanel;
    QWidget &backButtonBox;
    QWidget &finishButtonBox;
    std::int16_t sheetWidth = 0;
    std::int16_t sheetHeight = 0;
};

// Composes the window's skin (bands, borders, corners, title, clock tab) in
// its kept image, shows it with one refresh, places the clock display, the
// sheet panel, the result panel and the two drawn buttons, and frames the
// sheet panel. Leaves the window's font Arial bold 15 and its colour navy.
void paintExerciseWindow(const ExerciseWindowParts &parts, const SkinTemplate &skin, TextRect &textRect);

// The sheet panel's own resize: the grid below a 50-pixel strip, and the
// markers in that strip from right to left on the 22-pixel column pitch.
void layoutSheetPanel(const QWidget &sheetPanel, QWidget &answerGrid, const QList<QWidget *> &markers);

} // namespace vk
