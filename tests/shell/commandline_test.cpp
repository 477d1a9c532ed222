#include "shell/commandline.h"

#include "traininglog/traininglog.h"
#include "../traininglog/logtestsupport.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

namespace vk {
namespace {

struct ParseCase {
    const char *name;
    QStringList arguments;
    RunMode mode;
    bool keepLog = false;
    QString exportFile = {};
    QString error = {}; // part of the usage error
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
    EXPECT_TRUE(lines[2].endsWith(",left\r")) << lines[2].toStdString();
}

// The real program, with no display at all: these modes must not need one.
class ProgramWithoutDisplay : public ::testing::Test
{
protected:
    Outcome run(const QStringList &arguments)
    {
        QProcess p;
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

} // namespace
} // namespace vk
