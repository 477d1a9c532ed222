#pragma once

#include "platform/form.h"
#include "platform/windowdrag.h"
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

    // The controls. They live as long as the window.
    Surface &settingsPanel() { return *m_settingsPanel; }
    const Surface &settingsPanel() const { return *m_settingsPanel; }
    QPushButton &startButton() { return *m_startButton; }
    const QPushButton &startButton() const { return *m_startButton; }
    QComboBox &clockChoice() { return *m_clockChoice; }
    const QComboBox &clockChoice() const { return *m_clockChoice; }
    // "Timer is enabled :", left of the clock choice.
    QLabel &clockChoiceLabel() { return *m_clockChoiceLabel; }
    const QLabel &clockChoiceLabel() const { return *m_clockChoiceLabel; }
    // The factors' length, and "Digits :" left of it.
    QComboBox &factorChoice() { return *m_factorChoice; }
    const QComboBox &factorChoice() const { return *m_factorChoice; }
    QLabel &factorChoiceLabel() { return *m_factorChoiceLabel; }
    const QLabel &factorChoiceLabel() const { return *m_factorChoiceLabel; }
    Surface &controlStrip() { return *m_controlStrip; }
    const Surface &controlStrip() const { return *m_controlStrip; }
    // Hidden; holds the skin template as its picture.
    Surface &skinTemplate() { return *m_skinTemplate; }
    const Surface &skinTemplate() const { return *m_skinTemplate; }
    QLabel &addressLabel() { return *m_addressLabel; }
    const QLabel &addressLabel() const { return *m_addressLabel; }
    QLabel &addressShadowLabel() { return *m_addressShadowLabel; }
    const QLabel &addressShadowLabel() const { return *m_addressShadowLabel; }

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void defineControls();
    void startClicked();
    void layoutSettingsPanel();
    // The title follows the factors' length chosen.
    void factorChoiceChanged();

    AppContext &m_ctx;

    // The controls, in the order the window defines them.
    Surface *m_settingsPanel = nullptr;
    QPushButton *m_startButton = nullptr;
    QComboBox *m_clockChoice = nullptr;
    QLabel *m_clockChoiceLabel = nullptr;
    QComboBox *m_factorChoice = nullptr;
    QLabel *m_factorChoiceLabel = nullptr;
    Surface *m_controlStrip = nullptr;
    Surface *m_skinTemplate = nullptr;
    QLabel *m_addressLabel = nullptr;
    QLabel *m_addressShadowLabel = nullptr;

    std::unique_ptr<MainScreen> m_mainScreen;
    BackdropMode m_backdrop;
    WindowDrag m_mover; // a drag on the top band moves the window
    WindowControlStrip *m_strip = nullptr;
    std::unique_ptr<MainWindowLifecycle> m_lifecycle;
    bool m_centreWhenShown = true;
    bool m_refitPending = false;
    bool m_iconSet = false;

    friend class MainWindowLifecycle;
};

} // namespace vk
