#pragma once

#include "ui/main/dockedplacement.h"
#include "msgbox/messagesink.h"

#include <Qt>

namespace vk {

class MainWindow;
struct AppContext;

// The main window's life: the start-up sequence of its load, the focus on
// START at every activation, START itself and the unloading of every
// window when the main window goes.
class MainWindowLifecycle
{
public:
    MainWindowLifecycle(MainWindow &main, AppContext &ctx, MessageSink messages);

    void setMessageSink(MessageSink messages) { m_messages = std::move(messages); }

    // The load event. On a screen lower than 768 pixels the message is
    // shown and nothing else happens; endedEarly() then tells the caller to
    // end the program with a failure status.
    void load();
    bool endedEarly() const { return m_endedEarly; }

    // Every activation of the main window. START takes the focus, unless a
    // stage window is open: the keyboard is the stage's, so a click on the
    // main window's band or strip hands the activation on to it.
    void activation();
    // START: the stage window docked over the main window, which repaints
    // itself in its stage look.
    void start();
    void placeSettingsPanel();
    void unloadAllWindows();

    // The main window moved (the window manager, a user's drag): docked
    // windows follow it.
    void followMove();
    // The main window was minimised or restored, by the strip or by the
    // window manager: docked windows go with it.
    void followWindowState(Qt::WindowStates oldState);
    // The screen changed under the running program: the main window is
    // sized and placed for the new screen, docked windows and the backdrop
    // follow.
    void fitToScreen();

    static constexpr int kPanelWidth = 750;
    static constexpr int kPanelHeight = 120;

private:
    void copyStripGlyphs();
    TwipsRect mainRect() const;

    MainWindow &m_main;
    AppContext &m_ctx;
    MessageSink m_messages;
    bool m_endedEarly = false;
};

inline const QString kScreenTooSmallMessage = QStringLiteral("Minimum secreen resolution must be 1024x768");

} // namespace vk
