#include "traininglog/logwriter.h"

#include "traininglog/traininglog.h"

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace vk {

TrainingLogWriter::TrainingLogWriter(QString path, ProblemOutput problems, LockPolicy lockPolicy)
    : m_path(std::move(path))
    , m_problems(problems ? std::move(problems) : [](const QString &line) {
        std::fputs(qPrintable(line + QLatin1Char('\n')), stderr);
        std::fflush(stderr);
    })
    , m_lockPolicy(std::move(lockPolicy))
    , m_thread([this] { run(); })
{
}

TrainingLogWriter::~TrainingLogWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void TrainingLogWriter::stageEnded(const StageReport &report)
{
    {
        const std::lock_guard lock(m_mutex);
        m_queue.push_back({std::chrono::steady_clock::now() + std::chrono::milliseconds(kSettleMs), report});
    }
    m_wake.notify_one();
}

void TrainingLogWriter::waitUntilIdle()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_queue.empty() && !m_busy; });
}

int TrainingLogWriter::rowsWritten() const
{
    const std::lock_guard lock(m_mutex);
    return m_written;
}

void TrainingLogWriter::tell(const QString &line)
{
    // Once per run: a log that fails fails for every stage alike.
    {
        const std::lock_guard lock(m_mutex);
        if (m_told)
            return;
        m_told = true;
    }
    m_problems(line);
}

void TrainingLogWriter::run()
{
    // Below the program's own threads: writing can always wait.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10);
    // The connection belongs to this thread: it is made, used and closed here.
    QString problem;
    std::unique_ptr<TrainingLog> log = TrainingLog::open(m_path, &problem, m_lockPolicy);
    if (!log)
        tell(QStringLiteral("vendrakul: the training log is off: %1").arg(problem));

    std::unique_lock lock(m_mutex);
    for (;;) {
        m_busy = false;
        m_idle.notify_all();
        m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_queue.empty())
            break; // stopping, and nothing left to write
        m_wake.wait_until(lock, m_queue.front().due, [this] { return m_stopping; });
        const StageReport report = std::move(m_queue.front().report);
        m_queue.pop_front();
        m_busy = true;
        lock.unlock();
        const bool written = log && log->append(report);
        if (log && !written)
            tell(QStringLiteral("vendrakul: a stage could not be written to the training log: %1").arg(log->problem()));
        lock.lock();
        if (written)
            ++m_written;
    }
    lock.unlock();
    log.reset();
}

} // namespace vk
