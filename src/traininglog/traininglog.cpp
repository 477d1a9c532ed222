#include "traininglog/traininglog.h"

#include "platform/rounding.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>
#include <QVariant>

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

namespace vk {
namespace {

const QString kDriver = QStringLiteral("QSQLITE");
const QString kFileName = QStringLiteral("training-log.sqlite");
// The first 16 bytes of every SQLite database file.
constexpr char kSqliteMagic[] = "SQLite format 3";

// SQLite's primary result codes that this file tells apart.
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

QString newConnectionName()
{
    static std::atomic<int> next{0};
    return QStringLiteral("vk-traininglog-%1").arg(++next);
}

// One Qt SQL connection, removed again when this goes. Queries made on it
// must be gone before it is.
class Connection
{
public:
    Connection(const QString &databaseName, const QString &options)
        : m_name(newConnectionName())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(kDriver, m_name);
        db.setDatabaseName(databaseName);
        db.setConnectOptions(options);
        m_opened = db.open();
        if (!m_opened)
            m_openError = db.lastError();
    }
    ~Connection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    bool opened() const { return m_opened; }
    const QSqlError &openError() const { return m_openError; }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
    bool m_opened = false;
    QSqlError m_openError;
};

int primaryCode(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xFF) : -1;
}

QString secondsText(int ms)
{
    return ms % 1000 == 0 ? QString::number(ms / 1000) : QString::number(ms / 1000.0, 'f', 1);
}

// One sentence for an SQLite error met while using the log at `path`.
QString sqliteProblem(const QString &path, const QSqlError &error, int busyTimeoutMs)
{
    const QString detail = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    switch (primaryCode(error)) {
    case kBusy:
    case kLocked:
        return QStringLiteral("The training log %1 is in use by another running copy of Vendrakul "
                              "(it stayed locked for %2 s).")
            .arg(path, secondsText(busyTimeoutMs));
    case kCorrupt:
    case kNotADatabase:
        return QStringLiteral("The training log %1 is damaged (%2); it was left as it is.").arg(path, detail);
    case kReadOnly:
    case kPermission:
        return QStringLiteral("The training log %1 cannot be written (%2).").arg(path, detail);
    case kCantOpen:
        return QStringLiteral("The training log %1 cannot be opened (%2).").arg(path, detail);
    case kFull:
        return QStringLiteral("The disk holding the training log %1 is full.").arg(path);
    case kIoError:
        return QStringLiteral("The training log %1 could not be read or written (disk error: %2).").arg(path, detail);
    default:
        return QStringLiteral("The training log %1 could not be used (%2).")
            .arg(path, detail.isEmpty() ? error.text() : detail);
    }
}

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
};

Inspection inspect(const QSqlDatabase &db, const QString &path, int busyTimeoutMs)
{
    Inspection result;
    QSqlQuery tables(db);
    if (!tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"))) {
        result.problem = sqliteProblem(path, tables.lastError(), busyTimeoutMs);
        return result;
    }
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
    if (!version.exec(QStringLiteral("SELECT MAX(version) FROM schema_version"))) {
        result.problem = sqliteProblem(path, version.lastError(), busyTimeoutMs);
        return result;
    }
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

QString systemMessage(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Checks the file itself before SQLite sees it: a file that does not start
// as an SQLite database is refused here, so nothing is ever written to it.
// Empty is fine (SQLite makes a new database of it).
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

QString uriOf(const QString &path, const QString &parameters)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded) + QLatin1Char('?')
           + parameters;
}

QString readOnlyOptions(int busyTimeoutMs)
{
    return QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs);
}

struct FileStamp {
    bool walExists = false;
    qint64 size = -1;
    QDateTime modified;
    bool operator==(const FileStamp &) const = default;
};

FileStamp stampOf(const QString &path)
{
    const QFileInfo info(path);
    return {QFileInfo::exists(path + QStringLiteral("-wal")), info.size(), info.lastModified()};
}

// A read-only connection that creates nothing next to the database. A
// reader of a WAL database normally creates its "-wal" and "-shm" files
// (and cannot in a read-only folder); when there is no "-wal" file, no copy
// has the log open and every row is in the database file itself, which is
// then read as it stands ("immutable"). While a "-wal" file exists, a copy
// is writing (or was killed while it did), and the rows are read through
// it as SQLite shares them.
std::unique_ptr<Connection> readConnection(const QString &path, int busyTimeoutMs, bool *immutable)
{
    *immutable = !QFileInfo::exists(path + QStringLiteral("-wal"));
    const QString parameters = *immutable ? QStringLiteral("mode=ro&immutable=1") : QStringLiteral("mode=ro");
    return std::make_unique<Connection>(uriOf(path, parameters), readOnlyOptions(busyTimeoutMs));
}

