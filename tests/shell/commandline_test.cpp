#include "shell/commandline.h"

#include "traininglog/traininglog.h"
#include "../traininglog/logtestsupport.h"
#include "../traininglog/otherconnection.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace vk {
namespace {

struct ParseCase {
    const char *name;
    QStringList arguments;
    RunMode mode;
    bool keepLog = false;
    QString exportFile = {};
    QString error = {}; // part of the usage error
    int factorDigits = 0;
};

class CommandLineCases : public ::testing::TestWithParam<ParseCase>
{};

TEST_P(CommandLineCases, argumentsChooseTheModeAndQtKeepsItsOwn)
{
    const ParseCase &c = GetParam();
    const CommandLine parsed = parseCommandLine(c.arguments);
    EXPECT_EQ(parsed.mode, c.mode);
    EXPECT_EQ(parsed.keepLog, c.keepLog);
    EXPECT_EQ(parsed.exportFile, c.exportFile);
    EXPECT_EQ(parsed.factorDigits, c.factorDigits);
    EXPECT_TRUE(parsed.error.contains(c.error)) << parsed.error.toStdString();
    EXPECT_EQ(parsed.error.isEmpty(), c.error.isEmpty());
    EXPECT_EQ(needsDisplay(parsed), c.mode == RunMode::Trainer || c.mode == RunMode::Progress);
}

using L = QStringList;
INSTANTIATE_TEST_SUITE_P(
    , CommandLineCases,
    ::testing::Values(
        ParseCase{"nothing", L{}, RunMode::Trainer},
        ParseCase{"log", L{"--log"}, RunMode::Trainer, true},
        ParseCase{"logWithQtOptions", L{"-platform", "offscreen", "--log", "-style=fusion", "-reverse"}, RunMode::Trainer, true},
        ParseCase{"qtOptionsWithTwoDashes", L{"--platform", "xcb", "--display", ":3"}, RunMode::Trainer},
        ParseCase{"progress", L{"--progress", "-platform", "offscreen"}, RunMode::Progress},
        ParseCase{"export", L{"--export-log", "out.csv"}, RunMode::ExportLog, false, "out.csv"},
        ParseCase{"exportWithEquals", L{"--export-log=my log.csv"}, RunMode::ExportLog, false, "my log.csv"},
        ParseCase{"help", L{"--help"}, RunMode::Help},
        ParseCase{"shortHelp", L{"-h"}, RunMode::Help},
        ParseCase{"helpWinsOverAMode", L{"--progress", "--help"}, RunMode::Help},
        ParseCase{"version", L{"--version"}, RunMode::Version},
        ParseCase{"unknownOption", L{"--log", "--bogus"}, RunMode::UsageError, false, {}, "unknown option --bogus"},
        ParseCase{"unknownSingleDash", L{"-x"}, RunMode::UsageError, false, {}, "unknown option -x"},
        ParseCase{"strayArgument", L{"stage.csv"}, RunMode::UsageError, false, {}, "unexpected argument stage.csv"},
        ParseCase{"exportWithoutFile", L{"--export-log"}, RunMode::UsageError, false, {}, "--export-log needs"},
        ParseCase{"qtOptionWithoutValue", L{"-platform"}, RunMode::UsageError, false, {}, "-platform needs a value"},
        ParseCase{"twoModes", L{"--progress", "--export-log", "a.csv"}, RunMode::UsageError, false, {},
                  "--progress and --export-log cannot be used together"},
        ParseCase{"exportToStandardOutput", L{"--export-log", "-"}, RunMode::ExportLog, false, "-"},
        ParseCase{"logWithProgress", L{"--log", "--progress"}, RunMode::UsageError, false, {},
                  "--log and --progress cannot be used together"},
        ParseCase{"logWithExport", L{"--export-log=a.csv", "--log"}, RunMode::UsageError, false, {},
                  "--log and --export-log cannot be used together"},
        ParseCase{"digits", L{"--digits", "8"}, RunMode::Trainer, false, {}, {}, 8},
        ParseCase{"digitsWithEqualsAndLog", L{"--log", "--digits=2"}, RunMode::Trainer, true, {}, {}, 2},
        ParseCase{"digitsTwenty", L{"--digits", "20"}, RunMode::Trainer, false, {}, {}, 20},
        ParseCase{"digitsTooFew", L{"--digits", "1"}, RunMode::UsageError, false, {}, "--digits needs a number from 2 to 20"},
        ParseCase{"digitsTooMany", L{"--digits=21"}, RunMode::UsageError, false, {}, "--digits needs a number"},
        ParseCase{"digitsNotANumber", L{"--digits", "eight"}, RunMode::UsageError, false, {}, "--digits needs a number"},
        ParseCase{"digitsMissing", L{"--digits"}, RunMode::UsageError, false, {}, "--digits needs a number"},
        ParseCase{"digitsWithProgress", L{"--digits", "8", "--progress"}, RunMode::UsageError, false, {},
                  "--digits and --progress cannot be used together"},
        ParseCase{"unknownEvenWithHelp", L{"--help", "--frobnicate"}, RunMode::UsageError, false, {},
                  "unknown option --frobnicate"}),
    [](const ::testing::TestParamInfo<ParseCase> &info) { return std::string(info.param.name); });

struct Outcome {
    int status;
    QString out;
    QString err;
};

Outcome runWithoutDisplay(const QStringList &arguments, const QString &logPath)
{
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const int status = vk::runWithoutDisplay(parseCommandLine(arguments), logPath, outStream, errStream);
    return {status, out, err};
}

TEST(ExportLog, writesTheLogAsCsvOrSaysWhyNotWithStatusOne)
{
    QTemporaryDir tmp;
    const QString log = tmp.path() + QStringLiteral("/training-log.sqlite");
    const QString csv = tmp.path() + QStringLiteral("/out.csv");

    Outcome noLog = runWithoutDisplay({QStringLiteral("--export-log"), csv}, log);
    EXPECT_EQ(noLog.status, 1);
    EXPECT_TRUE(noLog.err.contains(QStringLiteral("no training log yet"))) << noLog.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(csv));
    EXPECT_FALSE(QFileInfo::exists(log)) << "exporting creates no log";

