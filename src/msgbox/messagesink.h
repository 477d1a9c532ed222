#pragma once

#include <QString>

#include <functional>

namespace vk {

// Shows a plain message (one OK button, no icon, the program's title) and
// returns when the user has closed it. Tests put a recorder in its place.
using MessageSink = std::function<void(const QString &text)>;

MessageSink plainMessageBox();

} // namespace vk
