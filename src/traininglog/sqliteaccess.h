#pragma once

// What the training log's files share about talking to SQLite through Qt:
// one connection's lifetime, the result codes told apart, waiting out
// another program's lock, and the sentence for an error.
#include "traininglog/traininglog.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

#include <optional>

class QSqlQuery;

namespace vk::logdb {

// SQLite's primary result codes that the log tells apart.
enum SqliteCode {
    kPermission = 3,
    kBusy = 5,
    kLocked = 6,
    kReadOnly = 8,
    kIoError = 10,
    kCorrupt = 11,
    kFull = 13,
    kCantOpen = 14,
    kNotADatabase = 26,
};

int primaryCode(const QSqlError &error);
// Another connection holds a lock that this use needs.
bool isLockConflict(const QSqlError &error);

// One Qt SQL connection, removed again when this goes. Queries made on it
// must be gone before it is. SQLite gets no busy handler of its own: every
// wait for a lock is a LockWait's.
class Connection
{
public:
    // `options`: further QSQLITE_ options, ';'-separated, or empty.
    Connection(const QString &databaseName, const QString &options = QString());
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    bool opened() const { return m_opened; }
    const QSqlError &openError() const { return m_openError; }
    QSqlDatabase db() const;

private:
    QString m_name;
    bool m_opened = false;
    QSqlError m_openError;
};

// Waits out another program's lock on the log, for one use of it (an
// opening, a row, a reading). Some conflicts come back from SQLite at once
// even with a busy handler (a reader that has to become the writer, as
// when two copies switch a new log to WAL together), so every statement
// that meets a lock is simply tried again: after 1 ms, then a little
// longer each time up to 100 ms, until the policy's time is up.
class LockWait
{
public:
    explicit LockWait(const LockPolicy &policy);

    // After an attempt found the log locked: waits before the next one.
    // False once the time is up (nothing is waited then).
    bool again();
    // How long this use has waited so far, in milliseconds.
    qint64 waitedMs() const;

private:
    const LockPolicy &m_policy;
    QElapsedTimer m_waiting; // from the first conflict
    int m_attempts = 0;
};

// Runs `statement` (or, when empty, the prepared query) on `query`, trying
// again while the log is locked. The error when it failed for good.
std::optional<QSqlError> execWaiting(QSqlQuery &query, LockWait &wait, const QString &statement = QString());

// One sentence for an SQLite error met while using the log at `path`;
// `wait` tells how long a lock was waited for.
QString sqliteProblem(const QString &path, const QSqlError &error, const LockWait &wait);

} // namespace vk::logdb
