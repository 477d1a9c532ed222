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

// What the writer knows of its log, for the start screen.
struct LogStatus {
    enum class State {
        Opening, // the log is being opened
        On,      // rows are written
        Waiting, // another program holds the log; rows are kept until it lets go
        Off,     // the log cannot be used; `problem` says why
    };
    State state = State::Opening;
    int stagesHeld = 0; // rows the log holds (On, and Waiting once it was open)
    int queued = 0;     // stages not written yet
    QString problem;    // Waiting, Off: why
    bool operator==(const LogStatus &) const = default;
};

// How a TrainingLogWriter goes about its work.
struct LogWriterOptions {
    // One line for the user (standard error unless set).
    std::function<void(const QString &line)> problems;
    // Called on the writer's thread whenever the status changes, with the
    // writer's lock held: it must not call the writer back.
    std::function<void(const LogStatus &status)> status;
    LockPolicy lockPolicy;
    // The pauses between tries while another program holds the log:
    // the first, then doubled each time up to the longest.
    int firstRetryMs = 1000;
    int longestRetryMs = 30000;
    // How long rows kept out by a lock may still wait when the writer goes.
    int exitWaitMs = 5000;
};

// Keeps the training log from a thread of its own, so that a stage's end
// never waits for the disk: stageEnded() only queues the report. The
// thread opens the log when the writer is made and appends each report in
// its own transaction, a moment after it was queued and at a low priority,
// so that it does not take the processor from the reveal being painted.
//
// While another program holds the log, reports stay queued and are tried
// again with growing pauses for as long as the run goes on. When the
// writer goes, the reports still queued are written first; those that
// another program's lock still keeps out after `exitWaitMs` are given up,
// and one line says how many.
//
// A log that cannot be used at all (read-only, damaged, another program's
// database) costs the run one line on `problems` (standard error unless a
// test listens), and the reports are dropped; so is a report that fails
// for any reason but a lock, with one line the first time.
class TrainingLogWriter final : public StageReportSink
{
public:
    using StatusOutput = std::function<void(const LogStatus &status)>;
    using Options = LogWriterOptions;

    explicit TrainingLogWriter(QString path, Options options = {});
    ~TrainingLogWriter() override;
    TrainingLogWriter(const TrainingLogWriter &) = delete;
    TrainingLogWriter &operator=(const TrainingLogWriter &) = delete;

    void stageEnded(const StageReport &report) override;

    // Returns once every report queued so far has been written or dropped.
    void waitUntilIdle();
    // Reports written so far.
    int rowsWritten() const;
    LogStatus status() const;

private:
    using Clock = std::chrono::steady_clock;
    // How long a report waits before it is written: the reveal of the
    // stage that made it takes a few milliseconds to paint.
    static constexpr int kSettleMs = 50;

    void run();
    void tell(const QString &line, bool *told);
    // Both with m_mutex held; they let go of it while they work.
    void openLog(std::unique_lock<std::mutex> &lock);
    void writeFirst(std::unique_lock<std::mutex> &lock);
    void setStatus(LogStatus::State state, const QString &problem = QString());
    void retryLater();
    int timeLeftMs() const; // the policy's wait, or less when the writer goes

    const QString m_path;
    const Options m_options;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    struct Queued {
        Clock::time_point due; // written from then on
        StageReport report;
    };
    std::deque<Queued> m_queue;
    std::unique_ptr<TrainingLog> m_log;
    LogStatus m_status;
    bool m_busy = true; // the thread is opening the log or writing a row
    bool m_off = false;
    bool m_lockedOut = false; // the last try met another program's lock
    Clock::time_point m_nextTry;
    int m_retryMs = 0;
    bool m_stopping = false;
    Clock::time_point m_stopDeadline;
    bool m_toldOff = false;
    bool m_toldFailure = false;
    int m_written = 0;
    std::thread m_thread;
};

} // namespace vk
