// The log as processes keep it: one killed (SIGKILL) while it writes rows
// or in the middle of a stage, and two writing at the same time.
#include "logtestsupport.h"

#include "traininglog/traininglog.h"

#include <QProcess>
#include <QThread>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <signal.h>

#include <memory>

namespace vk {
namespace {

using test::sampleReport;
using test::sameReport;

std::unique_ptr<QProcess> startHelper(const QStringList &arguments)
{
    auto p = std::make_unique<QProcess>();
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(QStringLiteral(VK_LOG_HELPER), arguments);
    EXPECT_TRUE(p->waitForStarted(10000));
    return p;
}

// Reads the helper's lines until one starts with `prefix` and its number
// reaches `atLeast` (or the line is exactly `prefix` when atLeast < 0);
// returns the last number seen.
int waitForLine(QProcess &p, const QString &prefix, int atLeast)
{
    int last = 0;
    while (p.state() == QProcess::Running || p.canReadLine()) {
        if (!p.canReadLine() && !p.waitForReadyRead(20000))
            break;
        while (p.canReadLine()) {
            const QString line = QString::fromUtf8(p.readLine()).trimmed();
            if (line.startsWith(QStringLiteral("failed")))
                ADD_FAILURE() << line.toStdString();
            if (atLeast < 0 && line == prefix)
                return last;
            if (line.startsWith(prefix)) {
                last = line.section(QLatin1Char(' '), 1).toInt();
                if (atLeast >= 0 && last >= atLeast)
                    return last;
            }
        }
    }
    ADD_FAILURE() << "the helper stopped before saying " << prefix.toStdString();
    return last;
}

void killHard(QProcess &p)
{
    ::kill(static_cast<pid_t>(p.processId()), SIGKILL);
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitStatus(), QProcess::CrashExit);
}

class LogProcesses : public ::testing::Test
{
protected:
    QTemporaryDir tmp;
    QString path = tmp.path() + QStringLiteral("/training-log.sqlite");
};

// Every row a killed writer said was in is there, whole, after each of
// three kills at different moments, and the log takes rows again.
TEST_F(LogProcesses, aWriterKilledWhileWritingLosesNoCommittedRow)
{
    int expectedTotal = 0;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        const QString tag = QStringLiteral("R%1").arg(round);
        const std::unique_ptr<QProcess> writer = startHelper({QStringLiteral("rows"), path, tag, QStringLiteral("0")});
        int committed = waitForLine(*writer, QStringLiteral("committed"), 15 + 11 * round);
        killHard(*writer);
        // The last row it said was in, up to the kill.
        for (const QByteArray &line : writer->readAllStandardOutput().split('\n'))
            if (line.startsWith("committed "))
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
    const std::unique_ptr<QProcess> trainer = startHelper({QStringLiteral("stages"), path, QStringLiteral("3")});
    EXPECT_EQ(waitForLine(*trainer, QStringLiteral("written"), 3), 3);
    waitForLine(*trainer, QStringLiteral("in stage"), -1);
    killHard(*trainer);

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
    const std::unique_ptr<QProcess> a =
        startHelper({QStringLiteral("rows"), path, QStringLiteral("A"), QString::number(kRows), start});
    const std::unique_ptr<QProcess> b =
        startHelper({QStringLiteral("rows"), path, QStringLiteral("B"), QString::number(kRows), start});
    QThread::msleep(100); // both are waiting for the start
    QFile(start).open(QIODevice::WriteOnly);
    for (QProcess *p : {a.get(), b.get()}) {
        ASSERT_TRUE(p->waitForFinished(120000));
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardOutput().right(300).toStdString();
    }
    const LogContents contents = TrainingLog::read(path);
    ASSERT_TRUE(contents.problem.isEmpty()) << contents.problem.toStdString();
    ASSERT_EQ(contents.entries.size(), 2 * kRows);
    int nextA = 0;
    int nextB = 0;
    bool interleaved = false;
    for (const LogEntry &e : contents.entries) {
        if (nextA < kRows && sameReport(e.report, sampleReport(nextA, QStringLiteral("A")))) {
            interleaved = interleaved || (nextB > 0 && nextB < kRows);
            ++nextA;
        } else if (nextB < kRows && sameReport(e.report, sampleReport(nextB, QStringLiteral("B")))) {
            ++nextB;
        } else {
            ADD_FAILURE() << "row " << e.id << " is out of order or not as written";
        }
    }
    EXPECT_EQ(nextA, kRows);
    EXPECT_EQ(nextB, kRows);
    EXPECT_TRUE(interleaved) << "the two copies' rows alternate somewhere";
}

} // namespace
} // namespace vk
