// A program that keeps the training log, as another copy of the trainer
// would, until it is done or killed.
//
//   traininglog_helper rows PATH TAG COUNT [--start FILE] [--pause-at STEP --until FILE] [--timeout MS]
//       opens the log and appends test::sampleReport(i, TAG) for
//       i = 0 .. COUNT-1 (COUNT 0: until killed), saying "committed N"
//       once N rows are in. It says "waiting" whenever it finds the log
//       locked and starts to wait. --start: opens the log only once FILE
//       exists, and rests a millisecond after each row as a trainer rests
//       between stages (a copy writing without a pause keeps the lock
//       from the other). --pause-at new-log-built | setting-up |
//       migrating: stops at that step of opening, says "at STEP", and
//       goes on once FILE exists. --timeout: how long it waits for a lock (5000 ms).
//   traininglog_helper stages PATH COUNT [--no-wait] [--xcb]
//       the whole trainer in-process with the log on: COUNT stages
//       finished ("written N" once the N-th row is in; with --no-wait
//       "finished N" at once, its row still queued), then one more begun
//       and left running ("in stage") in the program's own event loop, as
//       the trainer runs until its end. --xcb: on the X display $DISPLAY
//       instead of offscreen.
#include "logtestsupport.h"
#include "support/programdriver.h"

#include "traininglog/logwriter.h"
#include "traininglog/traininglog.h"

#include <QApplication>
#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

using namespace vk;

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

void waitForFile(const QString &file)
{
    while (!QFileInfo::exists(file))
        QThread::usleep(200);
}

struct RowsOptions {
    QString start;
    QString pauseAt;
    QString until;
    int timeoutMs = LockPolicy{}.timeoutMs;
};

QString stepName(OpenStep step)
{
    switch (step) {
    case OpenStep::NewLogBuilt:
        return QStringLiteral("new-log-built");
    case OpenStep::SettingUp:
        return QStringLiteral("setting-up");
    case OpenStep::Migrating:
        return QStringLiteral("migrating");
    }
    return QString();
}

int writeRows(const QString &path, const QString &tag, int count, const RowsOptions &options)
{
    if (!options.start.isEmpty())
        waitForFile(options.start);
    LockPolicy policy;
    policy.timeoutMs = options.timeoutMs;
    policy.waitBegins = [] { say(QStringLiteral("waiting")); };
    policy.stepReached = [&](OpenStep step) {
        if (stepName(step) != options.pauseAt)
            return;
        say(QStringLiteral("at ") + options.pauseAt);
        waitForFile(options.until);
    };
    QString problem;
    const std::unique_ptr<TrainingLog> log = TrainingLog::open(path, &problem, policy);
    if (!log) {
        say(QStringLiteral("failed: ") + problem);
        return 1;
    }
    for (int i = 0; count == 0 || i < count; ++i) {
        if (!log->append(test::sampleReport(i, tag))) {
            say(QStringLiteral("failed: ") + log->problem());
            return 1;
        }
        say(QStringLiteral("committed %1").arg(i + 1));
        if (!options.start.isEmpty())
            QThread::usleep(1000);
    }
    return 0;
}

int runStages(const QString &path, int count, bool waitForRows)
{
    test::ProgramDriver driver(QRect(0, 0, 1280, 800), {}, std::make_unique<TrainingLogWriter>(path));
    if (!driver.app->start())
        return 1;
    auto *writer = static_cast<TrainingLogWriter *>(driver.ctx().stageReports);
    for (int i = 0; i < count; ++i) {
        driver.clickStart();
        ExerciseWindow *w = driver.stage();
        if (!w)
            return 1;
        QTest::keyClicks(w->answerGrid().editor(), QString::number(i + 1));
        driver.clock->advance(30.0f + i);
        w->finishStage();
        if (waitForRows) {
            writer->waitUntilIdle();
            say(QStringLiteral("written %1").arg(writer->rowsWritten()));
        } else {
            say(QStringLiteral("finished %1").arg(i + 1));
        }
        driver.clickBack();
    }
    driver.clickStart();
    if (ExerciseWindow *w = driver.stage())
        QTest::keyClicks(w->answerGrid().editor(), QStringLiteral("77"));
    driver.clock->advance(12.0f);
    // Said from inside the program's event loop, where it ends as it ends.
    QTimer::singleShot(0, [] { say(QStringLiteral("in stage")); });
    const int status = driver.app->exec();
    driver.shutDown();
    return status;
}

int usage()
{
    std::fprintf(stderr, "usage: traininglog_helper rows PATH TAG COUNT [--start FILE] [--pause-at STEP --until FILE]"
                         " [--timeout MS] | stages PATH COUNT [--no-wait] [--xcb]\n");
    return 2;
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
    if (args.size() >= 4 && args[0] == QLatin1String("rows")) {
        QCoreApplication app(argc, argv);
        RowsOptions options;
        for (qsizetype i = 4; i + 1 < args.size(); i += 2) {
            const QString &value = args[i + 1];
            if (args[i] == QLatin1String("--start"))
                options.start = value;
            else if (args[i] == QLatin1String("--pause-at"))
                options.pauseAt = value;
            else if (args[i] == QLatin1String("--until"))
                options.until = value;
            else if (args[i] == QLatin1String("--timeout"))
                options.timeoutMs = value.toInt();
            else
                return usage();
        }
        return writeRows(args[1], args[2], args[3].toInt(), options);
    }
    if (args.size() >= 3 && args[0] == QLatin1String("stages")) {
        const QStringList options = args.mid(3);
        qputenv("QT_QPA_PLATFORM", options.contains(QLatin1String("--xcb")) ? "xcb" : "offscreen");
        QApplication app(argc, argv);
        return runStages(args[1], args[2].toInt(), !options.contains(QLatin1String("--no-wait")));
    }
    return usage();
}
