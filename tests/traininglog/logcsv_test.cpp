#include "logtestsupport.h"

#include "traininglog/logcsv.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vk {
namespace {

// An RFC 4180 reader, to read back what the export wrote.
QList<QStringList> parseCsv(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row.append(field);
            field.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            row.append(field);
            field.clear();
            rows.append(row);
            row.clear();
            ++i;
        } else {
            field += c;
        }
    }
    EXPECT_TRUE(field.isEmpty() && row.isEmpty()) << "the last line ends in CR LF";
    return rows;
}

TEST(LogCsv, fieldsThatNeedItAreQuotedAndEverythingReadsBack)
{
    QList<LogEntry> entries;
    for (int i = 0; i < 3; ++i)
        entries.append({i + 1, test::sampleReport(i)});
    entries[1].report.answer = QStringLiteral("12,3\"4\"\n5\r\n6");
    entries[2].report.factor1 = QStringLiteral("\"");
    entries[2].report.secondsUsed = 899.99;

    QTemporaryDir tmp;
    const QString file = tmp.path() + QStringLiteral("/log.csv");
    QString problem;
    ASSERT_TRUE(writeLogCsv(entries, file, &problem)) << problem.toStdString();
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral(",\"12,3\"\"4\"\"\n5\r\n6\",")));
    EXPECT_TRUE(text.contains(QStringLiteral(",\"\"\"\",")));
    EXPECT_TRUE(text.contains(QStringLiteral(",\"\"\"\",")));
    EXPECT_FALSE(text.contains(QStringLiteral("\"1\""))) << "plain fields are not quoted";

    const QList<QStringList> rows = parseCsv(text);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0], QStringList({"id", "started_utc", "seconds_used", "clock_shown", "factor1", "factor2", "answer",
                                    "product", "digits_matched", "verdict", "factor_digits"}));
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const QStringList &row = rows[i + 1];
        ASSERT_EQ(row.size(), 11);
        const StageReport &r = entries[i].report;
        EXPECT_EQ(row[0].toLongLong(), entries[i].id);
        EXPECT_EQ(QDateTime::fromString(row[1], Qt::ISODateWithMs), r.startedUtc);
        EXPECT_EQ(row[2].toDouble(), r.secondsUsed);
        EXPECT_EQ(row[3] == QStringLiteral("1"), r.clockShown);
        EXPECT_EQ(row[4], r.factor1);
        EXPECT_EQ(row[5], r.factor2);
        EXPECT_EQ(row[6], r.answer);
        EXPECT_EQ(row[7], r.product);
        EXPECT_EQ(row[8].toInt(), r.digitsMatched);
        EXPECT_EQ(row[9], verdictName(r.verdict));
        EXPECT_EQ(row[10].toInt(), r.factorDigits);
    }
}

// Each field that needs quoting for one reason alone, and the seconds
// always to the hundredth.
TEST(LogCsv, eachReasonToQuoteAloneAndSecondsToTheHundredth)
{
    struct Case {
        const char *answer;
        double seconds;
        const char *expected; // the answer field, then the seconds field, as written
    } cases[] = {
        {"12\n34", 65.5, "\"12\n34\""},   // a bare line feed
        {"12\r34", 900.0, "\"12\r34\""},  // a bare carriage return
        {"12,34", 0.25, "\"12,34\""},
        {"12\"34", 7.0, "\"12\"\"34\""},
        {"1234", 899.99, "1234"},
    };
    const char *seconds[] = {"65.50", "900.00", "0.25", "7.00", "899.99"};
    QList<LogEntry> entries;
    for (const Case &c : cases) {
        StageReport r = test::sampleReport(0);
        r.answer = QString::fromUtf8(c.answer);
        r.secondsUsed = c.seconds;
        entries.append({entries.size() + 1, r});
    }
    const QString csv = logToCsv(entries);
    const QList<QStringList> rows = parseCsv(csv);
    ASSERT_EQ(rows.size(), 1 + std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].answer);
        EXPECT_TRUE(csv.contains(QLatin1Char(',') + QString::fromUtf8(cases[i].expected) + QLatin1Char(',')));
        EXPECT_EQ(rows[i + 1][6], QString::fromUtf8(cases[i].answer));
        EXPECT_EQ(rows[i + 1][2], QLatin1String(seconds[i]));
    }
}

TEST(LogCsv, anUnwritableFileIsRefusedAndNothingIsLeftHalfWritten)
{
    QTemporaryDir tmp;
    QString problem;
    const QString file = tmp.path() + QStringLiteral("/missing-folder/log.csv");
    EXPECT_FALSE(writeLogCsv({}, file, &problem));
    EXPECT_TRUE(problem.startsWith(file + QStringLiteral(" cannot be written"))) << problem.toStdString();
    EXPECT_FALSE(QFileInfo::exists(file));
}

} // namespace
} // namespace vk
