// The training log: one row written durably on the disk the build lives
// on, and the finish of a stage (Enter, Yes, the reveal painted) with and
// without the log, which must not make the reveal any slower.
#include "qtbenchmain.h"
#include "platform/dayclock.h"
#include "platform/form.h"
#include "platform/randomsource.h"
#include "platform/screenmetrics.h"
#include "skin/appcontext.h"
#include "skin/skintemplate.h"
#include "traininglog/logwriter.h"
#include "traininglog/traininglog.h"
#include "ui/exercise/exercisewindow.h"
#include "grid/flexgrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <linux/magic.h>
#include <sys/statfs.h>

#include <memory>

namespace {

using namespace vk;

// A folder for the log beside the benchmark, that is in the build folder:
// the real disk, not a tmpfs where syncing costs nothing.
QString benchFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/traininglog-bench-XXXXXX");
}

QString filesystemOf(const QString &dir)
{
    struct statfs fs{};
    if (::statfs(QFile::encodeName(dir).constData(), &fs) != 0)
        return QStringLiteral("unknown");
    switch (fs.f_type) {
    case TMPFS_MAGIC:
        return QStringLiteral("tmpfs");
    case EXT4_SUPER_MAGIC:
        return QStringLiteral("ext4");
    case BTRFS_SUPER_MAGIC:
        return QStringLiteral("btrfs");
    case XFS_SUPER_MAGIC:
        return QStringLiteral("xfs");
    case OVERLAYFS_SUPER_MAGIC:
        return QStringLiteral("overlay");
    default:
        return QStringLiteral("0x%1").arg(static_cast<qulonglong>(fs.f_type), 0, 16);
    }
}

StageReport report(int i)
{
    StageReport r;
    r.startedUtc = QDateTime(QDate(2026, 12, 10), QTime(9, 0), Qt::UTC).addSecs(i);
    r.secondsUsed = 321.45;
    r.factor1 = QStringLiteral("12345678901234567890");
    r.factor2 = QStringLiteral("98765432109876543210");
    r.answer = QStringLiteral("1219326311370217952237463801111263526900");
    r.product = r.answer;
    r.digitsMatched = 40;
    r.verdict = StageVerdict::Correct;
    return r;
}

// One row in its own transaction, synced (synchronous FULL, WAL), as each
// stage's end writes it. Wall time: the sync waits for the disk.
void BM_appendOneRowDurable(benchmark::State &state)
{
    QTemporaryDir dir(benchFolder());
    const QString fs = filesystemOf(dir.path());
    if (fs == QLatin1String("tmpfs")) {
        state.SkipWithError("the build folder is on a tmpfs: syncing would cost nothing");
        return;
    }
    QString problem;
    const std::unique_ptr<TrainingLog> log = TrainingLog::open(dir.path() + QStringLiteral("/training-log.sqlite"), &problem);
    if (!log) {
        state.SkipWithError(qPrintable(problem));
        return;
    }
    int i = 0;
    for (auto _ : state) {
        if (!log->append(report(i++))) {
            state.SkipWithError(qPrintable(log->problem()));
            break;
        }
    }
    state.SetLabel(fs.toStdString());
}
BENCHMARK(BM_appendOneRowDurable)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

class BenchDayClock final : public DayClock
{
public:
    float secondsSinceMidnight() const override { return m_seconds; }
    void advance(float s) { m_seconds += s; }

private:
    float m_seconds = 36000.0f;
};

// Answers the finish question Yes as soon as it is shown, and counts the
// paints of the answer grid.
class Responder final : public QObject
{
public:
    QWidget *grid = nullptr;
    int gridPaints = 0;

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Show) {
            if (auto *box = qobject_cast<QMessageBox *>(o)) {
                QTimer::singleShot(0, box, [box] {
                    for (QAbstractButton *b : box->buttons())
                        if (b->text() == QLatin1String("Yes"))
                            b->click();
                });
            }
        } else if (e->type() == QEvent::Paint && grid && (o == grid || o->parent() == grid)) {
            ++gridPaints;
        }
        return false;
    }
};

// Enter on the sheet, Yes in the question, and the events run until the
// revealed product has been painted. Argument 1: the run keeps the log.
void BM_finishToRevealPainted(benchmark::State &state)
{
    const bool withLog = state.range(0) != 0;
    QTemporaryDir dir(benchFolder());
    std::unique_ptr<TrainingLogWriter> writer;
    if (withLog)
        writer = std::make_unique<TrainingLogWriter>(dir.path() + QStringLiteral("/training-log.sqlite"));

    const SkinTemplate skin;
    BenchDayClock clock;
    Mt19937RandomSource random(7);
    const FixedScreenMetrics screen(QRect(0, 0, 1280, 800));
    AppContext ctx(skin, clock, random, screen);
    ctx.stageReports = writer.get();
    ctx.windows.define(kExerciseWindowName, [&ctx] { return new ExerciseWindow(ctx); });
    Form owner(QStringLiteral("owner"), screen);
    owner.setGeometry(0, 0, 1280, 800);
    owner.show();
    Responder responder;
    qApp->installEventFilter(&responder);
    QCoreApplication::processEvents();

    for (auto _ : state) {
        state.PauseTiming();
        auto *w = ctx.windows.get<ExerciseWindow>(kExerciseWindowName);
        w->showInside(&owner, QRect(0, 25, 1280, 775));
        if (w->stage().firstActivation)
            emit w->activated();
        w->activateWindow();
        QCoreApplication::processEvents();
        for (const char digit : {'4', '0', '6', '1', '3'})
            QTest::keyClick(w->answerGrid().editor(), digit);
        clock.advance(61.0f);
        QCoreApplication::processEvents();
        responder.grid = &w->answerGrid();
        responder.gridPaints = 0;
        state.ResumeTiming();

        QTest::keyClick(w->answerGrid().editor(), Qt::Key_Return);
        while (responder.gridPaints == 0 && w->stage().stageRunning == false) {
            QCoreApplication::processEvents();
            if (responder.gridPaints == 0)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }

        state.PauseTiming();
        if (w->stage().stageRunning)
            state.SkipWithError("the question was not answered Yes");
        responder.grid = nullptr;
        ctx.windows.unload(w);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    qApp->removeEventFilter(&responder);
    if (writer) {
        writer->waitUntilIdle();
        state.counters["rows_written"] = writer->rowsWritten();
    }
}
BENCHMARK(BM_finishToRevealPainted)->ArgName("log")->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return vkbench::runInApplication(argc, argv);
}
