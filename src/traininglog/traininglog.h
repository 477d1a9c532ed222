#pragma once

#include "stage/stagereport.h"

#include <QList>
#include <QString>

#include <memory>

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
    // failure the result is null and `problem` says in one line why.
    // `busyTimeoutMs` is how long a row waits for another running copy that
    // holds the log.
    static std::unique_ptr<TrainingLog> open(const QString &path, QString *problem,
                                             int busyTimeoutMs = kBusyTimeoutMs);

    // Reads every row of the log at `path` without creating or changing it.
    static LogContents read(const QString &path, int busyTimeoutMs = kBusyTimeoutMs);

    // The schema this build writes and reads.
    static constexpr int kSchemaVersion = 1;
    static constexpr int kBusyTimeoutMs = 5000;

    // Appends one row, durably, in one transaction. False (and problem())
    // when it could not be written.
    bool append(const StageReport &report);
    QString problem() const;

private:
    TrainingLog();
    struct Private;
    std::unique_ptr<Private> d;
};

// The verdict as the log and its CSV export spell it: "correct", "wrong", "left".
QString verdictName(StageVerdict verdict);

} // namespace vk
