#pragma once

#include "stage/stagereport.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace vk {

// One row of the training log.
struct LogEntry {
    qint64 id = 0;
    StageReport report;
};

// What reading the whole log gave: the rows in the order they were written,
// or why there are none.
struct LogContents {
    QList<LogEntry> entries;
    QString problem; // empty when the log could be read (it may still be empty)
    // Rows that could not be read and were left out of `entries`, and one
    // sentence that says how many and why (empty when there are none).
    int unreadableRows = 0;
    QString unreadable;
};

// The moments of opening a log at which another copy may come in.
enum class OpenStep {
    NewLogBuilt, // a new log is complete beside its place, not yet in it
    SettingUp,   // the log's write lock is held while its tables are checked
    Migrating,   // a log of an earlier version is changed, not yet committed
};

// How a use of the log behaves while another program holds its lock: it
// waits, trying again and again, for up to `timeoutMs`.
struct LockPolicy {
    int timeoutMs = 5000;
    // Told each time a use of the log finds it locked and starts to wait.
    std::function<void()> waitBegins;
    // Told at each step of opening (a test holds a copy there).
    std::function<void(OpenStep)> stepReached;
};

// The training log: an SQLite database (WAL, one transaction per row, a
// schema version table). Opening never creates, overwrites or truncates a
// file that is not a training log of a schema this build knows.
class TrainingLog
{
public:
    ~TrainingLog();

    // The database file under the user's data directory.
    static QString defaultPath();

    // Opens (creating if missing) the log at `path` for writing rows. On
    // failure the result is null and `problem` says in one line why;
    // `locked`, when given, tells whether it failed only because another
    // program kept the log locked for the whole of the policy's time.
    static std::unique_ptr<TrainingLog> open(const QString &path, QString *problem, const LockPolicy &policy = {},
                                             bool *locked = nullptr);

    // Reads every row of the log at `path` without creating or changing it.
    // Meant for a process that does not keep the log open for writing: it
    // looks at the file's first bytes itself, and closing a file drops
    // every POSIX lock the process holds on it, SQLite's included.
    static LogContents read(const QString &path, const LockPolicy &policy = {});

    // The schema this build writes and reads.
    static constexpr int kSchemaVersion = 2;

    // Appends one row, durably, in one transaction, waiting for a lock as
    // the policy says or for `lockTimeoutMs` when given. False (and
    // problem(), lockedOut()) when it could not be written.
    bool append(const StageReport &report, int lockTimeoutMs = -1);
    // How many rows the log holds now (other copies' included); empty when
    // that could not be read.
    std::optional<int> stageCount();
    QString problem() const;
    // The last append failed only because another program held the log.
    bool lockedOut() const;

private:
    TrainingLog();
    struct Private;
    std::unique_ptr<Private> d;
};

// The verdict as the log and its CSV export spell it: "correct", "wrong", "left".
QString verdictName(StageVerdict verdict);

} // namespace vk
