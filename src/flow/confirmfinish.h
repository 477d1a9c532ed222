#pragma once

#include <QString>

namespace vk {

class FinishHost;
class TimedMessageBox;
struct StageRecord;

inline const QString kConfirmCaption = QStringLiteral("KELVARIS");
inline const QString kConfirmText = QStringLiteral("Do you want to finish this stage?");
constexpr int kConfirmTickInterval = 1000;

// Asks whether to finish the stage. Yes finishes it; No lets it go on,
// unless the clock reached its limit while the box was open. The box says
// "No" by itself after 5 s, or after the whole seconds left when fewer
// (never with none left), counted from the clock's last reading.
//
// Runs a nested event loop. The host window may be unloaded meanwhile (the
// program closing): then nothing more is done, and the caller must not touch
// the window either, so call this last in a handler.
void confirmFinish(const StageRecord &stage, TimedMessageBox &questionBox, FinishHost &host);

} // namespace vk
