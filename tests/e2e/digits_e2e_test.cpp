// Shorter factors, as a learner trains them: the trainer started with
// --digits 8 and --log, its stages worked and read off the screen, then the
// log read back.
#include "e2e_support.h"
#include "readback.h"

#include <gtest/gtest.h>

namespace vk::e2e {
namespace {

class ShortFactorsOnDesktop : public ::testing::TestWithParam<WindowManager>
{
};

constexpr int kDigits = 8;

// The colour behind a revealed digit: 'g' green, 'r' light red, '.' neither.
QString revealColours(const QImage &shot, const StageLayout &stage)
{
    QString colours;
    for (int column = 1; column <= 40; ++column) {
        const QRect cell = stage.cell(7, column);
        const QRgb p = shot.pixel(cell.x() + 2, cell.y() + 2);
        colours += sameColor(p, kGreen, 8) ? u'g' : sameColor(p, kLightRed, 8) ? u'r' : u'.';
    }
    return colours;
}

// Three stages of two 8-digit factors. The first learns the ten digits from
// the answer row and is left with BACK; the second gets the true product,
// multiplied here from the factors read off the screen, and is revealed all
// green over the product's own columns; the third gets the product with one
// digit wrong, which is revealed red in its column alone. The log keeps the
// three with their length.
TEST_P(ShortFactorsOnDesktop, eightDigitStagesAreWorkedRevealedAndLogged)
{
    const PrivateDataHome data;
    ASSERT_TRUE(data.isValid());
    XSession x(1280, 800, GetParam());
    ASSERT_TRUE(x.ok()) << x.failure().toStdString();
    const auto [mainId, main] = startProgram(x, {QStringLiteral("--log"), QStringLiteral("--digits"), QString::number(kDigits)});
    ASSERT_FALSE(main.isEmpty());
    const StageLayout stage(main);
    // 1. The sheet of an 8-digit stage: the factors in the last 8 columns,
    // the sign over the product's first column, 16 columns from the right.
    ASSERT_TRUE(startStage(x, main));
    QImage shot = x.screenshot();
    for (int row : {1, 2}) {
        EXPECT_GT(countPixels(shot, stage.cell(row, 41 - kDigits), dark), 10) << "row " << row;
        EXPECT_EQ(countPixels(shot, stage.cell(row, 40 - kDigits), dark), 0) << "row " << row;
    }
    EXPECT_GT(countPixels(shot, stage.cell(2, 41 - 2 * kDigits), dark), 10) << "the sign";
    EXPECT_EQ(countPixels(shot, stage.cell(2, 1), dark), 0) << "no sign at the sheet's left edge";
    const QList<QList<bool>> digits = learnDigits(x, stage);
    ASSERT_TRUE(backToStart(x, main, stage.back)) << "BACK during the stage";

    // 2. The true product; 3. the same with its fifth digit from the units wrong.
    QList<ReadProblem> played;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(startStage(x, main));
        const ReadProblem p = readProblem(x.screenshot(), stage, kDigits, digits);
        ASSERT_FALSE(p.product.isEmpty()) << "the factors could not be read";
        played.append(p);
        const int length = static_cast<int>(p.product.size());
        QString answer = p.product;
        const int wrongColumn = 36;
        if (round == 1) {
            QChar &d = answer[length - 1 - (40 - wrongColumn)];
            d = QChar(u'0' + (d.unicode() - u'0' + 1) % 10);
        }
        x.type(reversed(answer));
        x.waitForScreen([&](const QImage &s) { return digitIn(s, stage, 41 - length); });

        shot = finishWithYes(x, mainId, stage, kDigits);
        ASSERT_FALSE(shot.isNull()) << "Return asked no question";
        QString expected = QString(40 - length, u'.') + QString(length, u'g');
        if (round == 1)
            expected[wrongColumn - 1] = u'r';
        EXPECT_EQ(revealColours(shot, stage), expected);
        EXPECT_TRUE(round == 0 ? correctVerdictShown(shot, stage) : wrongVerdictShown(shot, stage)) << "the verdict";
        ASSERT_TRUE(backToStart(x, main, stage.backCentred)) << "BACK after the finish";
    }
    expectClosesWithTheStrip(x, main);

    // The log, through its export: three rows of 8-digit factors.
    const auto rows = exportedLog(x, data);
    ASSERT_EQ(rows.size(), 3);
    const QStringList verdicts{QStringLiteral("left"), QStringLiteral("correct"), QStringLiteral("wrong")};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].value(QStringLiteral("verdict")), verdicts[i]);
        EXPECT_EQ(rows[i].value(QStringLiteral("factor_digits")), QString::number(kDigits));
    }
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const auto &row = rows[i + 1];
        EXPECT_EQ(row.value(QStringLiteral("factor1")), played[i].factor1);
        EXPECT_EQ(row.value(QStringLiteral("factor2")), played[i].factor2);
        EXPECT_EQ(row.value(QStringLiteral("product")), played[i].product);
        EXPECT_EQ(row.value(QStringLiteral("digits_matched")).toInt(), played[i].product.size() - i);
    }
}

INSTANTIATE_TEST_SUITE_P(Desktops, ShortFactorsOnDesktop, ::testing::Values(WindowManager::Openbox), kDesktopName);

} // namespace
} // namespace vk::e2e
