// Opening the log for writing: a new log made whole beside its place and
// then put there, an existing one checked before anything is written to it.
#include "traininglog/logschema.h"
#include "traininglog/traininglog.h"
#include "traininglog/traininglogprivate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QVariant>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace vk {
namespace {

using namespace logdb;

QString systemMessage(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Whether this user may write `path`. Root may write anything, but a file
// or folder without a single write permission was made read-only on
// purpose, and is treated so for root too.
bool mayWrite(const QString &path, int *error)
{
    const QByteArray native = QFile::encodeName(path);
    if (::access(native.constData(), W_OK) != 0) {
        *error = errno;
        return false;
    }
    struct stat st{};
    if (::geteuid() == 0 && ::stat(native.constData(), &st) == 0 && (st.st_mode & 0222) == 0) {
        *error = EACCES;
        return false;
    }
    return true;
}

void syncFolder(const QString &dir)
{
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Runs `statement`, waiting out locks; the sentence when it failed.
std::optional<QString> run(const QSqlDatabase &db, const QString &path, LockWait &wait, const QString &statement,
                           QString *firstValue = nullptr, bool *locked = nullptr)
{
    QSqlQuery q(db);
    if (auto error = execWaiting(q, wait, statement)) {
        if (locked)
            *locked = isLockConflict(*error);
        return sqliteProblem(path, *error, wait);
    }
    if (firstValue)
        *firstValue = q.next() ? q.value(0).toString() : QString();
    return std::nullopt;
}

std::optional<QString> useWal(const QSqlDatabase &db, const QString &path, LockWait &wait, bool *locked)
{
    QString mode;
    if (auto why = run(db, path, wait, QStringLiteral("PRAGMA journal_mode = WAL"), &mode, locked))
        return why;
    if (mode.compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        return QStringLiteral("The training log %1 cannot be kept in WAL mode (SQLite left it in %2 mode).")
            .arg(path, mode);
    return run(db, path, wait, QStringLiteral("PRAGMA synchronous = FULL"), nullptr, locked);
}

// A new log is made whole in a file of its own beside `path` and then
// linked into place, which fails if anything stands there by then. So two
// copies starting together never both make one, and nobody ever sees a
// log half made. Where the file system has no links, nothing is placed
// and the log is made where it stands, under its write lock.
std::optional<QString> placeNewLog(const QString &path, const LockPolicy &policy)
{
    const QFileInfo info(path);
    // Made as SQLite makes a database file (0644 less the umask), under a
    // name nobody else uses.
    QString building;
    int fd = -1;
    while (fd < 0) {
        building = QStringLiteral("%1/.%2.new-%3")
                       .arg(info.absolutePath(), info.fileName())
                       .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
        fd = ::open(QFile::encodeName(building).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST)
            return QStringLiteral("The training log %1 cannot be created (%2).").arg(path, systemMessage(errno));
    }
    ::close(fd);
    const auto removeBuilding = qScopeGuard([&] { QFile::remove(building); });
    {
        LockWait wait(policy); // the file is nobody else's: nothing waits here
        const Connection connection(building);
        if (!connection.opened())
            return sqliteProblem(path, connection.openError(), wait);
        const QSqlDatabase db = connection.db();
        if (auto why = useWal(db, path, wait, nullptr))
            return why;
        if (auto why = run(db, path, wait, QStringLiteral("BEGIN IMMEDIATE")))
            return why;
        if (auto error = createTables(db, wait))
            return sqliteProblem(path, *error, wait);
        if (auto why = run(db, path, wait, QStringLiteral("COMMIT")))
            return why;
        // Closing moves every page into the file itself and removes its
        // "-wal" and "-shm" files; the file stays in WAL mode.
    }
    if (policy.stepReached)
        policy.stepReached(OpenStep::NewLogBuilt);
    if (::link(QFile::encodeName(building).constData(), QFile::encodeName(path).constData()) == 0)
        syncFolder(info.absolutePath());
    // EEXIST: another copy was first, and its log is the one to use.
    return std::nullopt;
}

} // namespace

std::unique_ptr<TrainingLog> TrainingLog::open(const QString &path, QString *problem, const LockPolicy &policy,
                                               bool *locked)
{
    if (locked)
        *locked = false;
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

    int writeError = 0;
    const auto readOnlyFolder = [&] {
        return fail(QStringLiteral("The folder %1 is read-only, so the training log cannot be written there (%2).")
                        .arg(dir, systemMessage(writeError)));
    };
    if (!QFileInfo::exists(path)) {
        if (!mayWrite(dir, &writeError))
            return readOnlyFolder();
        if (auto why = placeNewLog(path, policy))
            return fail(*why);
    }

    // One wait for the whole opening: the policy's time is the longest a
    // copy waits for another to let go of the log.
    LockWait wait(policy);
    const auto lockedFail = [&](const QString &why, bool isLocked) {
        if (locked)
            *locked = isLocked;
        return fail(why);
    };
    if (QFileInfo::exists(path)) {
        if (const std::optional<QString> why = fileProblem(path))
            return fail(*why);
        if (QFileInfo(path).size() > 0) {
            // Looked at read-only first: a database of another kind or of a
            // newer schema is never opened for writing, so nothing of it is
            // converted (to WAL) or checkpointed.
            bool immutable = false;
            const std::unique_ptr<Connection> look = readConnection(path, &immutable);
            if (!look->opened())
                return fail(sqliteProblem(path, look->openError(), wait));
            const Inspection seen = inspect(look->db(), path, wait);
            if (seen.contents != Contents::Ours && seen.contents != Contents::Empty)
                return lockedFail(seen.problem, seen.locked);
        }
        if (!mayWrite(dir, &writeError))
            return readOnlyFolder();
        if (!mayWrite(path, &writeError))
            return fail(QStringLiteral("The training log %1 is read-only (%2).").arg(path, systemMessage(writeError)));
    }

    std::unique_ptr<TrainingLog> log(new TrainingLog);
    Private &p = *log->d;
    p.path = path;
    p.policy = policy;
    p.connection = std::make_unique<Connection>(path);
    if (!p.connection->opened())
        return fail(sqliteProblem(path, p.connection->openError(), wait));
    const QSqlDatabase db = p.connection->db();

    bool isLocked = false;
    if (auto why = useWal(db, path, wait, &isLocked))
        return lockedFail(*why, isLocked);
    // Checked under the write lock; a log that is still empty (an empty
    // file given, or no links where it lies) gets its tables here, once.
    if (auto why = run(db, path, wait, QStringLiteral("BEGIN IMMEDIATE"), nullptr, &isLocked))
        return lockedFail(*why, isLocked);
    if (policy.stepReached)
        policy.stepReached(OpenStep::SettingUp);
    const Inspection seen = inspect(db, path, wait);
    std::optional<QString> why;
    if (seen.contents == Contents::Empty) {
        if (auto createError = createTables(db, wait))
            why = sqliteProblem(path, *createError, wait);
    } else if (seen.contents != Contents::Ours) {
        why = seen.problem;
    } else if (seen.version < kSchemaVersion) {
        if (auto migrateError = migrate(db, seen.version, wait))
            why = sqliteProblem(path, *migrateError, wait);
        else if (policy.stepReached)
            policy.stepReached(OpenStep::Migrating);
    }
    if (why) {
        run(db, path, wait, QStringLiteral("ROLLBACK"));
        return fail(*why);
    }
    if (auto commitProblem = run(db, path, wait, QStringLiteral("COMMIT")))
        return fail(*commitProblem);

    p.insert.emplace(db);
    if (!p.insert->prepare(QStringLiteral(
            "INSERT INTO stages (started_utc, seconds_used, clock_shown, factor1, factor2, answer, product,"
            " digits_matched, verdict, factor_digits, matched_columns) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")))
        return fail(sqliteProblem(path, p.insert->lastError(), wait));
    return log;
}

} // namespace vk
