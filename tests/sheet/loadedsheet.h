#pragma once

// A stage's answer sheet on a real grid, set up and loaded as the exercise
// window leaves it after its first activation, and the user's keys and
// clicks on it.
#include "sheet/answersheet.h"

#include "grid/flexgrid.h"
#include "stage/stage.h"
#include "support/fakes.h"

#include <QDomDocument>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace vk::test {

class FakeHost final : public AnswerSheetHost
{
public:
    void confirmFinish() override { ++confirmations; }
    void markerPictureChanged(int index, bool set) override { pictures.emplace_back(index, set); }

    int confirmations = 0;
    std::vector<std::pair<int, bool>> pictures;
};

class LoadedSheet
{
protected:
    // A new problem with factors of `digits` digits, on the sheet.
    void load(int digits)
    {
        ScriptedRandom random({0.31, 0.72, 0.05, 0.98, 0.44, 0.6, 0.17, 0.89, 0.5});
        FakeDayClock clock;
        resetStageRecord(stage, true, digits);
        createProblem(problemDoc, stage, random, clock);
        sheet.setUpSheet();
        grid.setGeometry(10, 10, stage.sheetWidth, stage.sheetHeight);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
        stage.problemNo = 1;
        sheet.loadSheet();
        stage.firstActivation = false;
        host.pictures.clear();
    }

    QString answer() const { return problemElement(stage).attribute(doc::kAnswer); }
    QString cell(int row, int col) const { return grid.cellText(row, col); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::keyClick(grid.isEditing() ? static_cast<QWidget *>(grid.editor()) : &grid, k, m);
    }
    void type(const QString &digits)
    {
        for (const QChar d : digits)
            key(static_cast<Qt::Key>(Qt::Key_0 + d.digitValue()));
    }
    void click(int row, int col)
    {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(row, col).center());
    }
    std::pair<int, int> cursor() const { return {grid.row(), grid.col()}; }
    QStringList answerCells() const
    {
        QStringList cells;
        for (int c = 1; c <= 40; ++c)
            cells << cell(5, c);
        return cells;
    }

    StageRecord stage;
    QDomDocument problemDoc;
    FlexGrid grid{nullptr, 15};
    FakeHost host;
    AnswerSheet sheet{stage, grid, host};
};

} // namespace vk::test
