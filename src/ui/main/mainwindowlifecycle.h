#pragma once

#include "ui/main/dockedplacement.h"
#include "msgbox/messagesink.h"

#include <Qt>

class QRect;

namespace vk {

class Form;
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
    // stage is shown: the keyboard is the stage's then.
    void activation();
    // START: the stage shown inside the main window below its top band; the
    // main window repaints itself in its stage look.
    void start();
    // The main window changed size: the stage keeps covering it below the band.
    void placeStage();
    // The stage has gone: the keyboard is back on START.
    void stageClosed();
    bool stageShown() const { return shownStage() != nullptr; }
    // The height of the top band the stage leaves free, in pixels.
    int bandHeight() const;
    void placeSettingsPanel();
    void unloadAllWindows();

    // The screen changed under the running program: the main window is
    // sized and placed for the new screen, the stage and the backdrop
    // follow. A minimised window stays minimised.
    void fitToScreen();

    static constexpr int kPanelWidth = 750;
    static constexpr int kPanelHeight = 120;

private:
    void copyStripGlyphs();
    TwipsRect mainRect() const;
    // The panel centred near the window's bottom, without restoring the window.
    void movePanel();
    // The stage while it is shown inside the main window, else null.
    Form *shownStage() const;

    MainWindow &m_main;
    AppContext &m_ctx;
    MessageSink m_messages;
    bool m_endedEarly = false;
};

inline const QString kScreenTooSmallMessage = QStringLiteral("Minimum secreen resolution must be 1024x768");

} // namespace vk
