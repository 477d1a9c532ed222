#pragma once

// What the X session's files share: the environment of everything started
// against a display, and a start that can be stopped with all it starts.
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace vk::e2e {

QProcessEnvironment environmentFor(const QString &display);

// Starts a process as the leader of a process group of its own, so that it
// can be stopped together with everything it starts (dbus-run-session's bus,
// xfconfd, weston's XWayland, ...).
void startInOwnGroup(QProcess &p, const QString &program, const QStringList &args);

} // namespace vk::e2e