std::optional<StageVerdict> verdictFromName(const QString &name)
{
    for (StageVerdict v : {StageVerdict::Correct, StageVerdict::Wrong, StageVerdict::Left})
        if (verdictName(v) == name)
            return v;
    return std::nullopt;
}

// Text columns are NOT NULL: an answer never typed is empty text.
QString textOf(const QString &value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

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
    " verdict TEXT NOT NULL CHECK (verdict IN ('correct', 'wrong', 'left')))");

const QString kSelectStages = QStringLiteral(
    "SELECT id, started_utc, seconds_used, clock_shown, factor1, factor2, answer, product, digits_matched, verdict"
    " FROM stages ORDER BY id");

// Reads the rows once. `problem` is set when that failed.
LogContents readOnce(const QString &path, int busyTimeoutMs, bool *immutable)
{
    LogContents result;
    const std::unique_ptr<Connection> connection = readConnection(path, busyTimeoutMs, immutable);
    if (!connection->opened()) {
        result.problem = sqliteProblem(path, connection->openError(), busyTimeoutMs);
        return result;
    }
    const Inspection seen = inspect(connection->db(), path, busyTimeoutMs);
    if (seen.contents == Contents::Empty)
        return result;
    if (seen.contents != Contents::Ours) {
        result.problem = seen.problem;
        return result;
    }
    QSqlQuery rows(connection->db());
    rows.setForwardOnly(true);
    if (!rows.exec(kSelectStages)) {
        result.problem = sqliteProblem(path, rows.lastError(), busyTimeoutMs);
        return result;
    }
    while (rows.next()) {
        LogEntry entry;
        entry.id = rows.value(0).toLongLong();
        StageReport &r = entry.report;
        r.startedUtc = QDateTime::fromString(rows.value(1).toString(), Qt::ISODateWithMs);
        r.secondsUsed = rows.value(2).toDouble();
        r.clockShown = rows.value(3).toInt() != 0;
        r.factor1 = rows.value(4).toString();
        r.factor2 = rows.value(5).toString();
        r.answer = rows.value(6).toString();
        r.product = rows.value(7).toString();
        r.digitsMatched = rows.value(8).toInt();
        const std::optional<StageVerdict> verdict = verdictFromName(rows.value(9).toString());
        if (!r.startedUtc.isValid() || !verdict) {
            result.entries.clear();
            result.problem = QStringLiteral("The training log %1 is damaged (row %2 cannot be read); it was left as it is.")
                                 .arg(path)
                                 .arg(entry.id);
            return result;
        }
        r.verdict = *verdict;
        result.entries.append(entry);
    }
    if (rows.lastError().isValid()) {
        result.entries.clear();
        result.problem = sqliteProblem(path, rows.lastError(), busyTimeoutMs);
    }
    return result;
}

} // namespace

struct TrainingLog::Private {
    QString path;
    int busyTimeoutMs = kBusyTimeoutMs;
    std::unique_ptr<Connection> connection;
    std::optional<QSqlQuery> insert;
    QString problem;
};

TrainingLog::TrainingLog()
    : d(std::make_unique<Private>())
{
}

TrainingLog::~TrainingLog()
{
    d->insert.reset();
    d->connection.reset();
}

QString TrainingLog::defaultPath()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return dir.isEmpty() ? QString() : dir + QLatin1Char('/') + kFileName;
}

