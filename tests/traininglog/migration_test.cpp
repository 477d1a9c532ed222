// A log kept by the version of Vendrakul that knew only 20-digit factors:
// read as it is, and migrated whole by the first opening for writing.
#include "logtestsupport.h"
#include "otherconnection.h"

#include "traininglog/traininglog.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vk {
namespace {

using test::recordFolder;
using test::sampleReport;
using test::sameReport;

// Written by that version itself: four stages, the second correct, the
// third left, the fourth with a gap in its answer.
const QString kVersion1Log = QStringLiteral(VK_TRAININGLOG_DATA "/version1-log.sqlite");

class Version1Log : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(QFile::copy(kVersion1Log, path)); }

    // What the log's four rows must read as, before and after migrating.
    static void expectTheFourRows(const LogContents &contents)
    {
        ASSERT_TRUE(contents.problem.isEmpty()) << contents.problem.toStdString();
        EXPECT_EQ(contents.unreadableRows, 0) << contents.unreadable.toStdString();
        ASSERT_GE(contents.entries.size(), 4);
        const struct {
            StageVerdict verdict;
            int digitsMatched;
            double seconds;
        } expected[] = {
            {StageVerdict::Wrong, 35, 431.07},
            {StageVerdict::Correct, 39, 612.5},
            {StageVerdict::Left, 0, 12.0},
            {StageVerdict::Wrong, 11, 900.0},
        };
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            const StageReport &r = contents.entries[i].report;
            EXPECT_EQ(r.verdict, expected[i].verdict);
            EXPECT_EQ(r.digitsMatched, expected[i].digitsMatched);
            EXPECT_EQ(r.secondsUsed, expected[i].seconds);
            EXPECT_EQ(r.factorDigits, 20);
            EXPECT_EQ(r.factor1.size(), 20);
            if (r.verdict == StageVerdict::Left) {
                EXPECT_TRUE(r.matchedColumns.isEmpty());
            } else {
                // The columns come from the answer read under the product.
                EXPECT_EQ(r.matchedColumns.size(), r.product.size());
                EXPECT_EQ(r.matchedColumns.count(u'1'), r.digitsMatched);
            }
        }
        // The gap in the fourth answer is a column that did not match.
        const StageReport &gap = contents.entries[3].report;
        const qsizetype gapColumn = gap.answer.size() - 1 - gap.answer.indexOf(u' ');
        EXPECT_EQ(gap.matchedColumns.at(gap.product.size() - 1 - gapColumn), u'0');
    }

    QTemporaryDir tmp;
    QString path = tmp.path() + QStringLiteral("/training-log.sqlite");
};

TEST_F(Version1Log, isReadAsItIsAndLeftUntouched)
{
    const auto before = recordFolder(tmp.path());
    expectTheFourRows(TrainingLog::read(path));
    EXPECT_EQ(recordFolder(tmp.path()), before);
}

TEST_F(Version1Log, openingMigratesItWholeAndItTakesRowsOfEveryLength)
{
    QString problem;
    std::unique_ptr<TrainingLog> log = TrainingLog::open(path, &problem);
    ASSERT_TRUE(log) << problem.toStdString();
    {
        test::OtherConnection other(path);
        EXPECT_EQ(other.value(QStringLiteral("SELECT group_concat(version) FROM schema_version")), QStringLiteral("2"));
        EXPECT_EQ(other.value(QStringLiteral("SELECT group_concat(factor_digits || '/' || ifnull(matched_columns, '-'))"
                                             " FROM stages")),
                  QStringLiteral("20/-,20/-,20/-,20/-"))
            << "the old rows get 20, and the columns they never kept are worked out when read";
    }
    StageReport eight = sampleReport(6);
    eight.factorDigits = 8;
    eight.factor1 = QStringLiteral("12345678");
    eight.factor2 = QStringLiteral("87654321");
    eight.product = QStringLiteral("1082152022374638");
    eight.answer = QStringLiteral("1082152922374638");
    eight.matchedColumns = QStringLiteral("1111111011111111");
    ASSERT_TRUE(log->append(eight)) << log->problem().toStdString();
    log.reset();

    const LogContents contents = TrainingLog::read(path);
    expectTheFourRows(contents);
    ASSERT_EQ(contents.entries.size(), 5);
    EXPECT_TRUE(sameReport(contents.entries[4].report, eight));

    // Opening again finds nothing to migrate.
    log = TrainingLog::open(path, &problem);
    ASSERT_TRUE(log) << problem.toStdString();
    EXPECT_EQ(TrainingLog::read(path).entries.size(), 5);
}

} // namespace
} // namespace vk
