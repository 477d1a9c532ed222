// An open log and the rows written to it.
#include "traininglog/traininglog.h"

#include "platform/rounding.h"
#include "traininglog/traininglogprivate.h"

#include <QDateTime>
#include <QStandardPaths>
#include <QVariant>

namespace vk {
namespace {

const QString kFileName = QStringLiteral("training-log.sqlite");

// Text columns are NOT NULL: an answer never typed is empty text.
QString textOf(const QString &value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

} // namespace

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

bool TrainingLog::append(const StageReport &report, int lockTimeoutMs)
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
    q.bindValue(9, report.factorDigits);
    // NULL for a stage left before the evaluation: no column was judged.
    q.bindValue(10, report.matchedColumns.isEmpty() ? QVariant() : QVariant(report.matchedColumns));
    // One statement outside any transaction is one transaction of its own,
    // committed (and, with synchronous FULL, synced) before exec returns.
    LockPolicy policy = d->policy;
    if (lockTimeoutMs >= 0)
        policy.timeoutMs = lockTimeoutMs;
    logdb::LockWait wait(policy);
    const std::optional<QSqlError> error = logdb::execWaiting(q, wait);
    q.finish();
    if (error) {
        d->problem = logdb::sqliteProblem(d->path, *error, wait);
        d->lockedOut = logdb::isLockConflict(*error);
        return false;
    }
    d->problem.clear();
    d->lockedOut = false;
    return true;
}

std::optional<int> TrainingLog::stageCount()
{
    QSqlQuery q(d->connection->db());
    logdb::LockWait wait(d->policy);
    if (logdb::execWaiting(q, wait, QStringLiteral("SELECT COUNT(*) FROM stages")) || !q.next())
        return std::nullopt;
    return q.value(0).toInt();
}

QString TrainingLog::problem() const
{
    return d->problem;
}

bool TrainingLog::lockedOut() const
{
    return d->lockedOut;
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
