// Reading the whole log, for the progress view and the export, without
// creating or changing anything.
#include "traininglog/logschema.h"
#include "traininglog/traininglog.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>

#include <optional>

namespace vk {
namespace {

using namespace logdb;

std::optional<StageVerdict> verdictFromName(const QString &name)
{
    for (StageVerdict v : {StageVerdict::Correct, StageVerdict::Wrong, StageVerdict::Left})
        if (verdictName(v) == name)
            return v;
    return std::nullopt;
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

// Reads the rows once. `problem` is set when that failed.
LogContents readOnce(const QString &path, LockWait &wait, bool *immutable)
{
    LogContents result;
    const std::unique_ptr<Connection> connection = readConnection(path, immutable);
    if (!connection->opened()) {
        result.problem = sqliteProblem(path, connection->openError(), wait);
        return result;
    }
    const Inspection seen = inspect(connection->db(), path, wait);
    if (seen.contents == Contents::Empty)
        return result;
    if (seen.contents != Contents::Ours) {
        result.problem = seen.problem;
        return result;
    }
    QSqlQuery rows(connection->db());
    rows.setForwardOnly(true);
    if (auto error = execWaiting(rows, wait, kSelectStages)) {
        result.problem = sqliteProblem(path, *error, wait);
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
        result.problem = sqliteProblem(path, rows.lastError(), wait);
    }
    return result;
}

} // namespace

LogContents TrainingLog::read(const QString &path, const LockPolicy &policy)
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
    LockWait wait(policy);
    const FileStamp before = stampOf(path);
    bool immutable = false;
    result = readOnce(path, wait, &immutable);
    if (immutable && !(stampOf(path) == before))
        result = readOnce(path, wait, &immutable);
    return result;
}

} // namespace vk
