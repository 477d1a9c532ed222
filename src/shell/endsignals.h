#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace vk {

// The ends of a run that are not a close: SIGTERM (a logout, a shutdown),
// SIGHUP (the terminal it runs in was closed) and SIGINT (Ctrl+C there).
// Each is handed to `ending` on the thread that made this, from its event
// loop, where the program can close as a user's close does. The signal's
// usual action comes back at once, so a second one ends a program that
// takes too long about it. Only one may exist at a time.
class EndSignals : public QObject
{
    Q_OBJECT
public:
    explicit EndSignals(std::function<void(int signal)> ending);
    ~EndSignals() override;

private:
    static void handle(int signal);

    std::function<void(int)> m_ending;
    QSocketNotifier *m_notifier = nullptr;
    int m_pipe[2] = {-1, -1};
};

} // namespace vk
