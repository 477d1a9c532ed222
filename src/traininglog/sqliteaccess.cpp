#include "traininglog/sqliteaccess.h"

#include "traininglog/lockholder.h"

#include <QSqlQuery>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <iterator>

namespace vk::logdb {
namespace {

const QString kDriver = QStringLiteral("QSQLITE");

QString newConnectionName()
{
    static std::atomic<int> next{0};
    return QStringLiteral("vk-traininglog-%1").arg(++next);
}

QString secondsText(qint64 ms)
{
    return QString::number(ms / 1000.0, 'f', 1);
}

QString lockProblem(const QString &path, const LockWait &wait)
{
    const QString waited = secondsText(wait.waitedMs());
    const std::optional<LockHolder> holder = findLockHolder(path);
    if (holder && holder->isVendrakul)
        return QStringLiteral("The training log %1 is in use by another running copy of Vendrakul "
                              "(it stayed locked for %2 s).")
            .arg(path, waited);
    if (holder && !holder->program.isEmpty())
        return QStringLiteral("The training log %1 is in use by another program (%2, process %3; "
                              "it stayed locked for %4 s).")
            .arg(path, holder->program)
            .arg(holder->pid)
            .arg(waited);
    return QStringLiteral("The training log %1 is in use by another program (it stayed locked for %2 s).")
        .arg(path, waited);
}

} // namespace

int primaryCode(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xFF) : -1;
}

bool isLockConflict(const QSqlError &error)
{
    const int code = primaryCode(error);
    return code == kBusy || code == kLocked;
}

Connection::Connection(const QString &databaseName, const QString &options)
    : m_name(newConnectionName())
{
    QSqlDatabase db = QSqlDatabase::addDatabase(kDriver, m_name);
    db.setDatabaseName(databaseName);
    // Qt's driver waits 5 s by default; the waiting is LockWait's.
    db.setConnectOptions(options.isEmpty() ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=0")
                                           : options + QStringLiteral(";QSQLITE_BUSY_TIMEOUT=0"));
    m_opened = db.open();
    if (!m_opened)
        m_openError = db.lastError();
}

Connection::~Connection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase Connection::db() const
{
    return QSqlDatabase::database(m_name, false);
}

LockWait::LockWait(const LockPolicy &policy)
    : m_policy(policy)
{
}

bool LockWait::again()
{
    static constexpr int kStepsMs[] = {1, 2, 5, 10, 15, 20, 25, 25, 25, 50, 50, 100};
    if (!m_waiting.isValid()) {
        m_waiting.start();
        if (m_policy.waitBegins)
            m_policy.waitBegins();
    }
    const qint64 left = m_policy.timeoutMs - m_waiting.elapsed();
    if (left <= 0)
        return false;
    const int step = kStepsMs[std::min<int>(m_attempts, std::size(kStepsMs) - 1)];
    ++m_attempts;
    QThread::msleep(static_cast<unsigned long>(std::min<qint64>(step, left)));
    return true;
}

qint64 LockWait::waitedMs() const
{
    return m_waiting.isValid() ? m_waiting.elapsed() : 0;
}

std::optional<QSqlError> execWaiting(QSqlQuery &query, LockWait &wait, const QString &statement)
{
    for (;;) {
        if (statement.isEmpty() ? query.exec() : query.exec(statement))
            return std::nullopt;
        const QSqlError error = query.lastError();
        if (!isLockConflict(error) || !wait.again())
            return error;
    }
}

QString sqliteProblem(const QString &path, const QSqlError &error, const LockWait &wait)
{
    const QString detail = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    switch (primaryCode(error)) {
    case kBusy:
    case kLocked:
        return lockProblem(path, wait);
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

} // namespace vk::logdb
