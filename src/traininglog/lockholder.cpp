#include "traininglog/lockholder.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <sys/stat.h>
#include <unistd.h>

namespace vk {
namespace {

// Where SQLite takes its locks. In WAL mode the writer holds byte 120 of
// the "-shm" file exclusively (121 and 122 while it checkpoints or
// recovers); in rollback mode the writer holds the reserved byte of the
// database file, and the pending byte and the shared range on its way to
// writing the file.
constexpr quint64 kWalWriteLock = 120;
constexpr quint64 kWalRecoverLock = 122;
constexpr quint64 kPendingByte = 0x40000000;
constexpr quint64 kSharedLast = kPendingByte + 2 + 510 - 1;

quint64 inodeOf(const QString &path)
{
    struct stat st{};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? quint64(st.st_ino) : 0;
}

bool overlaps(quint64 start, quint64 end, quint64 first, quint64 last)
{
    return start <= last && end >= first;
}

LockHolder describe(qint64 pid)
{
    LockHolder holder;
    holder.pid = pid;
    const QString exe = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
    if (!exe.isEmpty()) {
        holder.program = QFileInfo(exe).fileName();
    } else {
        QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
        if (comm.open(QIODevice::ReadOnly))
            holder.program = QString::fromLocal8Bit(comm.readAll()).trimmed();
    }
    const QString ownExe = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    holder.isVendrakul = pid == QCoreApplication::applicationPid() || (!exe.isEmpty() && exe == ownExe)
                         || holder.program == QLatin1String("vendrakul");
    return holder;
}

} // namespace

std::optional<LockHolder> findLockHolder(const QString &locksTable, quint64 databaseInode, quint64 sharedMemoryInode)
{
    // Each line: "1: POSIX  ADVISORY  WRITE 4242 fd:01:1234567 120 120";
    // the device is left aside: some file systems show another one here
    // than stat() gives, and the inode with the byte range is enough.
    const QStringList lines = locksTable.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const QStringList f = line.simplified().split(QLatin1Char(' '));
        if (f.size() < 8 || f.at(1) == QLatin1String("->") || f.at(3) != QLatin1String("WRITE"))
            continue;
        bool ok = false;
        const qint64 pid = f.at(4).toLongLong(&ok);
        if (!ok || pid <= 0)
            continue;
        const quint64 inode = f.at(5).section(QLatin1Char(':'), 2).toULongLong(&ok);
        if (!ok)
            continue;
        const quint64 start = f.at(6).toULongLong();
        const quint64 end = f.at(7) == QLatin1String("EOF") ? ~quint64(0) : f.at(7).toULongLong();
        const bool walWriter = sharedMemoryInode != 0 && inode == sharedMemoryInode
                               && overlaps(start, end, kWalWriteLock, kWalRecoverLock);
        const bool fileWriter = databaseInode != 0 && inode == databaseInode
                                && overlaps(start, end, kPendingByte, kSharedLast);
        if (walWriter || fileWriter)
            return describe(pid);
    }
    return std::nullopt;
}

std::optional<LockHolder> findLockHolder(const QString &path)
{
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly))
        return std::nullopt;
    // /proc files report a size of 0: read until the end.
    const QString table = QString::fromLatin1(locks.readAll());
    return findLockHolder(table, inodeOf(path), inodeOf(path + QStringLiteral("-shm")));
}

} // namespace vk
