#pragma once

#include "shell/messagesink.h"

namespace vk {

class FrmMain;
struct AppContext;

// The main window's life: the start-up sequence of its load, the focus on
// START at every activation, START itself and the unloading of every
// window when the main window goes.
class MainWindowLifecycle
{
public:
    MainWindowLifecycle(FrmMain &frm, AppContext &ctx, MessageSink messages);

    void setMessageSink(MessageSink messages) { m_messages = std::move(messages); }

    // The load event. On a screen lower than 768 pixels the message is
    // shown and nothing else happens; endedEarly() then tells the caller to
    // end the program with a failure status.
    void load();
    bool endedEarly() const { return m_endedEarly; }

    void activation();
    // START: the stage window docked over the main window, which repaints
    // itself in its stage look.
    void start();
    void placeSettingsPanel();
    void unloadAllWindows();

    static constexpr int kPanelWidth = 750;
    static constexpr int kPanelHeight = 120;

private:
    void copyStripGlyphs();

    FrmMain &m_frm;
    AppContext &m_ctx;
    MessageSink m_messages;
    bool m_endedEarly = false;
};

inline const QString kScreenTooLowMessage = QStringLiteral("Minimum secreen resolution must be 1024x768");

} // namespace vk
