#pragma once

#include "stage/stagereport.h"
#include "traininglog/traininglog.h"

#include <QString>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace vk {

// Keeps the training log from a thread of its own, so that a stage's end
// never waits for the disk: stageEnded() only queues the report. The
// thread opens the log when the writer is made and appends each report in
// its own transaction, a moment after it was queued and at a low priority,
// so that it does not take the processor from the reveal being painted.
// Reports still queued when the writer goes are written before its
// destructor returns.
//
// A log that cannot be opened or written costs the run nothing but one
// line on `problems` (standard error unless a test listens): the first
// problem is told, later ones are not, and the reports are dropped.
class TrainingLogWriter final : public StageReportSink
{
public:
    using ProblemOutput = std::function<void(const QString &line)>;

    // `lockPolicy`: how long a row waits for another program holding the log.
    explicit TrainingLogWriter(QString path, ProblemOutput problems = {}, LockPolicy lockPolicy = {});
    ~TrainingLogWriter() override;
    TrainingLogWriter(const TrainingLogWriter &) = delete;
    TrainingLogWriter &operator=(const TrainingLogWriter &) = delete;

    void stageEnded(const StageReport &report) override;

    // Returns once every report queued so far has been written or dropped.
    void waitUntilIdle();
    // Reports written so far.
    int rowsWritten() const;

private:
    // How long a report waits before it is written: the reveal of the
    // stage that made it takes a few milliseconds to paint.
    static constexpr int kSettleMs = 50;

    void run();
    void tell(const QString &line);

    const QString m_path;
    const ProblemOutput m_problems;
    const LockPolicy m_lockPolicy;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    struct Queued {
        std::chrono::steady_clock::time_point due; // written from then on
        StageReport report;
    };
    std::deque<Queued> m_queue;
    bool m_busy = true; // the thread is opening the log or writing a row
    bool m_stopping = false;
    bool m_told = false;
    int m_written = 0;
    std::thread m_thread;
};

} // namespace vk
