// A program that keeps the training log until another one kills it.
//
//   traininglog_helper rows PATH TAG COUNT [START]
//       appends test::sampleReport(i, TAG) for i = 0 .. COUNT-1 (COUNT 0:
//       until killed), saying "committed N" once N rows are in; with
//       START, opens the log only once the file START exists, and rests
//       a millisecond after each row as a trainer rests between stages
//       (a copy writing without a pause keeps the lock from the other)
//   traininglog_helper stages PATH COUNT
//       the whole trainer in-process with the log on: COUNT stages
//       finished ("written N" once the N-th row is in), then one more
//       begun and left running ("in stage")
#include "logtestsupport.h"
#include "support/programdriver.h"

#include "traininglog/logwriter.h"
#include "traininglog/traininglog.h"

#include <QApplication>
#include <QCoreApplication>
#include <QThread>

#include <cstdio>
#include <memory>

namespace {

using namespace vk;

int writeRows(const QString &path, const QString &tag, int count, const QString &start)
{
    while (!start.isEmpty() && !QFileInfo::exists(start))
        QThread::usleep(200);
    QString problem;
    const std::unique_ptr<TrainingLog> log = TrainingLog::open(path, &problem);
    if (!log) {
        std::printf("failed: %s\n", qPrintable(problem));
        return 1;
    }
    for (int i = 0; count == 0 || i < count; ++i) {
        if (!log->append(test::sampleReport(i, tag))) {
            std::printf("failed: %s\n", qPrintable(log->problem()));
            return 1;
        }
        std::printf("committed %d\n", i + 1);
        std::fflush(stdout);
        if (!start.isEmpty())
            QThread::usleep(1000);
    }
    return 0;
}

int runStages(const QString &path, int count)
{
    test::ProgramDriver driver(QRect(0, 0, 1280, 800));
    if (!driver.app->start())
        return 1;
    TrainingLogWriter writer(path);
    driver.ctx().stageReports = &writer;
    for (int i = 0; i < count; ++i) {
        driver.clickStart();
        ExerciseWindow *w = driver.stage();
        if (!w)
            return 1;
        QTest::keyClicks(w->answerGrid().editor(), QString::number(i + 1));
        driver.clock->advance(30.0f + i);
        w->finishStage();
        writer.waitUntilIdle();
        std::printf("written %d\n", writer.rowsWritten());
        std::fflush(stdout);
        driver.clickBack();
    }
    driver.clickStart();
    if (ExerciseWindow *w = driver.stage())
        QTest::keyClicks(w->answerGrid().editor(), QStringLiteral("77"));
    driver.clock->advance(12.0f);
    std::printf("in stage\n");
    std::fflush(stdout);
    for (;;) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
}

} // namespace

int main(int argc, char **argv)
{
    const QStringList args = [&] {
        QStringList list;
        for (int i = 1; i < argc; ++i)
            list.append(QString::fromLocal8Bit(argv[i]));
        return list;
    }();
    if ((args.size() == 4 || args.size() == 5) && args[0] == QLatin1String("rows")) {
        QCoreApplication app(argc, argv);
        return writeRows(args[1], args[2], args[3].toInt(), args.value(4));
    }
    if (args.size() == 3 && args[0] == QLatin1String("stages")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return runStages(args[1], args[2].toInt());
    }
    std::fprintf(stderr, "usage: traininglog_helper rows PATH TAG COUNT | stages PATH COUNT\n");
    return 2;
}
