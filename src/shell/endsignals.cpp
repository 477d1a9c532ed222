#include "shell/endsignals.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace vk {
namespace {

constexpr int kEndingSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The pipe's writing end, for the handler: a signal handler may only write.
volatile sig_atomic_t g_writeEnd = -1;

} // namespace

EndSignals::EndSignals(std::function<void(int)> ending)
    : m_ending(std::move(ending))
{
    if (::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    g_writeEnd = m_pipe[1];
    m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        unsigned char signal = 0;
        while (::read(m_pipe[0], &signal, 1) == 1) {
            if (m_ending)
                m_ending(signal);
        }
    });
    struct sigaction action {};
    action.sa_handler = &EndSignals::handle;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND: the usual action for the next one. SA_RESTART: system
    // calls the signal interrupts go on.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    for (const int signal : kEndingSignals)
        ::sigaction(signal, &action, nullptr);
}

EndSignals::~EndSignals()
{
    for (const int signal : kEndingSignals)
        ::signal(signal, SIG_DFL);
    g_writeEnd = -1;
    delete m_notifier;
    for (const int fd : m_pipe) {
        if (fd >= 0)
            ::close(fd);
    }
}

void EndSignals::handle(int signal)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    if (g_writeEnd >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(g_writeEnd, &byte, 1);
    }
    errno = savedErrno;
}

} // namespace vk