    {
        QString problem;
        const auto writer = TrainingLog::open(log, &problem);
        ASSERT_TRUE(writer) << problem.toStdString();
        ASSERT_TRUE(writer->append(test::sampleReport(4)));
        ASSERT_TRUE(writer->append(test::sampleReport(5)));
    }
    Outcome unwritable = runWithoutDisplay({QStringLiteral("--export-log"), tmp.path() + QStringLiteral("/no/such/folder.csv")}, log);
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_TRUE(unwritable.err.contains(QStringLiteral("cannot be written"))) << unwritable.err.toStdString();

    Outcome done = runWithoutDisplay({QStringLiteral("--export-log"), csv}, log);
    EXPECT_EQ(done.status, 0) << done.err.toStdString();
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_EQ(lines.size(), 4) << "header, two rows, and the end of the last line";
    EXPECT_TRUE(lines[0].startsWith("id,started_utc,"));
    EXPECT_TRUE(lines[2].endsWith(",left,7\r")) << lines[2].toStdString();
}

// The real program, with no display at all: these modes must not need one.
class ProgramWithoutDisplay : public ::testing::Test
{
protected:
    // Runs the program; `stdoutFile`, when given, is its standard output,
    // opened to append to as a shell's >> does.
    Outcome run(const QStringList &arguments, const QString &stdoutFile = {})
    {
        QProcess p;
        if (!stdoutFile.isEmpty())
            p.setStandardOutputFile(stdoutFile, QIODevice::Append);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("XDG_DATA_HOME"), tmp.path());
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(VK_PROGRAM), arguments);
        EXPECT_TRUE(p.waitForFinished(20000));
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }
    QTemporaryDir tmp;
    QString logPath = tmp.path() + QStringLiteral("/Vendrakul/training-log.sqlite");
};

