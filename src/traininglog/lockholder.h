#pragma once

#include <QString>

#include <optional>

namespace vk {

// The process that holds the write lock of an SQLite database, as the
// kernel's table of file locks (/proc/locks) shows it.
struct LockHolder {
    qint64 pid = 0;
    QString program;          // its executable's name, when it can be seen
    bool isVendrakul = false; // a copy of this program (or the program itself)
};

// Who keeps the database at `path` from being written: the holder of its
// write lock, in WAL mode (on its "-shm" file) or in rollback mode (on the
// file itself). Empty when nobody can be found (the lock went meanwhile,
// or it is another user's process).
std::optional<LockHolder> findLockHolder(const QString &path);

// The same, from a given lock table (the text of /proc/locks) and the
// two files' inode numbers; for tests.
std::optional<LockHolder> findLockHolder(const QString &locksTable, quint64 databaseInode, quint64 sharedMemoryInode);

} // namespace vk
