#pragma once

// What the training log's tests share: reports that differ in every field,
// a record of a folder's files to compare before and after, and a folder
// made read-only.
#include "stage/stagereport.h"
#include "traininglog/traininglog.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QString>

#include <sys/stat.h>
#include <unistd.h>

namespace vk::test {

// Report number `i` of a series tagged `tag`: every field depends on both,
// so a row written in the wrong place or half written shows.
inline StageReport sampleReport(int i, const QString &tag = QStringLiteral("1"))
{
    StageReport r;
    r.startedUtc = QDateTime(QDate(2026, 12, 10), QTime(9, 0), Qt::UTC).addMSecs(qint64(i) * 61'250);
    r.secondsUsed = 100.0 + i + 0.25;
    r.clockShown = i % 2 == 0;
    r.factor1 = (tag + QString::number(i)).rightJustified(20, u'9');
    r.factor2 = QString::number(i).rightJustified(20, u'0');
    r.answer = QString::number(i * 7) + QStringLiteral("  5");
    r.product = QString::number(i).rightJustified(40, u'1');
    r.digitsMatched = i % 41;
    r.verdict = static_cast<StageVerdict>(i % 3);
    r.factorDigits = 2 + i % 19;
    if (r.verdict != StageVerdict::Left)
        r.matchedColumns = matchedColumnsFromAnswer(r.answer, r.product);
    return r;
}

// A lock policy that gives up after `ms`.
inline LockPolicy waitingUpTo(int ms)
{
    LockPolicy policy;
    policy.timeoutMs = ms;
    return policy;
}

inline bool sameReport(const StageReport &a, const StageReport &b)
{
    return a.startedUtc == b.startedUtc && a.secondsUsed == b.secondsUsed && a.clockShown == b.clockShown
           && a.factor1 == b.factor1 && a.factor2 == b.factor2 && a.answer == b.answer && a.product == b.product
           && a.digitsMatched == b.digitsMatched && a.verdict == b.verdict && a.factorDigits == b.factorDigits
           && a.matchedColumns == b.matchedColumns;
}

// Every file in a folder (not below it): its bytes and its change time to
// the nanosecond.
struct FileRecord {
    QByteArray bytes;
    qint64 mtimeNs = 0;
    bool operator==(const FileRecord &) const = default;
};

inline QMap<QString, FileRecord> recordFolder(const QString &dir)
{
    QMap<QString, FileRecord> files;
    for (const QFileInfo &info : QDir(dir).entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        QFile f(info.filePath());
        FileRecord record;
        if (f.open(QIODevice::ReadOnly))
            record.bytes = f.readAll();
        struct stat st{};
        if (::stat(QFile::encodeName(info.filePath()).constData(), &st) == 0)
            record.mtimeNs = qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
        files.insert(info.fileName(), record);
    }
    return files;
}

// A folder made read-only (no write permission for anyone) for as long as
// this lives. Root may still write there, but the log treats a folder or
// file without any write permission as read-only for root too, so the
// tests hold for every user.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &dir)
        : m_path(QFile::encodeName(dir))
    {
        ::chmod(m_path.constData(), 0555);
    }
    ~ReadOnlyFolder() { ::chmod(m_path.constData(), 0755); }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

private:
    QByteArray m_path;
};

} // namespace vk::test
