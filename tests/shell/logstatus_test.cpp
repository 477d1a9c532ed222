// The start screen's line about the training log: how many stages the log
// holds while all is well, and why not when it is off or held by another
// program; nothing at all in a run without a log.
#include "support/programdriver.h"

#include "../traininglog/sqliteshell.h"
#include "shell/logstatusrelay.h"
#include "skin/palette.h"
#include "traininglog/logwriter.h"
#include "ui/main/logstatusline.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace vk {
namespace {

// The whole program with its log at `path`, started.
class LoggedRun
{
public:
    explicit LoggedRun(const QString &path)
    {
        auto relay = std::make_unique<LogStatusRelay>();
        TrainingLogWriter::Options options;
        options.problems = [this](const QString &line) { told.append(line); };
        options.status = [relay = relay.get()](const LogStatus &now) { relay->post(now); };
        options.lockPolicy.timeoutMs = 100;
        options.firstRetryMs = 20;
        options.longestRetryMs = 100;
        program = std::make_unique<test::ProgramDriver>(QRect(0, 0, 1280, 800), QRect(),
                                                        std::make_unique<TrainingLogWriter>(path, std::move(options)),
                                                        std::move(relay));
        EXPECT_TRUE(program->app->start());
    }

    const QLabel *line() const
    {
        return program->main()->findChild<QLabel *>(QLatin1String(LogStatusLine::kObjectName));
    }
    // Waits (generously) for the line to read `text` from its start.
    bool reads(const QString &text)
    {
        for (int i = 0; i < 600 && !(line() && line()->text().startsWith(text)); ++i)
            QTest::qWait(50);
        return line() && line()->text().startsWith(text);
    }
    QColor colour() const { return line()->palette().color(QPalette::WindowText); }

    void finishAStage()
    {
        program->clickStart();
        if (ExerciseWindow *w = program->stage())
            w->finishStage();
        program->clickBack();
    }

    QStringList told;
    std::unique_ptr<test::ProgramDriver> program;
};

TEST(LogStatusLine, countsTheStagesTheLogHolds)
{
    QTemporaryDir tmp;
    LoggedRun run(tmp.path() + QStringLiteral("/training-log.sqlite"));
    ASSERT_TRUE(run.reads(QStringLiteral("Training log on: 0 stages kept.")));
    EXPECT_EQ(run.colour(), palette::kNavy);
    EXPECT_TRUE(run.line()->isVisible());
    // Under the settings panel, as wide as it, inside the window's body.
    const QWidget &panel = run.program->main()->settingsPanel();
    EXPECT_GE(run.line()->geometry().top(), panel.geometry().bottom());
    EXPECT_EQ(run.line()->geometry().left(), panel.geometry().left());
    EXPECT_EQ(run.line()->width(), panel.width());
    EXPECT_LT(run.line()->geometry().bottom(), run.program->main()->height() - 14);

    run.finishAStage();
    EXPECT_TRUE(run.reads(QStringLiteral("Training log on: 1 stage kept.")));

    // While a stage runs, and after its finish, the stage covers the line,
    // and BACK (at the bottom then) takes its click.
    run.program->clickStart();
    ExerciseWindow *stage = run.program->stage();
    ASSERT_TRUE(stage);
    stage->finishStage();
    ASSERT_TRUE(run.reads(QStringLiteral("Training log on: 2 stages kept.")));
    QWidget &back = stage->backButtonBox();
    const QPoint backCentre = back.mapTo(run.program->main(), back.rect().center());
    EXPECT_EQ(run.program->main()->childAt(backCentre), &back) << "what is under BACK's centre";
    run.program->clickBack();
    EXPECT_FALSE(run.program->stage());
    run.finishAStage();
    EXPECT_TRUE(run.reads(QStringLiteral("Training log on: 3 stages kept.")));
    EXPECT_TRUE(run.told.isEmpty()) << run.told.join(QLatin1Char('\n')).toStdString();
}

// A user who starts the trainer from the desktop never sees standard error:
// the window says why the log is off.
TEST(LogStatusLine, saysWhyTheLogIsOff)
{
    QTemporaryDir tmp;
    const QString path = tmp.path() + QStringLiteral("/training-log.sqlite");
    QFile notes(path);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("somebody's notes\n");
    notes.close();
    LoggedRun run(path);
    ASSERT_TRUE(run.reads(QStringLiteral("The training log is off: ")));
    EXPECT_TRUE(run.line()->text().contains(QStringLiteral("is not a training log"))) << run.line()->text().toStdString();
    EXPECT_EQ(run.colour(), palette::kCaptionRed);
}

TEST(LogStatusLine, saysWhenStagesWaitForAnotherProgram)
{
    QTemporaryDir tmp;
    const QString path = tmp.path() + QStringLiteral("/training-log.sqlite");
    LoggedRun run(path);
    ASSERT_TRUE(run.reads(QStringLiteral("Training log on: 0 stages kept.")));
    test::SqliteShellHoldingLock shell(path);
    run.finishAStage();
    ASSERT_TRUE(run.reads(QStringLiteral("Training log on: 1 stage waits to be written once the log is free.")));
    EXPECT_TRUE(run.line()->text().contains(QStringLiteral("another program (sqlite3"))) << run.line()->text().toStdString();
    EXPECT_EQ(run.colour(), palette::kCaptionRed);
    shell.release();
    EXPECT_TRUE(run.reads(QStringLiteral("Training log on: 1 stage kept.")));
    EXPECT_EQ(run.colour(), palette::kNavy);
}

TEST(LogStatusLine, aRunWithoutALogHasNone)
{
    test::ProgramDriver program(QRect(0, 0, 1280, 800));
    ASSERT_TRUE(program.app->start());
    EXPECT_EQ(program.main()->findChild<QLabel *>(QLatin1String(LogStatusLine::kObjectName)), nullptr);
}

} // namespace
} // namespace vk
