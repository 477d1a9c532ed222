// The log as processes keep it: one killed (SIGKILL) while it writes rows
// or in the middle of a stage; two copies, or a copy and another program,
// meeting at every step of opening and writing.
#include "logtestsupport.h"
#include "otherconnection.h"
#include "sqliteshell.h"

#include "traininglog/traininglog.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <signal.h>

#include <functional>
#include <memory>

namespace vk {
namespace {

using test::sampleReport;
using test::sameReport;

// A helper process, as another copy of the trainer, and what it says.
class Copy
{
public:
    explicit Copy(const QStringList &arguments, const QProcessEnvironment &environment = {})
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        if (!environment.isEmpty())
            m_process.setProcessEnvironment(environment);
        m_process.start(QStringLiteral(VK_LOG_HELPER), arguments);
        EXPECT_TRUE(m_process.waitForStarted(10000));
    }
    ~Copy()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(10000);
        }
    }
    Copy(const Copy &) = delete;
    Copy &operator=(const Copy &) = delete;

    static std::unique_ptr<Copy> writingRows(const QString &path, const QString &tag, int count,
                                             const QStringList &options = {})
    {
        return std::make_unique<Copy>(QStringList{QStringLiteral("rows"), path, tag, QString::number(count)} + options);
    }

    // Reads lines until one starts with `prefix` and its number reaches
    // `atLeast` (or until the line is exactly `prefix` when atLeast < 0);
    // returns the last number seen. `failures` are expected, not faults.
    int waitForLine(const QString &prefix, int atLeast = -1, bool failures = false)
    {
        int last = 0;
        while (m_process.state() == QProcess::Running || m_process.canReadLine()) {
            if (!m_process.canReadLine() && !m_process.waitForReadyRead(60000))
                break;
            while (m_process.canReadLine()) {
                const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
                said.append(line);
                if (!failures && line.startsWith(QStringLiteral("failed")))
                    ADD_FAILURE() << line.toStdString();
                if (atLeast < 0 && line.startsWith(prefix))
                    return last;
                if (line.startsWith(prefix)) {
                    last = line.section(QLatin1Char(' '), 1).toInt();
                    if (atLeast >= 0 && last >= atLeast)
                        return last;
                }
            }
        }
        ADD_FAILURE() << "the copy stopped before saying " << prefix.toStdString() << "; it said: "
                      << said.join(QLatin1Char('|')).toStdString();
        return last;
    }

    // Waits for the end and returns the exit code (-1 on a crash or hang).
    int finish()
    {
        if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(120000))
            return -1;
        for (const QByteArray &line : m_process.readAllStandardOutput().split('\n'))
            if (!line.isEmpty())
                said.append(QString::fromUtf8(line));
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

    void signal(int number) { ::kill(static_cast<pid_t>(m_process.processId()), number); }

    void killHard()
    {
        signal(SIGKILL);
        ASSERT_TRUE(m_process.waitForFinished(10000));
        EXPECT_EQ(m_process.exitStatus(), QProcess::CrashExit);
        for (const QByteArray &line : m_process.readAllStandardOutput().split('\n'))
            if (!line.isEmpty())
                said.append(QString::fromUtf8(line));
    }

    QStringList said;

private:
    QProcess m_process;
};

class LogProcesses : public ::testing::Test
{
public:
    QTemporaryDir tmp;
    QString path = tmp.path() + QStringLiteral("/training-log.sqlite");
    QString release = tmp.path() + QStringLiteral("/release");

    void releaseHolder() { QFile(release).open(QIODevice::WriteOnly); }

    // The log holds `count` rows of each series in `tags`, whole, each
    // series in its order (copies writing at once interleave them).
    void expectSeries(const QStringList &tags, int count)
    {
        const LogContents contents = TrainingLog::read(path);
        ASSERT_TRUE(contents.problem.isEmpty()) << contents.problem.toStdString();
        ASSERT_EQ(contents.entries.size(), tags.size() * count);
        QList<int> next(tags.size(), 0);
        for (const LogEntry &e : contents.entries) {
            bool matched = false;
            for (qsizetype t = 0; t < tags.size() && !matched; ++t) {
                if (next[t] < count && sameReport(e.report, sampleReport(next[t], tags[t]))) {
                    ++next[t];
                    matched = true;
                }
            }
            EXPECT_TRUE(matched) << "row " << e.id << " is out of order or not as written";
        }
    }
};

