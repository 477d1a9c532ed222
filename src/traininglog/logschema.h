#pragma once

// What a training log holds and how it is looked at: its tables, the check
// of a file before SQLite sees it, and a connection that only reads.
#include "traininglog/sqliteaccess.h"

#include <QSqlDatabase>
#include <QString>

#include <memory>
#include <optional>

namespace vk::logdb {

// What a database file holds, by its tables.
enum class Contents {
    Empty,   // no tables: a new database
    Ours,    // a training log of the schema this build knows
    Newer,   // a training log of a later schema
    Foreign, // some other SQLite database
    Failed,  // it could not be looked at (problem says why)
};

struct Inspection {
    Contents contents = Contents::Failed;
    int version = 0;
    QString problem;
    bool locked = false; // Failed only because the log stayed locked
};

Inspection inspect(const QSqlDatabase &db, const QString &path, LockWait &wait);

// Makes the tables of a new log; run inside the transaction that found it
// empty. The error when it failed.
std::optional<QSqlError> createTables(const QSqlDatabase &db, LockWait &wait);

// Brings a log of an earlier version up to this build's; run inside the
// write transaction that found it, so that it is migrated whole or not at
// all. The error when it failed.
std::optional<QSqlError> migrate(const QSqlDatabase &db, int fromVersion, LockWait &wait);

// Checks the file itself before SQLite sees it: a file that does not start
// as an SQLite database is refused here, so nothing is ever written to it.
// Empty is fine (SQLite makes a new database of it).
std::optional<QString> fileProblem(const QString &path);

// A read-only connection that creates nothing next to the database. A
// reader of a WAL database normally creates its "-wal" and "-shm" files
// (and cannot in a read-only folder); when there is no "-wal" file, no copy
// has the log open and every row is in the database file itself, which is
// then read as it stands ("immutable"). While a "-wal" file exists, a copy
// is writing (or was killed while it did), and the rows are read through
// it as SQLite shares them.
std::unique_ptr<Connection> readConnection(const QString &path, bool *immutable);

// Every row, in the order written, with the columns of the latest version
// (those a log of `version` lacks read as their defaults).
QString selectStages(int version);

} // namespace vk::logdb
