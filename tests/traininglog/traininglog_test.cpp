#include "logtestsupport.h"
#include "otherconnection.h"
#include "sqliteshell.h"

#include "traininglog/traininglog.h"

#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <memory>

namespace vk {
namespace {

using test::OtherConnection;
using test::recordFolder;
using test::sampleReport;
using test::sameReport;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray randomBytes(int n)
{
    QByteArray bytes(n, '\0');
    for (char &c : bytes)
        c = static_cast<char>(QRandomGenerator::global()->bounded(256));
    return bytes;
}

// A log with `rows` rows at `path`, closed again.
void makeLog(const QString &path, int rows)
{
    QString problem;
    const std::unique_ptr<TrainingLog> log = TrainingLog::open(path, &problem);
    ASSERT_TRUE(log) << problem.toStdString();
    for (int i = 0; i < rows; ++i)
        ASSERT_TRUE(log->append(sampleReport(i))) << log->problem().toStdString();
}

class TrainingLogTest : public ::testing::Test
{
protected:
    QTemporaryDir tmp;
    QString dir = tmp.path() + QStringLiteral("/data/Vendrakul");
    QString path = dir + QStringLiteral("/training-log.sqlite");
};

TEST_F(TrainingLogTest, rowsComeBackAsWrittenInOrderAcrossOpenings)
{
    ASSERT_FALSE(QFileInfo::exists(dir));
    {
        QString problem;
        const std::unique_ptr<TrainingLog> log = TrainingLog::open(path, &problem);
        ASSERT_TRUE(log) << problem.toStdString();
        EXPECT_TRUE(problem.isEmpty());
        EXPECT_TRUE(TrainingLog::read(path).entries.isEmpty()) << "a new log is empty";
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(log->append(sampleReport(i)));
    }
    {
        // A later run adds to the same log.
        const std::unique_ptr<TrainingLog> log = TrainingLog::open(path, nullptr);
        ASSERT_TRUE(log);
        StageReport odd = sampleReport(3);
        odd.secondsUsed = 65.456; // kept to the hundredth
        odd.answer = QString();
        ASSERT_TRUE(log->append(odd));
    }
    const LogContents contents = TrainingLog::read(path);
    ASSERT_TRUE(contents.problem.isEmpty()) << contents.problem.toStdString();
    ASSERT_EQ(contents.entries.size(), 4);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(sameReport(contents.entries[i].report, sampleReport(i)));
        EXPECT_EQ(contents.entries[i].report.startedUtc.timeSpec(), Qt::UTC);
    }
    EXPECT_EQ(contents.entries[3].report.secondsUsed, 65.46);
    EXPECT_TRUE(contents.entries[3].report.answer.isEmpty());
    EXPECT_TRUE(contents.entries[0].id < contents.entries[1].id && contents.entries[2].id < contents.entries[3].id);

    // What is on disk: a WAL database with its schema's version and one
    // row per stage in readable columns.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(20);
    EXPECT_EQ(header[18], 2) << "WAL";
    EXPECT_EQ(header[19], 2) << "WAL";
    file.close();
    OtherConnection other(path);
    EXPECT_EQ(other.value(QStringLiteral("SELECT version FROM schema_version")), QStringLiteral("2"));
    EXPECT_EQ(other.value(QStringLiteral("SELECT started_utc || ' ' || seconds_used || ' ' || clock_shown || ' ' || "
                                         "digits_matched || ' ' || verdict FROM stages ORDER BY id LIMIT 1 OFFSET 1")),
              QStringLiteral("2026-12-10T09:01:01.250Z 101.25 0 1 wrong"));
}

// A home folder may hold characters that mean something in a file URI
// (the log is read through one): the rows still come back.
TEST_F(TrainingLogTest, aLogUnderAFolderWithUriCharactersReadsBack)
{
    const QString odd = tmp.path() + QStringLiteral("/my data #1 ?100%&x=y/Vendrakul/training-log.sqlite");
    {
        QString problem;
        const std::unique_ptr<TrainingLog> log = TrainingLog::open(odd, &problem);
        ASSERT_TRUE(log) << problem.toStdString();
        ASSERT_TRUE(log->append(sampleReport(0)));
    }
    for (const QString &writer : {QString(), QStringLiteral("still open")}) {
        SCOPED_TRACE(writer.toStdString());
        std::unique_ptr<TrainingLog> open;
        if (!writer.isEmpty())
            open = TrainingLog::open(odd, nullptr); // its "-wal" file exists meanwhile
        const LogContents contents = TrainingLog::read(odd);
        ASSERT_TRUE(contents.problem.isEmpty()) << contents.problem.toStdString();
        ASSERT_EQ(contents.entries.size(), 1);
        EXPECT_TRUE(sameReport(contents.entries[0].report, sampleReport(0)));
    }
}

TEST_F(TrainingLogTest, verdictsAreSpelledForTheLogAndItsExport)
{
    EXPECT_EQ(verdictName(StageVerdict::Correct), QStringLiteral("correct"));
    EXPECT_EQ(verdictName(StageVerdict::Wrong), QStringLiteral("wrong"));
    EXPECT_EQ(verdictName(StageVerdict::Left), QStringLiteral("left"));
}

TEST_F(TrainingLogTest, readingCreatesNothing)
{
    const LogContents contents = TrainingLog::read(path);
    EXPECT_TRUE(contents.entries.isEmpty());
    EXPECT_TRUE(contents.problem.contains(QStringLiteral("no training log yet"))) << contents.problem.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir)) << "not even the folder";

    // Nor next to an existing log: no "-wal" or "-shm" file appears.
    makeLog(path, 2);
    const auto before = recordFolder(dir);
    ASSERT_EQ(before.keys(), QStringList{QStringLiteral("training-log.sqlite")});
    EXPECT_EQ(TrainingLog::read(path).entries.size(), 2);
    EXPECT_EQ(recordFolder(dir), before);
}