// Every row a killed writer said was in is there, whole, after each of
// three kills at different moments, and the log takes rows again.
TEST_F(LogProcesses, aWriterKilledWhileWritingLosesNoCommittedRow)
{
    int expectedTotal = 0;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        const QString tag = QStringLiteral("R%1").arg(round);
        const std::unique_ptr<Copy> writer = Copy::writingRows(path, tag, 0);
        writer->waitForLine(QStringLiteral("committed"), 15 + 11 * round);
        writer->killHard();
        int committed = 0; // the last row it said was in, up to the kill
        for (const QString &line : writer->said)
            if (line.startsWith(QStringLiteral("committed ")))
                committed = line.mid(10).toInt();

        const LogContents contents = TrainingLog::read(path);
        ASSERT_TRUE(contents.problem.isEmpty()) << contents.problem.toStdString();
        const int rows = static_cast<int>(contents.entries.size()) - expectedTotal;
        // The row being written when the kill came may or may not be in.
        EXPECT_GE(rows, committed);
        EXPECT_LE(rows, committed + 1);
        for (int i = 0; i < rows; ++i)
            ASSERT_TRUE(sameReport(contents.entries[expectedTotal + i].report, sampleReport(i, tag))) << "row " << i;
        expectedTotal += rows;
    }
    QString problem;
    const std::unique_ptr<TrainingLog> log = TrainingLog::open(path, &problem);
    ASSERT_TRUE(log) << problem.toStdString();
    EXPECT_TRUE(log->append(sampleReport(0, QStringLiteral("after"))));
    EXPECT_EQ(TrainingLog::read(path).entries.size(), expectedTotal + 1);
}

// The trainer with the log on, killed while a stage runs: the stages it
// finished are all there, the running one is not, and the log opens again.
TEST_F(LogProcesses, theTrainerKilledInTheMiddleOfAStageKeepsTheFinishedOnes)
{
    Copy trainer({QStringLiteral("stages"), path, QStringLiteral("3")});
    EXPECT_EQ(trainer.waitForLine(QStringLiteral("written"), 3), 3);
    trainer.waitForLine(QStringLiteral("in stage"));
    trainer.killHard();

    const LogContents contents = TrainingLog::read(path);
    ASSERT_TRUE(contents.problem.isEmpty()) << contents.problem.toStdString();
    ASSERT_EQ(contents.entries.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const StageReport &r = contents.entries[i].report;
        EXPECT_EQ(r.verdict, StageVerdict::Wrong);
        EXPECT_EQ(r.answer, QString::number(i + 1));
        EXPECT_NEAR(r.secondsUsed, 30.0 + i, 0.01);
    }
    QString problem;
    EXPECT_TRUE(TrainingLog::open(path, &problem)) << problem.toStdString();
}

// Two copies start on a log that does not exist yet and write at once:
// it is made once, and every row of both is kept, each copy's in its order.
TEST_F(LogProcesses, twoCopiesWritingAtOnceKeepEveryRow)
{
    constexpr int kRows = 300;
    const QString start = tmp.path() + QStringLiteral("/start");
    const std::unique_ptr<Copy> a = Copy::writingRows(path, QStringLiteral("A"), kRows, {QStringLiteral("--start"), start});
    const std::unique_ptr<Copy> b = Copy::writingRows(path, QStringLiteral("B"), kRows, {QStringLiteral("--start"), start});
    QFile(start).open(QIODevice::WriteOnly);
    for (Copy *copy : {a.get(), b.get()})
        EXPECT_EQ(copy->finish(), 0) << copy->said.join(QLatin1Char('|')).right(300).toStdString();
    expectSeries({QStringLiteral("A"), QStringLiteral("B")}, kRows);
}

