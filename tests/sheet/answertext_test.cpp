#include "sheet/answertext.h"

#include <QMap>

#include <gtest/gtest.h>

namespace {

QStringList answerRow(const QMap<int, QString> &digits) // column 1..40 -> digit
{
    QStringList cells;
    for (int c = 1; c <= 40; ++c)
        cells << digits.value(c);
    return cells;
}

TEST(AnswerTextTest, EmptyCellsAreSpacesTrimmedAtTheEnds)
{
    struct Case {
        QMap<int, QString> digits;
        QString answer;
    };
    const Case cases[] = {
        {{}, ""},
        {{{40, "1"}, {39, "2"}, {38, "3"}}, "321"},
        {{{40, "5"}, {38, "6"}}, "6 5"},
        {{{1, "9"}, {40, "1"}}, "9" + QString(38, ' ') + "1"},
        {{{1, "4"}, {3, "4"}}, "4 4"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(vk::answerFromCells(answerRow(c.digits)), c.answer) << c.answer.toStdString();
}

} // namespace
