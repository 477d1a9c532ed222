#include "traininglog/logwriter.h"

#include "traininglog/traininglog.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace vk {

TrainingLogWriter::TrainingLogWriter(QString path, Options options)
    : m_path(std::move(path))
    , m_options([&] {
        if (!options.problems)
            options.problems = [](const QString &line) {
                std::fputs(qPrintable(line + QLatin1Char('\n')), stderr);
                std::fflush(stderr);
            };
        return std::move(options);
    }())
    , m_thread([this] { run(); })
{
}

TrainingLogWriter::~TrainingLogWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_stopDeadline = Clock::now() + std::chrono::milliseconds(m_options.exitWaitMs);
    }
    m_wake.notify_one();
    m_thread.join();
}

void TrainingLogWriter::stageEnded(const StageReport &report)
{
    {
        const std::lock_guard lock(m_mutex);
        m_queue.push_back({Clock::now() + std::chrono::milliseconds(kSettleMs), report});
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

LogStatus TrainingLogWriter::status() const
{
    const std::lock_guard lock(m_mutex);
    return m_status;
}

void TrainingLogWriter::tell(const QString &line, bool *told)
{
    // Once per run: a log that fails fails for every stage alike.
    if (std::exchange(*told, true))
        return;
    m_options.problems(line);
}

void TrainingLogWriter::setStatus(LogStatus::State state, const QString &problem)
{
    LogStatus next = m_status;
    next.state = state;
    next.problem = problem;
    next.queued = static_cast<int>(m_queue.size());
    if (next == m_status)
        return;
    m_status = next;
    if (m_options.status)
        m_options.status(m_status);
}

void TrainingLogWriter::retryLater()
{
    m_lockedOut = true;
    m_retryMs = m_retryMs == 0 ? m_options.firstRetryMs : std::min(2 * m_retryMs, m_options.longestRetryMs);
    m_nextTry = Clock::now() + std::chrono::milliseconds(m_retryMs);
}

int TrainingLogWriter::timeLeftMs() const
{
    if (!m_stopping)
        return m_options.lockPolicy.timeoutMs;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_stopDeadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, m_options.lockPolicy.timeoutMs));
}

void TrainingLogWriter::openLog(std::unique_lock<std::mutex> &lock)
{
    LockPolicy policy = m_options.lockPolicy;
    policy.timeoutMs = timeLeftMs();
    lock.unlock();
    QString problem;
    bool locked = false;
    std::unique_ptr<TrainingLog> log = TrainingLog::open(m_path, &problem, policy, &locked);
    const std::optional<int> held = log ? log->stageCount() : std::nullopt;
    lock.lock();
    if (log) {
        m_log = std::move(log);
        m_lockedOut = false;
        m_retryMs = 0;
        m_status.stagesHeld = held.value_or(0);
        setStatus(LogStatus::State::On);
    } else if (locked) {
        retryLater();
        setStatus(LogStatus::State::Waiting, problem);
    } else {
        m_off = true;
        m_queue.clear();
        setStatus(LogStatus::State::Off, problem);
        lock.unlock();
        tell(QStringLiteral("vendrakul: the training log is off: %1").arg(problem), &m_toldOff);
        lock.lock();
    }
}

void TrainingLogWriter::writeFirst(std::unique_lock<std::mutex> &lock)
{
    const StageReport report = m_queue.front().report;
    const int timeoutMs = timeLeftMs();
    lock.unlock();
    const bool written = m_log->append(report, timeoutMs);
    const std::optional<int> held = written ? m_log->stageCount() : std::nullopt;
    lock.lock();
    if (written) {
        m_queue.pop_front();
        ++m_written;
        m_lockedOut = false;
        m_retryMs = 0;
        m_status.stagesHeld = held.value_or(m_status.stagesHeld + 1);
        setStatus(LogStatus::State::On);
    } else if (m_log->lockedOut()) {
        retryLater();
        setStatus(LogStatus::State::Waiting, m_log->problem());
    } else {
        m_queue.pop_front();
        setStatus(LogStatus::State::On);
        const QString problem = m_log->problem();
        lock.unlock();
        tell(QStringLiteral("vendrakul: a stage could not be written to the training log: %1").arg(problem),
             &m_toldFailure);
        lock.lock();
    }
}

void TrainingLogWriter::run()
{
    // Below the program's own threads: writing can always wait.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10);
    std::unique_lock lock(m_mutex);
    // The log's connection belongs to this thread: it is made, used and
    // closed here.
    openLog(lock);
    for (;;) {
        if (m_off)
            m_queue.clear();
        const bool needsLog = !m_log && !m_off;
        if (m_stopping) {
            if (m_queue.empty())
                break;
            if (m_lockedOut && Clock::now() >= m_stopDeadline) {
                const QString line = QStringLiteral("vendrakul: %1 %2 not written to the training log: %3")
                                         .arg(m_queue.size())
                                         .arg(m_queue.size() == 1 ? QStringLiteral("stage was")
                                                                  : QStringLiteral("stages were"))
                                         .arg(m_status.problem);
                m_queue.clear();
                lock.unlock();
                m_options.problems(line);
                lock.lock();
                break;
            }
        }
        // What is due next: another try at a locked log, or the first row
        // once it has settled (at once when the writer goes).
        Clock::time_point due = Clock::time_point::max();
        if (m_lockedOut)
            due = m_stopping ? std::min(m_nextTry, m_stopDeadline) : m_nextTry;
        else if (needsLog || !m_queue.empty())
            due = m_stopping || needsLog ? Clock::now() : m_queue.front().due;
        if (due > Clock::now()) {
            m_busy = false;
            m_idle.notify_all();
            const bool stopping = m_stopping;
            const size_t queued = m_queue.size();
            m_wake.wait_until(lock, due, [&] { return m_stopping != stopping || m_queue.size() != queued; });
            if (m_queue.size() != queued)
                setStatus(m_status.state, m_status.problem);
            continue;
        }
        m_busy = true;
        if (!m_log)
            openLog(lock);
        else if (!m_queue.empty())
            writeFirst(lock);
        else
            m_lockedOut = false; // a log that is open and has nothing to write waits for nothing
    }
    m_busy = false;
    m_idle.notify_all();
    std::unique_ptr<TrainingLog> log = std::move(m_log);
    lock.unlock();
    log.reset();
}

} // namespace vk
