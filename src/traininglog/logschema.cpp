#include "traininglog/logschema.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QStringList>
#include <QUrl>
#include <QVariant>

namespace vk::logdb {
namespace {

// The first 16 bytes of every SQLite database file.
constexpr char kSqliteMagic[] = "SQLite format 3";

// The columns of version 1, then those each later version added at the
// end (ALTER TABLE adds them there too, so a migrated log and a new one
// have the same columns in the same order).
const QString kCreateStages = QStringLiteral(
    "CREATE TABLE IF NOT EXISTS stages ("
    " id INTEGER PRIMARY KEY,"
    " started_utc TEXT NOT NULL,"
    " seconds_used REAL NOT NULL,"
    " clock_shown INTEGER NOT NULL,"
    " factor1 TEXT NOT NULL,"
    " factor2 TEXT NOT NULL,"
    " answer TEXT NOT NULL,"
    " product TEXT NOT NULL,"
    " digits_matched INTEGER NOT NULL,"
    " verdict TEXT NOT NULL CHECK (verdict IN ('correct', 'wrong', 'left')),"
    " %1)");

// What version 2 added: the factors' length (a log of version 1 only ever
// held 20-digit factors) and, for an evaluated stage, which product digits
// the answer matched.
const QStringList kVersion2Columns = {
    QStringLiteral("factor_digits INTEGER NOT NULL DEFAULT 20"),
    QStringLiteral("matched_columns TEXT"),
};

QString uriOf(const QString &path, const QString &parameters)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded) + QLatin1Char('?')
           + parameters;
}

Inspection failed(const QString &path, const QSqlError &error, const LockWait &wait)
{
    Inspection result;
    result.problem = sqliteProblem(path, error, wait);
    result.locked = isLockConflict(error);
    return result;
}

} // namespace

QString selectStages(int version)
{
    return QStringLiteral("SELECT id, started_utc, seconds_used, clock_shown, factor1, factor2, answer, product,"
                          " digits_matched, verdict, %1 FROM stages ORDER BY id")
        .arg(version >= 2 ? QStringLiteral("factor_digits, matched_columns") : QStringLiteral("20, NULL"));
}

Inspection inspect(const QSqlDatabase &db, const QString &path, LockWait &wait)
{
    Inspection result;
    QSqlQuery tables(db);
    if (auto error = execWaiting(tables, wait, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")))
        return failed(path, *error, wait);
    QStringList names;
    while (tables.next())
        names.append(tables.value(0).toString());
    if (names.isEmpty()) {
        result.contents = Contents::Empty;
        return result;
    }
    const QString foreign = QStringLiteral("%1 is an SQLite database but not a Vendrakul training log; "
                                           "it was left as it is.")
                                .arg(path);
    if (!names.contains(QStringLiteral("schema_version"))) {
        result.contents = Contents::Foreign;
        result.problem = foreign;
        return result;
    }
    QSqlQuery version(db);
    if (auto error = execWaiting(version, wait, QStringLiteral("SELECT MAX(version) FROM schema_version")))
        return failed(path, *error, wait);
    result.version = version.next() ? version.value(0).toInt() : 0;
    if (result.version > TrainingLog::kSchemaVersion) {
        result.contents = Contents::Newer;
        result.problem = QStringLiteral("The training log %1 was written by a newer Vendrakul (log version %2; "
                                        "this one knows version %3); it was left as it is.")
                             .arg(path)
                             .arg(result.version)
                             .arg(TrainingLog::kSchemaVersion);
        return result;
    }
    if (result.version < 1 || !names.contains(QStringLiteral("stages"))) {
        result.contents = Contents::Foreign;
        result.problem = foreign;
        return result;
    }
    result.contents = Contents::Ours;
    return result;
}

std::optional<QSqlError> createTables(const QSqlDatabase &db, LockWait &wait)
{
    for (const QString &statement :
         {QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)"),
          QStringLiteral("INSERT INTO schema_version (version) VALUES (%1)").arg(TrainingLog::kSchemaVersion),
          kCreateStages.arg(kVersion2Columns.join(QStringLiteral(", ")))}) {
        QSqlQuery q(db);
        if (auto error = execWaiting(q, wait, statement))
            return error;
    }
    return std::nullopt;
}

std::optional<QSqlError> migrate(const QSqlDatabase &db, int fromVersion, LockWait &wait)
{
    QStringList statements;
    if (fromVersion < 2) {
        for (const QString &column : kVersion2Columns)
            statements.append(QStringLiteral("ALTER TABLE stages ADD COLUMN ") + column);
    }
    statements.append(QStringLiteral("UPDATE schema_version SET version = %1").arg(TrainingLog::kSchemaVersion));
    for (const QString &statement : statements) {
        QSqlQuery q(db);
        if (auto error = execWaiting(q, wait, statement))
            return error;
    }
    return std::nullopt;
}

std::optional<QString> fileProblem(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("%1 is a folder, not a training log.").arg(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("The training log %1 cannot be read (%2).").arg(path, file.errorString());
    if (file.size() == 0)
        return std::nullopt;
    const QByteArray head = file.read(sizeof kSqliteMagic);
    if (head != QByteArray(kSqliteMagic, sizeof kSqliteMagic))
        return QStringLiteral("%1 is not a training log (it is not an SQLite database); it was left as it is.").arg(path);
    return std::nullopt;
}

std::unique_ptr<Connection> readConnection(const QString &path, bool *immutable)
{
    *immutable = !QFileInfo::exists(path + QStringLiteral("-wal"));
    const QString parameters = *immutable ? QStringLiteral("mode=ro&immutable=1") : QStringLiteral("mode=ro");
    return std::make_unique<Connection>(uriOf(path, parameters), QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
}

} // namespace vk::logdb