TEST_F(ProgramWithoutDisplay, helpVersionExportAndUsageErrors)
{
    const Outcome help = run({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: vendrakul"))) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains(tmp.path() + QStringLiteral("/Vendrakul/training-log.sqlite")));
    EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();

    const Outcome version = run({QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, QStringLiteral("vendrakul %1\n").arg(QStringLiteral(VK_VERSION)));

    const Outcome wrong = run({QStringLiteral("--lgo")});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_TRUE(wrong.out.isEmpty());
    EXPECT_TRUE(wrong.err.startsWith(QStringLiteral("vendrakul: unknown option --lgo\nUsage: vendrakul"))) << wrong.err.toStdString();

    const QString csv = tmp.path() + QStringLiteral("/log.csv");
    const Outcome noLog = run({QStringLiteral("--export-log"), csv});
    EXPECT_EQ(noLog.status, 1);
    EXPECT_TRUE(noLog.err.contains(QStringLiteral("no training log yet"))) << noLog.err.toStdString();

    {
        const auto writer = TrainingLog::open(tmp.path() + QStringLiteral("/Vendrakul/training-log.sqlite"), nullptr);
        ASSERT_TRUE(writer);
        ASSERT_TRUE(writer->append(test::sampleReport(1)));
    }
    const Outcome exported = run({QStringLiteral("--export-log"), csv});
    EXPECT_EQ(exported.status, 0) << exported.err.toStdString();
    EXPECT_TRUE(QFileInfo(csv).size() > 0);
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The export writes where it is told and only there: standard output, a
// device, a FIFO are written in place and stay what they were; a write
// that fails is a failure; rows that cannot be read are counted.
TEST_F(ProgramWithoutDisplay, theExportWritesInPlaceWhatIsNotAFileToReplace)
{
    {
        const auto writer = TrainingLog::open(logPath, nullptr);
        ASSERT_TRUE(writer);
        ASSERT_TRUE(writer->append(test::sampleReport(1)));
        ASSERT_TRUE(writer->append(test::sampleReport(2)));
    }
    const QString regular = tmp.path() + QStringLiteral("/log.csv");
    ASSERT_EQ(run({QStringLiteral("--export-log"), regular}).status, 0);
    const QByteArray csv = readAll(regular);
    ASSERT_TRUE(csv.startsWith("id,started_utc,") && csv.endsWith(",left,4\r\n")) << csv.toStdString();

    const Outcome dash = run({QStringLiteral("--export-log"), QStringLiteral("-")});
    EXPECT_EQ(dash.status, 0) << dash.err.toStdString();
    EXPECT_EQ(dash.out.toUtf8(), csv) << "standard output holds the CSV and nothing else";
    EXPECT_EQ(dash.err, QStringLiteral("vendrakul: 2 stages written to standard output\n"));

    // /dev/stdout when the shell appends standard output to a file: the
    // file is written through, not replaced, and keeps what it had.
    const QString appended = tmp.path() + QStringLiteral("/appended.csv");
    QFile kept(appended);
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("kept\n");
    kept.close();
    struct stat before{};
    ASSERT_EQ(::stat(QFile::encodeName(appended).constData(), &before), 0);
    const Outcome devStdout = run({QStringLiteral("--export-log"), QStringLiteral("/dev/stdout")}, appended);
    EXPECT_EQ(devStdout.status, 0) << devStdout.err.toStdString();
    EXPECT_EQ(readAll(appended), "kept\n" + csv);
    struct stat after{};
    ASSERT_EQ(::stat(QFile::encodeName(appended).constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the same file, not one put in its place";
    EXPECT_TRUE(devStdout.err.contains(QStringLiteral("2 stages written to /dev/stdout")));

    // A full device: the write fails, the program says so, the device stays.
    const Outcome full = run({QStringLiteral("--export-log"), QStringLiteral("/dev/full")});
    EXPECT_EQ(full.status, 1);
    EXPECT_TRUE(full.err.contains(QStringLiteral("/dev/full cannot be written (No space left on device)")))
        << full.err.toStdString();
    EXPECT_TRUE(full.out.isEmpty()) << full.out.toStdString();
    struct stat device{};
    ASSERT_EQ(::stat("/dev/full", &device), 0);
    EXPECT_TRUE(S_ISCHR(device.st_mode)) << "/dev/full is still a device";

    // A FIFO: a reader gets the CSV, and it is still a FIFO afterwards.
    const QString fifo = tmp.path() + QStringLiteral("/pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QProcess reader;
    reader.start(QStringLiteral("cat"), {fifo});
    ASSERT_TRUE(reader.waitForStarted(10000));
    EXPECT_EQ(run({QStringLiteral("--export-log"), fifo}).status, 0);
    ASSERT_TRUE(reader.waitForFinished(20000));
    EXPECT_EQ(reader.readAllStandardOutput(), csv);
    struct stat pipe{};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &pipe), 0);
    EXPECT_TRUE(S_ISFIFO(pipe.st_mode));
}

TEST_F(ProgramWithoutDisplay, theExportCountsTheRowsItCouldNotRead)
{
    {
        const auto writer = TrainingLog::open(logPath, nullptr);
        ASSERT_TRUE(writer);
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(writer->append(test::sampleReport(i)));
    }
    {
        test::OtherConnection other(logPath);
        other.exec(QStringLiteral("UPDATE stages SET started_utc = 'yesterday' WHERE id = 2"));
    }
    const QString csv = tmp.path() + QStringLiteral("/log.csv");
    const Outcome exported = run({QStringLiteral("--export-log"), csv});
    EXPECT_EQ(exported.status, 0);
    EXPECT_EQ(readAll(csv).count('\n'), 3) << "the header and the two sound rows";
    EXPECT_TRUE(exported.err.contains(QStringLiteral(
        "vendrakul: 1 row of the training log could not be read and was left out (row 2: its start time "
        "\"yesterday\" is not a date and time).")))
        << exported.err.toStdString();
    EXPECT_EQ(exported.out, QStringLiteral("vendrakul: 2 stages written to %1\n").arg(csv));
}

} // namespace
} // namespace vk
