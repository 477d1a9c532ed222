#pragma once

// What must hold of the exercise window after any step of a long run, in
// whatever order the user's input came.
#include "grid/flexgrid.h"
#include "sheet/sheetlayout.h"
#include "ui/exercise/exercisewindow.h"
#include "stage/evaluation.h"
#include "stage/stage.h"

#include <QDomElement>
#include <QPointer>
#include <QStringList>

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace vk::test {

// The answer row as the user sees it, from the leftmost digit column to the units column.
inline QStringList answerCells(const FlexGrid &grid)
{
    QStringList cells;
    for (int c = sheet::kFirstDigitCol; c <= sheet::kUnitsCol; ++c)
        cells << grid.cellText(sheet::kAnswerRow, c);
    return cells;
}

// The factors stand right-aligned, whatever their length, with the sign
// at the product's first column and one marker per factor column. Every
// answer cell holds one digit or nothing, and none left of the product's
// columns; the stored answer is what the answer row shows. While the stage
// runs the cursor stays on the answer row, within the product's columns. A
// finished stage shows the product in the reveal row, each digit green
// where the answer above it is the same digit and light red where not;
// from then on neither the answer nor the reveal moves.
class StageInvariants
{
public:
    // `when` tells the failure message where in the run the check was made.
    void check(const ExerciseWindow *window, const std::string &when)
    {
        if (!window || window->stage().firstActivation)
            return;
        const StageRecord &stage = window->stage();
        const FlexGrid &grid = window->answerGrid();
        m_lengthsSeen.insert(stage.factorDigits);
        const int firstProduct = sheet::firstProductCol(stage.factorDigits);
        ASSERT_NO_FATAL_FAILURE(checkFactors(window, firstProduct, when));
        const QStringList cells = answerCells(grid);
        for (int i = 0; i < cells.size(); ++i) {
            const QString &t = cells[i];
            const int column = sheet::kFirstDigitCol + i;
            ASSERT_TRUE(t.isEmpty() || (t.size() == 1 && t[0].isDigit() && column >= firstProduct))
                << "cell (" << sheet::kAnswerRow << "," << column << ") holds '" << t.toStdString() << "' at "
                << stage.factorDigits << " digits, " << when;
        }
        // The stored answer as the test works it out itself: the cells from
        // the left, an empty one read as a space, the spaces at both ends
        // dropped.
        QString expected;
        for (const QString &t : cells)
            expected += t.isEmpty() ? QStringLiteral(" ") : t;
        ASSERT_EQ(problemElement(stage).attribute(doc::kAnswer), expected.trimmed())
            << "the stored answer left the answer row, " << when;

        if (stage.stageRunning) {
            ASSERT_EQ(grid.row(), sheet::kAnswerRow) << "the cursor left the answer row, " << when;
            ASSERT_TRUE(grid.col() >= firstProduct && grid.col() <= sheet::kUnitsCol)
                << "cursor in column " << grid.col() << " at " << stage.factorDigits << " digits, " << when;
            return;
        }
        // A new stage may take the old one's address: the guarded pointer
        // tells them apart.
        if (m_finishedWindow != window) {
            m_finishedWindow = window;
            m_frozenAnswer = cells;
            m_frozenReveal.clear();
            ++m_evaluations;
            checkReveal(stage, grid, cells, when);
            m_frozenReveal = revealOf(grid);
            return;
        }
        ASSERT_EQ(cells, m_frozenAnswer) << "the answer changed after the finish, " << when;
        ASSERT_EQ(revealOf(grid), m_frozenReveal) << "the reveal changed after the finish, " << when;
    }

    // Finished stages seen so far, each counted once.
    int evaluations() const { return m_evaluations; }
    // The factor lengths of the stages seen.
    const std::set<int> &lengthsSeen() const { return m_lengthsSeen; }

private:
    static void checkFactors(const ExerciseWindow *window, int firstProduct, const std::string &when)
    {
        const StageRecord &stage = window->stage();
        const FlexGrid &grid = window->answerGrid();
        ASSERT_EQ(window->markerCount(), stage.factorDigits) << when;
        const QDomElement problem = problemElement(stage);
        for (int row : {1, 2}) {
            const QString factor = problem.attribute(row == 1 ? doc::kFactor1 : doc::kFactor2);
            ASSERT_EQ(factor.size(), stage.factorDigits) << when;
            const int first = sheet::firstFactorCol(stage.factorDigits);
            for (int c = sheet::kFirstDigitCol; c <= sheet::kUnitsCol; ++c) {
                const QString expected = c >= first ? factor.mid(c - first, 1)
                                         : row == 2 && c == firstProduct ? QStringLiteral("x")
                                                                         : QString();
                ASSERT_EQ(grid.cellText(row, c), expected) << "row " << row << ", column " << c << ", " << when;
            }
        }
    }

    static void checkReveal(const StageRecord &stage, const FlexGrid &grid, const QStringList &cells,
                            const std::string &when)
    {
        const QString &product = stage.correctProduct;
        ASSERT_FALSE(product.isEmpty()) << when;
        ASSERT_LE(product.size(), 2 * stage.factorDigits) << when;
        for (int i = 0; i < product.size(); ++i) {
            const int column = sheet::kUnitsCol - i;
            const QString digit = product.mid(product.size() - 1 - i, 1);
            ASSERT_EQ(grid.cellText(sheet::kRevealRow, column), digit) << "reveal column " << column << ", " << when;
            const bool same = cells[column - sheet::kFirstDigitCol] == digit;
            ASSERT_EQ(grid.cellBackgroundColour(sheet::kRevealRow, column), same ? kRevealMatch : kRevealMismatch)
                << "reveal column " << column << ", " << when;
        }
        for (int column = sheet::kFirstDigitCol; column <= sheet::kUnitsCol - product.size(); ++column)
            ASSERT_TRUE(grid.cellText(sheet::kRevealRow, column).isEmpty()) << "reveal column " << column << ", " << when;
    }

    // The whole reveal row, text and background of every cell.
    static QStringList revealOf(const FlexGrid &grid)
    {
        QStringList reveal;
        for (int c = 0; c < grid.cols(); ++c)
            reveal << grid.cellText(sheet::kRevealRow, c) + QLatin1Char('/')
                          + QString::number(grid.cellBackgroundColour(sheet::kRevealRow, c));
        return reveal;
    }

    QPointer<const ExerciseWindow> m_finishedWindow;
    QStringList m_frozenAnswer;
    QStringList m_frozenReveal;
    int m_evaluations = 0;
    std::set<int> m_lengthsSeen;
};

} // namespace vk::test
