// The training log, as a user keeps it: stages played with --log, the
// progress view, the export.
#include "e2e_support.h"
#include "readback.h"

#include <gtest/gtest.h>

namespace vk::e2e {
namespace {

class LoggedOnDesktop : public ::testing::TestWithParam<WindowManager>
{
};

// With --log: a stage left with BACK, one answered correctly, one with one
// wrong digit, one left empty. The progress view charts the three evaluated
// ones with the correct one marked, and the export holds all four rows.
// The factors are read off the screen with the digits the first stage's
// answer row showed, and multiplied here.
TEST_P(LoggedOnDesktop, trainingLogKeepsEveryStageAndShowsProgress)
{
    const PrivateDataHome data;
    ASSERT_TRUE(data.isValid());

    XSession x(1920, 1080, GetParam());
    const auto [mainId, main] = startProgram(x, {QStringLiteral("--log")});
    ASSERT_FALSE(main.isEmpty());

    const auto finish = [&](const StageLayout &stage) { return finishWithYes(x, mainId, stage); };

    // 1. The digits 0 to 9 typed into the answer row, seen, and the stage left with BACK.
    ASSERT_TRUE(startStage(x, main));
    const StageLayout stage(main);
    const QList<QList<bool>> digits = learnDigits(x, stage);
    ASSERT_TRUE(backToStart(x, main, stage.back)) << "BACK during the stage";

    // 2. The right product; 3. the right product with its units digit wrong;
    // 4. nothing typed.
    QList<ReadProblem> played;
    QImage shot;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(startStage(x, main));
        const ReadProblem p = readProblem(x.screenshot(), stage, 20, digits);
        ASSERT_FALSE(p.product.isEmpty()) << "the factors could not be read";
        played.append(p);
        QString answer = p.product;
        if (round == 1)
            answer.back() = QChar(u'0' + (answer.back().unicode() - u'0' + 1) % 10);
        if (round < 2) {
            x.type(reversed(answer));
            x.waitForScreen([&](const QImage &s) { return digitIn(s, stage, 41 - answer.size()); });
        }
        shot = finish(stage);
        ASSERT_FALSE(shot.isNull()) << "Return asked no question";
        if (round == 0)
            EXPECT_TRUE(correctVerdictShown(shot, stage)) << "the right product was not taken as correct";
        else
            EXPECT_TRUE(wrongVerdictShown(shot, stage));
        ASSERT_TRUE(backToStart(x, main, stage.backCentred)) << "BACK after the finish";
    }
    expectClosesWithTheStrip(x, main);

    // The progress view: a window of its own on the screen, the chart with
    // one mark of a correct stage.
    ASSERT_TRUE(x.startProgram({QStringLiteral("--progress")}));
    const QString progressId = x.waitForWindow(QStringLiteral("Vendrakul progress"));
    ASSERT_FALSE(progressId.isEmpty()) << "no progress view";
    const QRect progress = x.windowGeometry(progressId);
    EXPECT_TRUE(inside(progress, x.screenSize())) << progress;
    const auto correctMark = [](QRgb p) { return sameColor(p, qRgb(0x1e, 0x9e, 0x3a), 30); };
    const auto secondsBlue = [](QRgb p) { return sameColor(p, qRgb(0x1f, 0x5f, 0xa8), 30); };
    shot = x.waitForScreen([&](const QImage &s) { return countPixels(s, progress, correctMark) > 40; });
    EXPECT_GT(countPixels(shot, progress, correctMark), 40) << "the correct stage is not marked";
    EXPECT_GT(countPixels(shot, progress, secondsBlue), 100) << "no seconds drawn";
    // Put away with Escape, which ends the program.
    x.focus(progressId);
    x.key("Escape");
    const auto closed = x.waitForExit(10000);
    ASSERT_TRUE(closed.has_value()) << "the progress view did not close";
    EXPECT_EQ(*closed, 0);

    // The export: four rows in the order played.
    const auto rows = exportedLog(x, data);
    ASSERT_EQ(rows.size(), 4);
    const QStringList verdicts{QStringLiteral("left"), QStringLiteral("correct"), QStringLiteral("wrong"),
                               QStringLiteral("wrong")};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(rows[i].value(QStringLiteral("verdict")), verdicts[i]) << "row " << i;
    for (int i = 0; i < 3; ++i) {
        const auto &row = rows[i + 1];
        EXPECT_EQ(row.value(QStringLiteral("factor1")), played[i].factor1) << "row " << i + 1;
        EXPECT_EQ(row.value(QStringLiteral("factor2")), played[i].factor2) << "row " << i + 1;
        EXPECT_EQ(row.value(QStringLiteral("product")), played[i].product) << "row " << i + 1;
    }
    const int length = static_cast<int>(played[0].product.size());
    EXPECT_EQ(rows[1].value(QStringLiteral("digits_matched")).toInt(), length);
    EXPECT_EQ(rows[2].value(QStringLiteral("digits_matched")).toInt(), played[1].product.size() - 1);
    EXPECT_EQ(rows[3].value(QStringLiteral("digits_matched")).toInt(), 0);
    EXPECT_EQ(rows[3].value(QStringLiteral("answer")), QString());
    for (const auto &row : rows)
        EXPECT_EQ(row.value(QStringLiteral("clock_shown")), QStringLiteral("1"));
}

INSTANTIATE_TEST_SUITE_P(Desktops, LoggedOnDesktop, kAllDesktops, kDesktopName);

} // namespace
} // namespace vk::e2e