// A WAL database in a folder that cannot be written: reading needs care
// (an ordinary reader would have to create "-shm" there), and works.
TEST_F(TrainingLogTest, aLogInAReadOnlyFolderCanBeReadButNotOpenedForWriting)
{
    makeLog(path, 3);
    const auto before = recordFolder(dir);
    test::ReadOnlyFolder readOnly(dir);

    const LogContents contents = TrainingLog::read(path);
    EXPECT_TRUE(contents.problem.isEmpty()) << contents.problem.toStdString();
    EXPECT_EQ(contents.entries.size(), 3);

    QString problem;
    EXPECT_FALSE(TrainingLog::open(path, &problem));
    EXPECT_TRUE(problem.contains(QStringLiteral("read-only"))) << problem.toStdString();
    EXPECT_EQ(recordFolder(dir), before);
}

// A second copy still running (or killed while writing) leaves its "-wal"
// file: its rows are read through it, and the running copy goes on.
TEST_F(TrainingLogTest, rowsOfACopyThatIsStillWritingAreRead)
{
    QString problem;
    const std::unique_ptr<TrainingLog> running = TrainingLog::open(path, &problem);
    ASSERT_TRUE(running) << problem.toStdString();
    ASSERT_TRUE(running->append(sampleReport(0)));
    ASSERT_TRUE(QFileInfo::exists(path + QStringLiteral("-wal")));
    EXPECT_EQ(TrainingLog::read(path).entries.size(), 1);
    ASSERT_TRUE(running->append(sampleReport(1)));
    EXPECT_EQ(TrainingLog::read(path).entries.size(), 2);
}

// Each way the log can be unusable. Opening it for writing fails with one
// line that says why, reading it gives a sentence, and no file there is
// created, changed, truncated or converted.
struct Prepared {
    QString path;     // the log's path
    QString expected; // in both problems; empty when the fault cannot be made here
};

// What reading the log gives where opening it fails.
enum class Reading {
    Explains,   // the same problem
    FindsNoLog, // there is no log
    ReadsRows,  // its two rows: only writing is refused
};

struct Fault {
    const char *name;
    // Prepares the fault in `dir`, whose log would be `path`.
    std::function<Prepared(const QString &dir, const QString &path)> prepare;
    Reading reading = Reading::Explains;
};

// Held through one fault test: a log locked by another program, a folder
// made read-only.
std::unique_ptr<test::SqliteShellHoldingLock> g_lockHolder;
std::unique_ptr<test::ReadOnlyFolder> g_readOnly;

class TrainingLogFaults : public TrainingLogTest, public ::testing::WithParamInterface<Fault>
{
protected:
    void TearDown() override
    {
        g_lockHolder.reset();
        g_readOnly.reset();
    }
};