// Each row is on the disk before the writer says it is in: between one
// "committed" and the next, the log's WAL file is synced. The system calls
// are watched with strace, in the order the writer made them.
TEST_F(LogProcesses, eachRowIsSyncedBeforeItIsSaidToBeIn)
{
    constexpr int kRows = 12;
    const QString trace = tmp.path() + QStringLiteral("/trace");
    QProcess strace;
    strace.setProcessChannelMode(QProcess::MergedChannels);
    strace.start(QStringLiteral("strace"),
                 {QStringLiteral("-f"), QStringLiteral("-y"), QStringLiteral("-e"),
                  QStringLiteral("trace=fsync,fdatasync,write"), QStringLiteral("-o"), trace,
                  QStringLiteral(VK_LOG_HELPER), QStringLiteral("rows"), path, QStringLiteral("S"),
                  QString::number(kRows)});
    ASSERT_TRUE(strace.waitForFinished(120000));
    ASSERT_EQ(strace.exitCode(), 0) << strace.readAll().toStdString();
    QFile file(trace);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString walFile = QFileInfo(path).fileName() + QStringLiteral("-wal>");
    bool synced = false;
    int said = 0;
    for (const QByteArray &raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw);
        if ((line.contains(QStringLiteral(" fdatasync(")) || line.contains(QStringLiteral(" fsync(")))
            && line.contains(walFile) && line.endsWith(QStringLiteral("= 0"))) {
            synced = true;
        } else if (line.contains(QStringLiteral("\"committed "))) {
            ++said;
            EXPECT_TRUE(synced) << "row " << said << " was said to be in before the WAL was synced";
            synced = false;
        }
    }
    EXPECT_EQ(said, kRows);
    expectSeries({QStringLiteral("S")}, kRows);
}

// What holds the log while copy B opens it and writes, and what B must do.
struct Meeting {
    const char *name;
    // Makes the log's state and starts the holder; ready once it holds.
    std::function<void(LogProcesses &, std::unique_ptr<Copy> &a, std::unique_ptr<test::SqliteShellHoldingLock> &shell)>
        hold;
    bool bWaits; // B finds the log locked and waits for the holder
};

class CopiesMeeting : public LogProcesses, public ::testing::WithParamInterface<Meeting>
{
};

// Each moment at which one copy (or another program) can hold the log
// while another copy opens it, forced rather than hoped for: the holder is
// stopped there, B is started, and the holder goes on only once B has
// reached the lock (or has finished, where nothing stops it). Both keep
// every row; nothing of a half-made log is left behind.
TEST_P(CopiesMeeting, bothCopiesKeepEveryRow)
{
    const Meeting &meeting = GetParam();
    std::unique_ptr<Copy> a;
    std::unique_ptr<test::SqliteShellHoldingLock> shell;
    meeting.hold(*this, a, shell);

    const std::unique_ptr<Copy> b = Copy::writingRows(path, QStringLiteral("B"), 5);
    if (meeting.bWaits) {
        b->waitForLine(QStringLiteral("waiting"));
    } else {
        EXPECT_EQ(b->finish(), 0) << b->said.join(QLatin1Char('|')).toStdString();
    }
    releaseHolder();
    if (shell)
        shell->release();
    if (a) {
        EXPECT_EQ(a->finish(), 0) << a->said.join(QLatin1Char('|')).toStdString();
    }
    EXPECT_EQ(b->finish(), 0) << b->said.join(QLatin1Char('|')).toStdString();

    expectSeries(a ? QStringList{QStringLiteral("A"), QStringLiteral("B")} : QStringList{QStringLiteral("B")}, 5);
    EXPECT_EQ(QDir(tmp.path()).entryList({QStringLiteral(".training-log*"), QStringLiteral("training-log*")},
                                         QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("training-log.sqlite")})
        << "only the log itself is left";
}

void copyHeldAt(LogProcesses &t, std::unique_ptr<Copy> &a, const QString &step, const QString &release)
{
    a = Copy::writingRows(t.path, QStringLiteral("A"), 5,
                          {QStringLiteral("--pause-at"), step, QStringLiteral("--until"), release});
    a->waitForLine(QStringLiteral("at ") + step);
}

