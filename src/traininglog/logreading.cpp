// Reading the whole log, for the progress view and the export, without
// creating or changing anything.
#include "stage/factorlength.h"
#include "traininglog/logschema.h"
#include "traininglog/traininglog.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>

#include <QStringList>

#include <cmath>
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

// How many rows left out are named in the sentence that counts them.
constexpr int kReasonsTold = 3;

// Reads one row of kSelectStages into `report`; why it cannot be, or empty.
// Every value a stage can leave is checked: a row changed by hand or by
// another program is left out on its own, and the rest of the log is read.
QString readRow(const QSqlQuery &rows, StageReport *report)
{
    StageReport &r = *report;
    const QString started = rows.value(1).toString();
    r.startedUtc = QDateTime::fromString(started, Qt::ISODateWithMs);
    if (!r.startedUtc.isValid())
        return QStringLiteral("its start time \"%1\" is not a date and time").arg(started);
    bool ok = false;
    r.secondsUsed = rows.value(2).toString().toDouble(&ok);
    if (!ok || !std::isfinite(r.secondsUsed) || r.secondsUsed < 0)
        return QStringLiteral("its seconds used \"%1\" are not a time").arg(rows.value(2).toString());
    r.clockShown = rows.value(3).toInt() != 0;
    r.factor1 = rows.value(4).toString();
    r.factor2 = rows.value(5).toString();
    r.answer = rows.value(6).toString();
    r.product = rows.value(7).toString();
    r.digitsMatched = rows.value(8).toString().toInt(&ok);
    if (!ok || r.digitsMatched < 0 || r.digitsMatched > r.product.size())
        return QStringLiteral("its digits matched \"%1\" are not a count of the product's digits")
            .arg(rows.value(8).toString());
    const QString verdict = rows.value(9).toString();
    const std::optional<StageVerdict> known = verdictFromName(verdict);
    if (!known)
        return QStringLiteral("its verdict \"%1\" is not one Vendrakul writes").arg(verdict);
    r.verdict = *known;
    r.factorDigits = rows.value(10).toString().toInt(&ok);
    if (!ok || r.factorDigits < 1 || r.factorDigits > kMostFactorDigits)
        return QStringLiteral("its factor length \"%1\" is not one Vendrakul plays").arg(rows.value(10).toString());
    r.matchedColumns = rows.value(11).toString();
    if (r.verdict == StageVerdict::Left) {
        r.matchedColumns.clear();
    } else if (rows.value(11).isNull()) {
        // Kept by a version that did not keep the columns.
        r.matchedColumns = matchedColumnsFromAnswer(r.answer, r.product);
    } else if (r.matchedColumns.size() != r.product.size()
               || r.matchedColumns.count(u'1') + r.matchedColumns.count(u'0') != r.matchedColumns.size()) {
        return QStringLiteral("its matched columns \"%1\" do not fit its product").arg(r.matchedColumns);
    }
    return QString();
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
    if (auto error = execWaiting(rows, wait, selectStages(seen.version))) {
        result.problem = sqliteProblem(path, *error, wait);
        return result;
    }
    QStringList reasons; // of the first few rows left out
    while (rows.next()) {
        LogEntry entry;
        entry.id = rows.value(0).toLongLong();
        const QString why = readRow(rows, &entry.report);
        if (why.isEmpty()) {
            result.entries.append(entry);
            continue;
        }
        ++result.unreadableRows;
        if (reasons.size() < kReasonsTold)
            reasons.append(QStringLiteral("row %1: %2").arg(entry.id).arg(why));
    }
    if (result.unreadableRows > 0) {
        result.unreadable =
            QStringLiteral("%1 %2 of the training log could not be read and %3 left out (%4%5).")
                .arg(result.unreadableRows)
                .arg(result.unreadableRows == 1 ? QStringLiteral("row") : QStringLiteral("rows"))
                .arg(result.unreadableRows == 1 ? QStringLiteral("was") : QStringLiteral("were"))
                .arg(reasons.join(QStringLiteral("; ")))
                .arg(result.unreadableRows > reasons.size() ? QStringLiteral("; ...") : QString());
    }
    if (rows.lastError().isValid()) {
        result.entries.clear();
        result.unreadableRows = 0;
        result.unreadable.clear();
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
