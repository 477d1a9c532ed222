#pragma once

#include "platform/form.h"
#include "skin/appcontext.h"
#include "msgbox/messagesink.h"
#include "ui/main/backdropmode.h"
#include "ui/main/mainscreen.h"

#include <memory>

class QComboBox;
class QLabel;
class QPushButton;

namespace vk {

class MainWindowLifecycle;
class WindowControlStrip;

// The main window: the start screen with the settings panel, START and the
// window-control strip. It holds its controls and routes their events to
// the start-up and START handling, the main screen painter and the strip.
class MainWindow : public Form, public MainWindowApi
{
    Q_OBJECT
public:
    explicit MainWindow(AppContext &ctx);
    ~MainWindow() override;

    // The load event: the start-up sequence. When the screen is too low the
    // message has been shown and endedEarly() is true; the window must then
    // be discarded without being shown.
    void load() override;
    bool endedEarly() const;

    void paintMainScreen() override;
    void placeSettingsPanel();
    void unloadAllWindows();
    void toggleBackdrop();
    void centerOnWorkArea();
    // The screen's size or work area changed: the window is fitted to the
    // new screen once the change has settled (one refit for a burst of
    // notices).
    void screenChanged() override;

    // The screen-height message goes here; a plain message box unless replaced.
    void setMessageSink(MessageSink sink);

    int hotCell() const;
    bool backdropOn() const { return m_backdrop.isOn(); }
    MainScreen &mainScreen() { return *m_mainScreen; }
    WindowControlStrip &strip() { return *m_strip; }
    AppContext &context() { return m_ctx; }

    // "Timer is enabled :", left of the clock choice.
    QLabel *clockChoiceLabel() const { return m_clockChoiceLabel; }

    // Controls, in definition order (clockChoiceLabel() comes after clockChoice). They
    // live as long as the window.
    Surface *settingsPanel = nullptr;
    QPushButton *startButton = nullptr;
    QComboBox *clockChoice = nullptr;
    Surface *controlStrip = nullptr;
    Surface *skinTemplate = nullptr;
    QLabel *addressLabel = nullptr;
    QLabel *addressShadowLabel = nullptr;

    static constexpr int kDesignWidth = 934;
    static constexpr int kDesignHeight = 727;

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void defineControls();
    void startClicked();

    AppContext &m_ctx;
    QLabel *m_clockChoiceLabel = nullptr;
    std::unique_ptr<MainScreen> m_mainScreen;
    BackdropMode m_backdrop;
    WindowControlStrip *m_strip = nullptr;
    std::unique_ptr<MainWindowLifecycle> m_lifecycle;
    bool m_centreWhenShown = true;
    bool m_refitPending = false;
    bool m_iconSet = false;

    friend class MainWindowLifecycle;
};

} // namespace vk
