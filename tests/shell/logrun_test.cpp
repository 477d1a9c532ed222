// A run of the program with the training log on, from the start to the end
// of the program: the writer the run owns gets every stage, the one left
// by the program's end too, and has written them when the run is gone.
#include "support/programdriver.h"

#include "shell/application.h"
#include "traininglog/logwriter.h"
#include "traininglog/traininglog.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace vk {
namespace {

class FixedWallClock final : public WallClock
{
public:
    QDateTime nowUtc() const override { return QDateTime(QDate(2026, 12, 10), QTime(8, 30), Qt::UTC); }
};

TEST(RunWithTheLog, everyStageIsWrittenByTheTimeTheProgramHasEnded)
{
    QTemporaryDir tmp;
    const QString path = tmp.path() + QStringLiteral("/training-log.sqlite");
    QStringList told;
    {
        Application::Parts parts;
        parts.screen = std::make_unique<FixedScreenMetrics>(QRect(0, 0, 1280, 800));
        auto clock = std::make_unique<test::FakeDayClock>(36000.0f);
        test::FakeDayClock *dayClock = clock.get();
        parts.clock = std::move(clock);
        parts.random = std::make_unique<Mt19937RandomSource>(11);
        parts.messages = [](const QString &) {};
        parts.wallClock = std::make_unique<FixedWallClock>();
        TrainingLogWriter::Options log;
        log.problems = [&](const QString &line) { told.append(line); };
        parts.stageReports = std::make_unique<TrainingLogWriter>(path, std::move(log));
        Application app(std::move(parts));
        ASSERT_TRUE(app.start());

        const auto startStage = [&] {
            auto *main = app.context().windows.find<MainWindow>(kMainWindowName);
            QTest::mouseClick(&main->startButton(), Qt::LeftButton);
            test::ProgramDriver::settle();
            ExerciseWindow *w = app.context().windows.find<ExerciseWindow>(kExerciseWindowName);
            if (w && w->stage().firstActivation) {
                QEvent activate(QEvent::WindowActivate);
                QCoreApplication::sendEvent(w, &activate);
            }
            return w;
        };
        ExerciseWindow *first = startStage();
        ASSERT_TRUE(first);
        dayClock->advance(12.5f);
        first->finishStage();
        test::ProgramDriver::hoverAndClick(&first->backButtonBox());
        test::ProgramDriver::settle();

        ExerciseWindow *second = startStage();
        ASSERT_TRUE(second);
        dayClock->advance(3.0f);
        // The program ends with this stage running.
    }
    EXPECT_TRUE(told.isEmpty()) << told.join(QLatin1Char('\n')).toStdString();
    const LogContents contents = TrainingLog::read(path);
    ASSERT_TRUE(contents.problem.isEmpty()) << contents.problem.toStdString();
    ASSERT_EQ(contents.entries.size(), 2);
    EXPECT_EQ(contents.entries[0].report.verdict, StageVerdict::Wrong);
    EXPECT_EQ(contents.entries[0].report.secondsUsed, 12.5);
    EXPECT_EQ(contents.entries[0].report.startedUtc, QDateTime(QDate(2026, 12, 10), QTime(8, 30), Qt::UTC));
    EXPECT_EQ(contents.entries[1].report.verdict, StageVerdict::Left);
    EXPECT_EQ(contents.entries[1].report.secondsUsed, 3.0);
}

} // namespace
} // namespace vk
