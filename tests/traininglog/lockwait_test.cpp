// A row meets another program's write lock: it waits, and is written once
// the lock goes.
#include "logtestsupport.h"
#include "sqliteshell.h"

#include "traininglog/traininglog.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace vk {
namespace {

using namespace std::chrono_literals;

TEST(LockWait, aRowWaitsForAnotherProgramsWriteAndIsWrittenWhenItEnds)
{
    QTemporaryDir tmp;
    const QString path = tmp.path() + QStringLiteral("/training-log.sqlite");
    std::promise<void> opened;
    std::promise<void> holding;
    std::promise<void> waiting;
    bool appended = false;
    QString problem;
    // The log's connection belongs to the thread that opens it.
    std::thread writer([&] {
        LockPolicy policy;
        policy.timeoutMs = 60000;
        bool told = false;
        policy.waitBegins = [&] {
            if (!std::exchange(told, true))
                waiting.set_value();
        };
        const std::unique_ptr<TrainingLog> log = TrainingLog::open(path, &problem, policy);
        opened.set_value();
        if (!log)
            return;
        holding.get_future().wait();
        appended = log->append(test::sampleReport(0));
        problem = log->problem();
    });
    opened.get_future().wait();
    {
        test::SqliteShellHoldingLock shell(path);
        holding.set_value();
        EXPECT_EQ(waiting.get_future().wait_for(60s), std::future_status::ready) << "the row met the lock";
    }
    writer.join();
    EXPECT_TRUE(appended) << problem.toStdString();
    EXPECT_EQ(TrainingLog::read(path).entries.size(), 1);
}

} // namespace
} // namespace vk