void makeLog(const QString &path)
{
    QString problem;
    ASSERT_TRUE(TrainingLog::open(path, &problem)) << problem.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    , CopiesMeeting,
    ::testing::Values(
        // A has made a new log beside its place; B makes one too and puts
        // it there first. A's goes, and A writes into B's.
        Meeting{"aCopyHeldWithANewLogNotYetInPlace",
                [](LogProcesses &t, auto &a, auto &) { copyHeldAt(t, a, QStringLiteral("new-log-built"), t.release); },
                false},
        // A holds the write lock of a new log while it checks its tables.
        Meeting{"aCopyHoldingTheLockWhileSettingUp",
                [](LogProcesses &t, auto &a, auto &) { copyHeldAt(t, a, QStringLiteral("setting-up"), t.release); },
                true},
        // Another program writes to a log that is still an empty file, not
        // in WAL yet: switching it to WAL meets the lock at once, without
        // SQLite's own waiting.
        Meeting{"anotherProgramWritingANewEmptyFile",
                [](LogProcesses &t, auto &, auto &shell) {
                    QFile(t.path).open(QIODevice::WriteOnly);
                    shell = std::make_unique<test::SqliteShellHoldingLock>(t.path);
                },
                true},
        Meeting{"anotherProgramWritingTheLog",
                [](LogProcesses &t, auto &, auto &shell) {
                    makeLog(t.path);
                    shell = std::make_unique<test::SqliteShellHoldingLock>(t.path);
                },
                true}),
    [](const ::testing::TestParamInfo<Meeting> &info) { return std::string(info.param.name); });

// A holder that does not let go within a copy's time: the copy gives up
// with one line that names the holder as it is, and the log is whole.
TEST_F(LogProcesses, aHolderThatStaysIsNamedAsItIs)
{
    {
        std::unique_ptr<Copy> a;
        copyHeldAt(*this, a, QStringLiteral("setting-up"), release);
        const std::unique_ptr<Copy> b =
            Copy::writingRows(path, QStringLiteral("B"), 1, {QStringLiteral("--timeout"), QStringLiteral("300")});
        b->waitForLine(QStringLiteral("failed"), -1, true);
        EXPECT_EQ(b->finish(), 1);
        EXPECT_TRUE(b->said.filter(QStringLiteral("in use by another running copy of Vendrakul (it stayed locked for 0."))
                        .size() == 1)
            << b->said.join(QLatin1Char('|')).toStdString();
        releaseHolder();
        EXPECT_EQ(a->finish(), 0);
    }
    {
        test::SqliteShellHoldingLock shell(path);
        const std::unique_ptr<Copy> b =
            Copy::writingRows(path, QStringLiteral("B"), 1, {QStringLiteral("--timeout"), QStringLiteral("300")});
        EXPECT_EQ(b->finish(), 1);
        const QString said = b->said.join(QLatin1Char('|'));
        EXPECT_TRUE(said.contains(QStringLiteral("in use by another program (sqlite3, process %1;").arg(shell.pid())))
            << said.toStdString();
        EXPECT_FALSE(said.contains(QStringLiteral("Vendrakul (")));
    }
    expectSeries({QStringLiteral("A")}, 5);
}

// Only the log itself is left in the folder: no "-wal" or "-shm" file of a
// connection that was not closed.
void expectOnlyTheLog(const QString &dir)
{
    EXPECT_EQ(QDir(dir).entryList({QStringLiteral("training-log*")}, QDir::Files),
              QStringList{QStringLiteral("training-log.sqlite")});
}

// The log of a trainer that finished two stages and was in a third when it
// ended: both finished ones and the third as left, at 12 s.
void expectTwoFinishedAndOneLeft(const QString &path)
{
    const LogContents contents = TrainingLog::read(path);
    ASSERT_TRUE(contents.problem.isEmpty()) << contents.problem.toStdString();
    ASSERT_EQ(contents.entries.size(), 3);
    EXPECT_EQ(contents.entries[0].report.verdict, StageVerdict::Wrong);
    EXPECT_EQ(contents.entries[1].report.verdict, StageVerdict::Wrong);
    EXPECT_EQ(contents.entries[2].report.verdict, StageVerdict::Left);
    EXPECT_NEAR(contents.entries[2].report.secondsUsed, 12.0, 0.01);
    EXPECT_EQ(contents.entries[2].report.answer, QStringLiteral("77"));
}

