#pragma once

#include <QPoint>
#include <QString>

#include <functional>

class QWidget;

namespace vk {

class Form;
class SkinTemplate;
struct RunState;

// Where the start screen puts its logo and slogan, from the window's inner
// size and the height of the two-line title (TH1).
struct StartScreenLayout {
    int g = 0;       // room left below the title, logo and settings panel
    int logoTop = 0;
    QPoint logo;
    QPoint slogan;
    friend bool operator==(const StartScreenLayout &, const StartScreenLayout &) = default;
};

StartScreenLayout startScreenLayout(int width, double scaleHeight, int titleHeight);

// The two-line title of the start screen, for factors of that many digits.
QString mainTitleText(int factorDigits);

// The controls of the main window that painting frames or places.
struct MainScreenControls {
    Form &window;
    const QWidget &settingsPanel;
    QWidget &controlStrip;
    QWidget &addressLabel;
    QWidget &addressShadowLabel;
};

// Paints the main window from the skin template in its start-screen or its
// stage look (by RunState::stageActive) into the window's kept image, and
// docks the window-control strip when the window changes size.
class MainScreen
{
public:
    // The height of the title in the window's current font; replaceable so
    // that a test can stand on a known height whatever the font engine says.
    using TitleHeight = std::function<int(const Form &window, const QString &title)>;

    MainScreen(MainScreenControls controls, const SkinTemplate &skin, RunState &run);

    void paintMainScreen();
    // The window's resize handling: nothing while it is minimised.
    void resizeHandling();

    void setTitleHeight(TitleHeight measure) { m_titleHeight = std::move(measure); }
    // The factors' length the title names; painted at the next painting.
    void setTitleDigits(int factorDigits) { m_titleDigits = factorDigits; }
    int titleDigits() const { return m_titleDigits; }
    int logoTop() const { return m_logoTop; }

    static constexpr int kStripWidth = 68;
    static constexpr int kStripHeight = 15;
    static constexpr int kStripRightGap = 72; // strip left = ScaleWidth - 72
    static constexpr int kStripTop = 4;

private:
    void paintStageLook(int w);
    void paintStartLook(int w, int h);
    void placeAddressLabels();

    MainScreenControls m_c;
    const SkinTemplate &m_skin;
    RunState &m_run;
    TitleHeight m_titleHeight;
    int m_titleDigits;
    int m_logoTop = 0;
};

} // namespace vk
