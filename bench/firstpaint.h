// Shared by the two first-paint probes: notices when a top-level widget's
// first frame has been painted and handed to the platform, writes the
// monotonic clock and the process's CPU time at that moment to stdout and
// ends the event loop.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <ctime>

namespace vkbench {

inline long long nowNs(clockid_t clock)
{
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

// Sits on the application and lets the first expose or update request of
// the watched window run to its end (the backing store painted and
// flushed); if the widget itself was painted on the way, that was the
// first frame.
class FirstFrameWatch : public QObject
{
public:
    explicit FirstFrameWatch(QWidget *widget)
        : m_widget(widget)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (m_done || !m_widget)
            return false;
        if (watched == m_widget && event->type() == QEvent::Paint) {
            m_painted = true;
            return false;
        }
        QWindow *window = m_widget->windowHandle();
        if (window && watched == window && !m_inside
            && (event->type() == QEvent::Expose || event->type() == QEvent::UpdateRequest)) {
            m_inside = true;
            QCoreApplication::sendEvent(window, event);
            m_inside = false;
            if (m_painted) {
                m_done = true;
                const long long wall = nowNs(CLOCK_MONOTONIC);
                const long long cpu = nowNs(CLOCK_PROCESS_CPUTIME_ID);
                std::printf("%lld %lld\n", wall, cpu);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            }
            return true;
        }
        return false;
    }

private:
    QPointer<QWidget> m_widget;
    bool m_painted = false;
    bool m_inside = false;
    bool m_done = false;
};

} // namespace vkbench