TEST_P(TrainingLogFaults, openFailsWithOneLineReadExplainsAndNothingIsTouched)
{
    const Fault &fault = GetParam();
    QDir().mkpath(dir);
    const auto [path, expected] = fault.prepare(dir, this->path);
    if (expected.isEmpty())
        GTEST_SKIP() << "this fault cannot be made here";
    const QString folder = QFileInfo(path).absolutePath();
    const auto before = recordFolder(folder);

    QString problem;
    const std::unique_ptr<TrainingLog> log = TrainingLog::open(path, &problem, test::waitingUpTo(300));
    EXPECT_FALSE(log);
    EXPECT_TRUE(problem.contains(expected, Qt::CaseInsensitive)) << problem.toStdString();
    EXPECT_FALSE(problem.contains(QLatin1Char('\n')));

    const LogContents contents = TrainingLog::read(path, test::waitingUpTo(300));
    if (fault.reading == Reading::ReadsRows) {
        EXPECT_TRUE(contents.problem.isEmpty()) << contents.problem.toStdString();
        EXPECT_EQ(contents.entries.size(), 2);
    } else {
        EXPECT_TRUE(contents.entries.isEmpty());
        EXPECT_TRUE(contents.problem.contains(
            fault.reading == Reading::FindsNoLog ? QStringLiteral("no training log yet") : expected, Qt::CaseInsensitive))
            << contents.problem.toStdString();
        EXPECT_TRUE(contents.problem.endsWith(QLatin1Char('.')));
    }

    EXPECT_EQ(recordFolder(folder), before);
}

INSTANTIATE_TEST_SUITE_P(
    , TrainingLogFaults,
    ::testing::Values(
        Fault{"folderReadOnly",
              [](const QString &dir, const QString &path) {
                  g_readOnly = std::make_unique<test::ReadOnlyFolder>(dir);
                  return Prepared{path, QStringLiteral("read-only")};
              },
              Reading::FindsNoLog},
        Fault{"logFileReadOnlyInAWritableFolder",
              [](const QString &, const QString &path) {
                  makeLog(path, 2);
                  ::chmod(QFile::encodeName(path).constData(), 0444);
                  return Prepared{path, QStringLiteral("is read-only")};
              },
              Reading::ReadsRows},
        Fault{"folderMissingAndUncreatable",
              [](const QString &dir, const QString &) {
                  // A file stands where a folder on the way should be.
                  writeFile(dir + QStringLiteral("/blocker"), "not a folder");
                  return Prepared{dir + QStringLiteral("/blocker/Vendrakul/training-log.sqlite"),
                                  QStringLiteral("cannot be created (Not a directory)")};
              },
              Reading::FindsNoLog},
        Fault{"randomBytes",
              [](const QString &, const QString &path) {
                  writeFile(path, randomBytes(8192));
                  return Prepared{path, QStringLiteral("not an SQLite database")};
              }},
        Fault{"textFile",
              [](const QString &, const QString &path) {
                  writeFile(path, "id,answer\n1,12345\n");
                  return Prepared{path, QStringLiteral("not an SQLite database")};
              }},
        Fault{"sqliteHeaderThenGarbage",
              [](const QString &, const QString &path) {
                  writeFile(path, QByteArray("SQLite format 3\0", 16) + randomBytes(4096 - 16));
                  return Prepared{path, QStringLiteral("is damaged")};
              }},
        Fault{"anotherProgramsDatabase",
              [](const QString &, const QString &path) {
                  OtherConnection other(path);
                  other.exec(QStringLiteral("CREATE TABLE contacts (name TEXT)"));
                  other.exec(QStringLiteral("INSERT INTO contacts VALUES ('someone')"));
                  return Prepared{path, QStringLiteral("not a Vendrakul training log")};
              }},
        Fault{"newerSchema",
              [](const QString &, const QString &path) {
                  makeLog(path, 2);
                  OtherConnection other(path);
                  other.exec(QStringLiteral("UPDATE schema_version SET version = 3"));
                  return Prepared{path, QStringLiteral("newer Vendrakul (log version 3; this one knows version 2)")};
              }},
        // Not in WAL mode either: a build that opened it for writing first
        // would convert it before it could see whose it is.
        Fault{"newerSchemaNotInWal",
              [](const QString &, const QString &path) {
                  OtherConnection other(path);
                  other.exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
                  other.exec(QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)"));
                  other.exec(QStringLiteral("INSERT INTO schema_version VALUES (3)"));
                  other.exec(QStringLiteral("CREATE TABLE stages (id INTEGER PRIMARY KEY, started_utc TEXT)"));
                  other.exec(QStringLiteral("INSERT INTO stages VALUES (1, '2027-01-01T00:00:00Z')"));
                  EXPECT_EQ(other.value(QStringLiteral("PRAGMA journal_mode")), QStringLiteral("delete"));
                  return Prepared{path, QStringLiteral("newer Vendrakul (log version 3")};
              }},
        Fault{"lockedByAnotherProgram",
              [](const QString &, const QString &path) {
                  makeLog(path, 2);
                  g_lockHolder = std::make_unique<test::SqliteShellHoldingLock>(path, true);
                  return Prepared{path, QStringLiteral("in use by another program (sqlite3, process")};
              }}),
    [](const ::testing::TestParamInfo<Fault> &info) { return std::string(info.param.name); });

} // namespace
} // namespace vk
