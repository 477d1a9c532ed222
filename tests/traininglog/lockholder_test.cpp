// Who keeps the log locked, read off the kernel's table of file locks.
#include "traininglog/lockholder.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace vk {
namespace {

constexpr quint64 kDatabase = 1111;
constexpr quint64 kSharedMemory = 2222;

QString lockLine(const char *kind, qint64 pid, quint64 inode, const QString &range)
{
    return QStringLiteral("1: POSIX  ADVISORY  %1 %2 fe:00:%3 %4\n").arg(QLatin1String(kind)).arg(pid).arg(inode).arg(range);
}

TEST(LockHolder, theWriterIsFoundInEitherJournalModeAndNobodyElse)
{
    const qint64 self = QCoreApplication::applicationPid();
    struct Case {
        const char *what;
        QString table;
        bool found;
    } cases[] = {
        {"WAL: the write lock on the shared memory", lockLine("WRITE", self, kSharedMemory, QStringLiteral("120 120")), true},
        {"WAL: a recovery in progress", lockLine("WRITE", self, kSharedMemory, QStringLiteral("122 122")), true},
        {"WAL: readers only", lockLine("READ", self, kSharedMemory, QStringLiteral("123 123"))
                                  + lockLine("READ", self, kSharedMemory, QStringLiteral("128 128")),
         false},
        {"rollback: the reserved byte", lockLine("WRITE", self, kDatabase, QStringLiteral("1073741825 1073741825")), true},
        {"rollback: exclusive, the shared range",
         lockLine("WRITE", self, kDatabase, QStringLiteral("1073741826 1073742335")), true},
        {"rollback: a reader's shared range", lockLine("READ", self, kDatabase, QStringLiteral("1073741826 1073742335")),
         false},
        {"another file's write lock", lockLine("WRITE", self, 3333, QStringLiteral("0 EOF")), false},
        {"a waiter, not a holder",
         QStringLiteral("1: -> POSIX  ADVISORY  WRITE %1 fe:00:%2 120 120\n").arg(self).arg(kSharedMemory), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<LockHolder> holder = findLockHolder(c.table, kDatabase, kSharedMemory);
        ASSERT_EQ(holder.has_value(), c.found);
        if (holder) {
            EXPECT_EQ(holder->pid, self);
            EXPECT_TRUE(holder->isVendrakul) << "this very program holds it";
        }
    }
}

} // namespace
} // namespace vk
