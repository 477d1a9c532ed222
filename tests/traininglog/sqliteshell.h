#pragma once

// Another program on the training log: Debian's sqlite3 shell, holding the
// log's write lock in an open transaction until released.
#include <QProcess>
#include <QString>

#include <gtest/gtest.h>

namespace vk::test {

class SqliteShellHoldingLock
{
public:
    // Starts `sqlite3 path` and begins a write transaction, or with
    // `exclusive` one that keeps readers out too; `holding` tells whether
    // it holds the lock now.
    explicit SqliteShellHoldingLock(const QString &path, bool exclusive = false)
    {
        m_shell.setProcessChannelMode(QProcess::MergedChannels);
        m_shell.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), path});
        if (!m_shell.waitForStarted(10000)) {
            ADD_FAILURE() << "sqlite3 did not start: " << m_shell.errorString().toStdString();
            return;
        }
        m_shell.write(".timeout 20000\n");
        m_shell.write(exclusive ? "PRAGMA locking_mode = EXCLUSIVE;\nBEGIN EXCLUSIVE;\n" : "BEGIN IMMEDIATE;\n");
        m_shell.write(".print holding\n");
        QByteArray said;
        while (!said.contains("holding\n") && m_shell.waitForReadyRead(20000))
            said += m_shell.readAll();
        holding = said.contains("holding\n");
        EXPECT_TRUE(holding) << said.toStdString();
    }
    ~SqliteShellHoldingLock() { release(); }
    SqliteShellHoldingLock(const SqliteShellHoldingLock &) = delete;
    SqliteShellHoldingLock &operator=(const SqliteShellHoldingLock &) = delete;

    qint64 pid() const { return m_shell.processId(); }

    // Ends the transaction (writing nothing) and the shell.
    void release()
    {
        if (m_shell.state() == QProcess::NotRunning)
            return;
        m_shell.write("COMMIT;\n.quit\n");
        m_shell.closeWriteChannel();
        if (!m_shell.waitForFinished(20000))
            m_shell.kill();
        m_shell.waitForFinished(5000);
        holding = false;
    }

    bool holding = false;

private:
    QProcess m_shell;
};

} // namespace vk::test
