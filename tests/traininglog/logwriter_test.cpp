// The writer thread: a stage's end only queues; rows still queued when the
// run ends are written; a log another program holds keeps its rows queued
// until it lets go, and at the end waits only so long; a failing log costs
// one line, not one per stage.
#include "logtestsupport.h"
#include "sqliteshell.h"

#include "traininglog/logwriter.h"
#include "traininglog/traininglog.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vk {
namespace {

using test::sampleReport;
using test::sameReport;

// Every status the writer told, and a way to wait for one.
class StatusRecord
{
public:
    TrainingLogWriter::StatusOutput output()
    {
        return [this](const LogStatus &status) {
            const std::lock_guard lock(m_mutex);
            m_seen.push_back(status);
            m_changed.notify_all();
        };
    }
    // Waits (up to a minute) for a status with `state`; the last one seen.
    LogStatus waitFor(LogStatus::State state)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::minutes(1),
                           [&] { return !m_seen.empty() && m_seen.back().state == state; });
        EXPECT_FALSE(m_seen.empty());
        return m_seen.empty() ? LogStatus{} : m_seen.back();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<LogStatus> m_seen;
};

class LogWriterTest : public ::testing::Test
{
protected:
    TrainingLogWriter::Options options()
    {
        TrainingLogWriter::Options o;
        o.problems = [this](const QString &line) { told.append(line); };
        o.status = status.output();
        o.lockPolicy.timeoutMs = 100;
        o.firstRetryMs = 20;
        o.longestRetryMs = 200;
        return o;
    }

    QTemporaryDir tmp;
    QString path = tmp.path() + QStringLiteral("/training-log.sqlite");
    QStringList told;
    StatusRecord status;
};

TEST_F(LogWriterTest, writesEveryQueuedRowBeforeItGoesAndCountsWhatTheLogHolds)
{
    {
        TrainingLogWriter writer(path, options());
        EXPECT_EQ(status.waitFor(LogStatus::State::On).stagesHeld, 0);
        for (int i = 0; i < 25; ++i)
            writer.stageEnded(sampleReport(i));
    }
    EXPECT_TRUE(told.isEmpty()) << told.join(QLatin1Char('\n')).toStdString();
    const LogContents contents = TrainingLog::read(path);
    ASSERT_EQ(contents.entries.size(), 25);
    for (int i = 0; i < 25; ++i)
        EXPECT_TRUE(sameReport(contents.entries[i].report, sampleReport(i))) << i;

    // A later run counts the rows already there.
    TrainingLogWriter again(path, options());
    again.stageEnded(sampleReport(25));
    again.waitUntilIdle();
    EXPECT_EQ(again.status().stagesHeld, 26);
    EXPECT_EQ(again.status().state, LogStatus::State::On);
}

TEST_F(LogWriterTest, aLogThatCannotBeUsedIsToldOnceAndLeftAlone)
{
    QFile notes(path);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("these are somebody's notes\n");
    notes.close();
    const auto before = test::recordFolder(tmp.path());
    {
        TrainingLogWriter writer(path, options());
        for (int i = 0; i < 3; ++i)
            writer.stageEnded(sampleReport(i));
        writer.waitUntilIdle();
        EXPECT_EQ(writer.rowsWritten(), 0);
        const LogStatus off = status.waitFor(LogStatus::State::Off);
        EXPECT_TRUE(off.problem.contains(QStringLiteral("not an SQLite database"))) << off.problem.toStdString();
    }
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith(QStringLiteral("vendrakul: the training log is off: "))) << told[0].toStdString();
    EXPECT_TRUE(told[0].contains(path));
    EXPECT_EQ(test::recordFolder(tmp.path()), before);
}

// Stages finished while another program holds the log, from before the
// writer opened it or only once it had: they wait, and are written when
// the lock goes, with nothing said.
TEST_F(LogWriterTest, stagesKeptOutByAnotherProgramAreWrittenWhenItLetsGo)
{
    for (const bool heldFromTheStart : {true, false}) {
        SCOPED_TRACE(heldFromTheStart ? "held from the start" : "held once open");
        QTemporaryDir dir;
        const QString log = dir.path() + QStringLiteral("/training-log.sqlite");
        { TrainingLogWriter make(log, options()); } // an empty log
        std::unique_ptr<test::SqliteShellHoldingLock> shell;
        if (heldFromTheStart)
            shell = std::make_unique<test::SqliteShellHoldingLock>(log);
        StatusRecord seen;
        TrainingLogWriter::Options o = options();
        o.status = seen.output();
        TrainingLogWriter writer(log, o);
        if (!heldFromTheStart) {
            seen.waitFor(LogStatus::State::On);
            shell = std::make_unique<test::SqliteShellHoldingLock>(log);
        }
        for (int i = 0; i < 3; ++i)
            writer.stageEnded(sampleReport(i));
        const LogStatus waiting = seen.waitFor(LogStatus::State::Waiting);
        EXPECT_TRUE(waiting.problem.contains(QStringLiteral("another program (sqlite3"))) << waiting.problem.toStdString();
        shell->release();
        writer.waitUntilIdle();
        EXPECT_EQ(writer.rowsWritten(), 3);
        EXPECT_EQ(writer.status().state, LogStatus::State::On);
        EXPECT_EQ(writer.status().stagesHeld, 3);
        EXPECT_EQ(TrainingLog::read(log).entries.size(), 3);
    }
    EXPECT_TRUE(told.isEmpty()) << told.join(QLatin1Char('\n')).toStdString();
}

// The run ends while another program still holds the log: the writer
// waits its time, then gives the rows up with one line that counts them.
TEST_F(LogWriterTest, rowsStillKeptOutAtTheEndAreCountedInOneLine)
{
    { TrainingLogWriter make(path, options()); }
    test::SqliteShellHoldingLock shell(path);
    {
        TrainingLogWriter::Options o = options();
        o.exitWaitMs = 300;
        TrainingLogWriter writer(path, o);
        writer.stageEnded(sampleReport(0));
        writer.stageEnded(sampleReport(1));
        status.waitFor(LogStatus::State::Waiting);
    }
    ASSERT_EQ(told.size(), 1) << told.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(told[0].startsWith(QStringLiteral("vendrakul: 2 stages were not written to the training log: ")))
        << told[0].toStdString();
    EXPECT_TRUE(told[0].contains(QStringLiteral("another program (sqlite3"))) << told[0].toStdString();
    shell.release();
    EXPECT_TRUE(TrainingLog::read(path).entries.isEmpty());
}

} // namespace
} // namespace vk
