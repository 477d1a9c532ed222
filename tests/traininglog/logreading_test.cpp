// Rows changed by hand or by another program: each one that cannot be read
// is left out and counted, and the rest of the log is read as written.
#include "logtestsupport.h"
#include "otherconnection.h"

#include "traininglog/traininglog.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vk {
namespace {

using test::sampleReport;
using test::sameReport;

struct BadValue {
    const char *column;
    const char *value;
    const char *reason; // in the sentence that counts the rows left out
};

const BadValue kBadValues[] = {
    {"started_utc", "'garbage'", "its start time \"garbage\" is not a date and time"},
    {"seconds_used", "'abc'", "its seconds used \"abc\" are not a time"},
    {"digits_matched", "99", "its digits matched \"99\" are not a count of the product's digits"},
    {"verdict", "'maybe'", "its verdict \"maybe\" is not one Vendrakul writes"},
    {"factor_digits", "0", "its factor length \"0\" is not one Vendrakul plays"},
    {"matched_columns", "'10'", "its matched columns \"10\" do not fit its product"},
};

class LogReading : public ::testing::Test
{
protected:
    // A log of `rows` rows with `bad` written into row `id`.
    void makeLogWith(int rows, const std::vector<std::pair<int, BadValue>> &bad)
    {
        {
            QString problem;
            const std::unique_ptr<TrainingLog> log = TrainingLog::open(path, &problem);
            ASSERT_TRUE(log) << problem.toStdString();
            for (int i = 0; i < rows; ++i)
                ASSERT_TRUE(log->append(sampleReport(i)));
        }
        test::OtherConnection other(path);
        other.exec(QStringLiteral("PRAGMA ignore_check_constraints = ON"));
        for (const auto &[id, value] : bad)
            other.exec(QStringLiteral("UPDATE stages SET %1 = %2 WHERE id = %3")
                           .arg(QLatin1String(value.column), QLatin1String(value.value))
                           .arg(id));
    }

    QTemporaryDir tmp;
    QString path = tmp.path() + QStringLiteral("/training-log.sqlite");
};

TEST_F(LogReading, aRowThatCannotBeReadIsLeftOutAndTheRestIsRead)
{
    for (const BadValue &bad : kBadValues) {
        SCOPED_TRACE(bad.column);
        QFile::remove(path);
        makeLogWith(3, {{2, bad}});
        const LogContents contents = TrainingLog::read(path);
        EXPECT_TRUE(contents.problem.isEmpty()) << contents.problem.toStdString();
        ASSERT_EQ(contents.entries.size(), 2);
        EXPECT_TRUE(sameReport(contents.entries[0].report, sampleReport(0)));
        EXPECT_TRUE(sameReport(contents.entries[1].report, sampleReport(2)));
        EXPECT_EQ(contents.unreadableRows, 1);
        EXPECT_EQ(contents.unreadable,
                  QStringLiteral("1 row of the training log could not be read and was left out (row 2: %1).")
                      .arg(QString::fromUtf8(bad.reason)));
    }
}

TEST_F(LogReading, manyRowsLeftOutAreCountedAndTheFirstFewNamed)
{
    makeLogWith(6, {{1, kBadValues[0]}, {2, kBadValues[1]}, {4, kBadValues[2]}, {5, kBadValues[3]}});
    const LogContents contents = TrainingLog::read(path);
    ASSERT_EQ(contents.entries.size(), 2);
    EXPECT_EQ(contents.entries[0].id, 3);
    EXPECT_EQ(contents.entries[1].id, 6);
    EXPECT_EQ(contents.unreadableRows, 4);
    EXPECT_TRUE(contents.unreadable.startsWith(
        QStringLiteral("4 rows of the training log could not be read and were left out (row 1: ")))
        << contents.unreadable.toStdString();
    EXPECT_TRUE(contents.unreadable.contains(QStringLiteral("; row 4: ")));
    EXPECT_FALSE(contents.unreadable.contains(QStringLiteral("row 5:")));
    EXPECT_TRUE(contents.unreadable.endsWith(QStringLiteral("; ...).")));
}

} // namespace
} // namespace vk
