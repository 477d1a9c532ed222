#include "flow/clockpieces.h"

#include "platform/fonts.h"
#include "platform/largeimage.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace vk {
namespace {

QString reading(int second)
{
    return QStringLiteral("%1:%2").arg(second / 60, 2, 10, QLatin1Char('0')).arg(second % 60, 2, 10, QLatin1Char('0'));
}

ClockPieces::Look displayLook(QSize size)
{
    return {size, makeFont(QStringLiteral("Tahoma"), 36, true), QColor(215, 229, 248), QColor(255, 255, 255),
            QColor(11, 3, 103)};
}

// What a whole redraw of the display leaves.
QImage wholeRedraw(const ClockPieces &pieces, const ClockPieces::Look &look, const QString &text)
{
    QImage image = makeLargeImage(look.size);
    image.fill(look.back);
    pieces.drawReading(image, text);
    return image;
}

// Every change of a whole stage's readings, with the pieces drawn ahead of
// time or kept from whole redraws as they come: a piece copied over the
// old reading must leave exactly the new reading, and the seconds' changes
// must find one.
TEST(ClockPieces, aPieceOverTheOldReadingLeavesTheNewOne)
{
    for (const bool prepared : {true, false}) {
        for (const QSize size : {QSize(162, 81), QSize(170, 60), QSize(240, 120)}) {
            SCOPED_TRACE(testing::Message() << (prepared ? "prepared, " : "kept, ") << size.width() << " x " << size.height());
            const ClockPieces::Look look = displayLook(size);
            ClockPieces pieces;
            pieces.reset(look);
            if (prepared) {
                int calls = 0;
                while (pieces.prepareNext())
                    ASSERT_LT(++calls, 100) << "prepares a bounded number of pieces";
            }
            int copied = 0;
            QImage shown = wholeRedraw(pieces, look, reading(0));
            for (int second = 1; second <= 900; ++second) {
                const QString before = reading(second - 1);
                const QString now = reading(second);
                const QImage expected = wholeRedraw(pieces, look, now);
                const ClockPieces::Change change = pieces.change(size, before, now);
                if (change.piece) {
                    QPainter(&shown).drawImage(change.at, *change.piece);
                    ++copied;
                    ASSERT_EQ(shown, expected) << now.toStdString();
                } else {
                    shown = expected;
                    pieces.keep(before, now, shown);
                }
            }
            // Only a change of the minutes never has one; kept pieces first
            // come back after the first minute.
            EXPECT_GT(copied, prepared ? 880 : 820);
        }
    }
}

TEST(ClockPieces, noPieceForOtherTextsOrAnotherSize)
{
    const ClockPieces::Look look = displayLook(QSize(162, 81));
    ClockPieces pieces;
    pieces.reset(look);
    while (pieces.prepareNext()) {
    }
    ASSERT_NE(pieces.change(look.size, QStringLiteral("00:06"), QStringLiteral("00:07")).piece, nullptr);

    const struct
    {
        const char *what;
        QSize size;
        QString drawn;
        QString text;
    } cases[] = {
        {"the display resized since", QSize(170, 60), QStringLiteral("00:06"), QStringLiteral("00:07")},
        {"nothing drawn before", look.size, QString(), QStringLiteral("00:07")},
        {"another text before", look.size, QStringLiteral("-"), QStringLiteral("00:07")},
        {"hours in the reading", look.size, QStringLiteral("100:06"), QStringLiteral("100:07")},
        {"a letter for a digit", look.size, QStringLiteral("00:0x"), QStringLiteral("00:07")},
        {"the minutes change", look.size, QStringLiteral("00:59"), QStringLiteral("01:00")},
        {"no change at all", look.size, QStringLiteral("00:07"), QStringLiteral("00:07")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(pieces.change(c.size, c.drawn, c.text).piece, nullptr) << c.what;

    ClockPieces off;
    off.reset({QSize(), look.font, look.back, look.shadow, look.text});
    EXPECT_FALSE(off.prepareNext()) << "a display with a picture has no pieces";
}

} // namespace
} // namespace vk
