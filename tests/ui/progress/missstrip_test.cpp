#include "ui/progress/missstrip.h"

#include "ui/progress/progresswindow.h"
#include "ui/progress/stagereports.h"

#include <QLabel>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <string>

namespace vk {
namespace {

using namespace test;

// Four stages of 3-digit factors: column 1 (units) never wrong, column 2
// once, column 3 twice, column 4 every time, columns 5 and 6 never.
QList<StageReport> fourStages()
{
    const QString product = QStringLiteral("123456");
    return {evaluated(product, QStringLiteral("110001"), 3), evaluated(product, QStringLiteral("110011"), 3),
            evaluated(product, QStringLiteral("110111"), 3), evaluated(product, QStringLiteral("110111"), 3)};
}

MissStrip *stripOf(const QWidget &window)
{
    return window.findChild<MissStrip *>(QLatin1String(progress::kMissStrip));
}

// Resting the mouse on a column tells its place from the units digit, its
// count and its share; the units column is the rightmost.
TEST(MissStrip, restingOnAColumnTellsItsCountAndShare)
{
    ProgressWindow window(fourStages());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    MissStrip *strip = stripOf(window);
    ASSERT_TRUE(strip);
    EXPECT_GT(strip->cellRect(1).left(), strip->cellRect(6).left()) << "the units column is not at the right";

    struct Case {
        int column;
        const char *text;
    };
    for (const Case c : {Case{1, "Column 1 from the units digit: wrong in 0 of 4 stages (0 %)"},
                         Case{4, "Column 4 from the units digit: wrong in 4 of 4 stages (100 %)"},
                         Case{3, "Column 3 from the units digit: wrong in 2 of 4 stages (50 %)"},
                         Case{6, "Column 6 from the units digit: wrong in 0 of 4 stages (0 %)"}}) {
        SCOPED_TRACE(c.column);
        const QPoint centre = strip->cellRect(c.column).center();
        ASSERT_EQ(strip->columnAt(centre), c.column);
        QTest::mouseMove(strip, centre);
        EXPECT_TRUE(QTest::qWaitFor([&] { return QToolTip::isVisible() && QToolTip::text() == QLatin1String(c.text); },
                                    10000))
            << "shown: " << QToolTip::text().toStdString();
    }
    // Beside the columns, over the scale, nothing is told.
    QTest::mouseMove(strip, QPoint(strip->width() - 5, strip->cellRect(1).center().y()));
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 10000));
}

// The more often a column was wrong, the darker it is painted; a column
// never wrong is nearly white; the weakest stretch is outlined; the scale
// beside the columns reaches the darkest shade.
TEST(MissStrip, shadesDarkerWhereMoreWereWrong)
{
    ProgressWindow window(fourStages());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    MissStrip *strip = stripOf(window);
    ASSERT_TRUE(strip);
    const QImage picture = strip->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto lightness = [&](const QPoint &point) { return QColor(picture.pixel(point)).lightness(); };

    int lighter = 256;
    for (const int column : {1, 2, 3, 4}) { // wrong 0, 1, 2 and 4 times of 4
        const int shade = lightness(strip->cellRect(column).center());
        EXPECT_LT(shade, lighter) << "column " << column;
        lighter = shade;
    }
    EXPECT_GT(lightness(strip->cellRect(1).center()), 240);

    // Column 4 alone is the weakest stretch.
    const auto edgeOf = [&](int column) { return QPoint(strip->cellRect(column).center().x(), strip->cellRect(column).top()); };
    EXPECT_LT(lightness(edgeOf(4)), 60);
    EXPECT_GT(lightness(edgeOf(3)), 150);

    int darkest = 255;
    for (int x = strip->cellRect(1).right() + 1; x < picture.width(); ++x)
        darkest = std::min(darkest, lightness(QPoint(x, strip->cellRect(1).center().y())));
    EXPECT_LT(darkest, 60) << "no scale beside the columns";
}

// Under the chart: a heading that says over how many stages, the strip,
// and the sentence on the weakest stretch; for a length with no evaluated
// stage, the sentence alone.
TEST(MissStrip, theViewShowsTheColumnsOfTheLengthShown)
{
    struct Case {
        std::string name;
        QList<StageReport> reports;
        bool strip;
        QString heading;
        QString sentence;
    };
    const Case cases[] = {
        {"four stages", fourStages(), true,
         "Columns of the product, the units at the right, shaded by how often their digit was wrong in the 4 stages "
         "evaluated so far:",
         "Your weakest column is column 4 from the units digit: wrong in 4 of the last 4 stages (100 %)."},
        // 60 stages, the 10 oldest wrong in every column: they are not counted.
        {"more than fifty",
         repeated(10, evaluated("123456", "000000", 3)) + repeated(50, evaluated("123456", "101111", 3)), true,
         "Columns of the product, the units at the right, shaded by how often their digit was wrong in the last 50 "
         "evaluated stages:",
         "Your weakest column is column 5 from the units digit: wrong in 50 of the last 50 stages (100 %)."},
        {"only left stages", {left(60, 0, 8), left(30, 0, 8)}, false, {},
         "No stage of 8 digits has reached the evaluation yet, so no column can be shaded."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ProgressWindow window(c.reports);
        EXPECT_EQ(stripOf(window) != nullptr, c.strip);
        const auto *heading = window.findChild<QLabel *>(QLatin1String(progress::kMissHeading));
        EXPECT_EQ(heading ? heading->text() : QString(), c.heading);
        const auto *sentence = window.findChild<QLabel *>(QLatin1String(progress::kMissSummary));
        ASSERT_TRUE(sentence);
        EXPECT_EQ(sentence->text(), c.sentence);
    }
}

} // namespace
} // namespace vk