// The session ends the trainer (a logout, a closed terminal, Ctrl+C) right
// after a finish, with that row still queued and a stage running: it
// closes as a close does, every row is written first, and nothing of the
// connection is left behind.
TEST_F(LogProcesses, theTrainerEndedBySignalWritesEveryRowFirst)
{
    for (const int number : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(number);
        QTemporaryDir dir;
        const QString log = dir.path() + QStringLiteral("/training-log.sqlite");
        Copy trainer({QStringLiteral("stages"), log, QStringLiteral("2"), QStringLiteral("--no-wait")});
        trainer.waitForLine(QStringLiteral("in stage"));
        trainer.signal(number);
        EXPECT_EQ(trainer.finish(), 128 + number);
        expectTwoFinishedAndOneLeft(log);
        expectOnlyTheLog(dir.path());
    }
}

// The X server goes away under the trainer: Qt ends the program itself,
// and the rows are written all the same.
TEST_F(LogProcesses, theTrainerThatLosesItsDisplayWritesEveryRowFirst)
{
    QProcess server;
    server.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                          QStringLiteral("0"), QStringLiteral("1280x800x24"), QStringLiteral("-nolisten"),
                                          QStringLiteral("tcp")});
    ASSERT_TRUE(server.waitForStarted(10000));
    QByteArray number;
    while (!number.contains('\n') && server.waitForReadyRead(30000))
        number += server.readAllStandardOutput();
    ASSERT_TRUE(number.contains('\n')) << "Xvfb told no display";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), QLatin1Char(':') + QString::fromLatin1(number.trimmed()));

    Copy trainer({QStringLiteral("stages"), path, QStringLiteral("2"), QStringLiteral("--no-wait"), QStringLiteral("--xcb")},
                 environment);
    trainer.waitForLine(QStringLiteral("in stage"));
    server.terminate();
    ASSERT_TRUE(server.waitForFinished(20000));
    EXPECT_NE(trainer.finish(), -1) << "the trainer ended of itself, without a crash";
    expectTwoFinishedAndOneLeft(path);
    expectOnlyTheLog(tmp.path());
}

// A copy killed while it migrates a log of the earlier version: the log is
// still of that version, whole and readable, and the next opening
// migrates it.
TEST_F(LogProcesses, aCopyKilledWhileMigratingLeavesTheEarlierVersionWhole)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(VK_TRAININGLOG_DATA "/version1-log.sqlite"), path));
    const LogContents before = TrainingLog::read(path);
    ASSERT_EQ(before.entries.size(), 4);
    {
        std::unique_ptr<Copy> a;
        copyHeldAt(*this, a, QStringLiteral("migrating"), release);
        a->killHard();
    }
    const auto expectBefore = [&](const LogContents &now) {
        ASSERT_TRUE(now.problem.isEmpty()) << now.problem.toStdString();
        ASSERT_EQ(now.entries.size(), before.entries.size());
        for (int i = 0; i < now.entries.size(); ++i)
            EXPECT_TRUE(sameReport(now.entries[i].report, before.entries[i].report)) << "row " << i;
    };
    expectBefore(TrainingLog::read(path));
    {
        test::OtherConnection other(path);
        EXPECT_EQ(other.value(QStringLiteral("SELECT group_concat(version) FROM schema_version")), QStringLiteral("1"));
        EXPECT_EQ(other.value(QStringLiteral("SELECT count(*) FROM pragma_table_info('stages')")), QStringLiteral("10"))
            << "none of the new columns";
    }
    QString problem;
    ASSERT_TRUE(TrainingLog::open(path, &problem)) << problem.toStdString();
    expectBefore(TrainingLog::read(path));
    test::OtherConnection other(path);
    EXPECT_EQ(other.value(QStringLiteral("SELECT group_concat(version) FROM schema_version")), QStringLiteral("2"));
}

} // namespace
} // namespace vk