std::unique_ptr<TrainingLog> TrainingLog::open(const QString &path, QString *problem, int busyTimeoutMs)
{
    const auto fail = [problem](const QString &why) {
        if (problem)
            *problem = why;
        return std::unique_ptr<TrainingLog>();
    };
    if (path.isEmpty())
        return fail(QStringLiteral("There is no folder for the training log (no home folder is known)."));

    const QFileInfo info(path);
    const QString dir = info.absolutePath();
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(dir.toStdString()), error);
    if (error)
        return fail(QStringLiteral("The folder %1 for the training log cannot be created (%2).")
                        .arg(dir, QString::fromStdString(error.message())));

    const bool existed = info.exists();
    if (existed) {
        if (const std::optional<QString> why = fileProblem(path))
            return fail(*why);
        if (info.size() > 0) {
            // Looked at read-only first: a database of another kind or of a
            // newer schema is never opened for writing, so nothing of it is
            // converted (to WAL) or checkpointed.
            bool immutable = false;
            const std::unique_ptr<Connection> look = readConnection(path, busyTimeoutMs, &immutable);
            if (!look->opened())
                return fail(sqliteProblem(path, look->openError(), busyTimeoutMs));
            const Inspection seen = inspect(look->db(), path, busyTimeoutMs);
            if (seen.contents != Contents::Ours && seen.contents != Contents::Empty)
                return fail(seen.problem);
        }
    }
    if (::access(QFile::encodeName(dir).constData(), W_OK) != 0)
        return fail(QStringLiteral("The folder %1 is read-only, so the training log cannot be written there (%2).")
                        .arg(dir, systemMessage(errno)));
    if (existed && ::access(QFile::encodeName(path).constData(), W_OK) != 0)
        return fail(QStringLiteral("The training log %1 is read-only (%2).").arg(path, systemMessage(errno)));

    std::unique_ptr<TrainingLog> log(new TrainingLog);
    Private &p = *log->d;
    p.path = path;
    p.busyTimeoutMs = busyTimeoutMs;
    p.connection = std::make_unique<Connection>(path, QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
    if (!p.connection->opened())
        return fail(sqliteProblem(path, p.connection->openError(), busyTimeoutMs));
    const QSqlDatabase db = p.connection->db();

    const auto run = [&](const QString &statement, QString *firstValue = nullptr) -> std::optional<QString> {
        QSqlQuery q(db);
        if (!q.exec(statement))
            return sqliteProblem(path, q.lastError(), busyTimeoutMs);
        if (firstValue)
            *firstValue = q.next() ? q.value(0).toString() : QString();
        return std::nullopt;
    };

    QString mode;
    if (auto why = run(QStringLiteral("PRAGMA journal_mode = WAL"), &mode))
        return fail(*why);
    if (mode.compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        return fail(QStringLiteral("The training log %1 cannot be kept in WAL mode (SQLite left it in %2 mode).")
                        .arg(path, mode));
    if (auto why = run(QStringLiteral("PRAGMA synchronous = FULL")))
        return fail(*why);

    // Made or checked under the write lock: two copies starting on a new
    // log at once make its tables once.
    if (auto why = run(QStringLiteral("BEGIN IMMEDIATE")))
        return fail(*why);
    const Inspection seen = inspect(db, path, busyTimeoutMs);
    std::optional<QString> why;
    if (seen.contents == Contents::Empty) {
        why = run(QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)"));
        if (!why)
            why = run(QStringLiteral("INSERT INTO schema_version (version) VALUES (%1)").arg(kSchemaVersion));
        if (!why)
            why = run(kCreateStages);
    } else if (seen.contents != Contents::Ours) {
        why = seen.problem;
    }
    if (why) {
        run(QStringLiteral("ROLLBACK"));
        return fail(*why);
    }
    if (auto commitProblem = run(QStringLiteral("COMMIT")))
        return fail(*commitProblem);

    p.insert.emplace(db);
    if (!p.insert->prepare(QStringLiteral(
            "INSERT INTO stages (started_utc, seconds_used, clock_shown, factor1, factor2, answer, product,"
            " digits_matched, verdict) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")))
        return fail(sqliteProblem(path, p.insert->lastError(), busyTimeoutMs));
    return log;
}

bool TrainingLog::append(const StageReport &report)
{
    QSqlQuery &q = *d->insert;
    q.bindValue(0, report.startedUtc.toUTC().toString(Qt::ISODateWithMs));
    q.bindValue(1, roundTo2(report.secondsUsed));
    q.bindValue(2, report.clockShown ? 1 : 0);
    q.bindValue(3, textOf(report.factor1));
    q.bindValue(4, textOf(report.factor2));
    q.bindValue(5, textOf(report.answer));
    q.bindValue(6, textOf(report.product));
    q.bindValue(7, report.digitsMatched);
    q.bindValue(8, verdictName(report.verdict));
    // One statement outside any transaction is one transaction of its own,
    // committed (and, with synchronous FULL, synced) before exec returns.
    if (!q.exec()) {
        d->problem = sqliteProblem(d->path, q.lastError(), d->busyTimeoutMs);
        q.finish();
        return false;
    }
    q.finish();
    d->problem.clear();
    return true;
}

QString TrainingLog::problem() const
{
    return d->problem;
}

LogContents TrainingLog::read(const QString &path, int busyTimeoutMs)
{
    LogContents result;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) {
        result.problem = QStringLiteral("There is no training log yet (%1 does not exist). "
                                        "Start Vendrakul with --log to keep one.")
                             .arg(path.isEmpty() ? QStringLiteral("no home folder is known") : path);
        return result;
    }
    if (const std::optional<QString> why = fileProblem(path)) {
        result.problem = *why;
        return result;
    }
    if (info.size() == 0)
        return result;
    // Read as it stands only while no copy writes: a copy that starts
    // writing meanwhile makes the reading go again, through the WAL.
    const FileStamp before = stampOf(path);
    bool immutable = false;
    result = readOnce(path, busyTimeoutMs, &immutable);
    if (immutable && !(stampOf(path) == before))
        result = readOnce(path, busyTimeoutMs, &immutable);
    return result;
}

QString verdictName(StageVerdict verdict)
{
    switch (verdict) {
    case StageVerdict::Correct:
        return QStringLiteral("correct");
    case StageVerdict::Wrong:
        return QStringLiteral("wrong");
    case StageVerdict::Left:
        return QStringLiteral("left");
    }
    return QString();
}

} // namespace vk
