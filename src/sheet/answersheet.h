#pragma once

#include "grid/flexgrid.h"
#include "sheet/columnmarkers.h"
#include "stage/evaluation.h"

#include <cstdint>

namespace vk {

struct StageRecord;

// What the sheet asks of the exercise window.
class AnswerSheetHost
{
public:
    virtual ~AnswerSheetHost() = default;
    // Enter on the sheet: ask whether to finish the stage.
    virtual void confirmFinish() = 0;
    // Marker `index` became set or clear: show or hide its picture.
    virtual void markerPictureChanged(int index, bool set) = 0;
};

// The answer sheet on a FlexGrid: set-up, the problem's digits, the rules
// for typing the answer right to left, the column markers, and "cevap".
// Factors of n digits stand right-aligned; the answer takes digits in the
// product's 2n columns only, and there is one marker per factor column.
class AnswerSheet final : public FlexGridEvents
{
public:
    AnswerSheet(StageRecord &stage, FlexGrid &grid, AnswerSheetHost &host);
    ~AnswerSheet() override;

    // The last step of the exercise window's load; sets stage.sheetWidth/Height.
    void setUpSheet();
    // At the first activation, after problemNo = 1 and while firstActivation holds.
    void loadSheet();
    // index < 0 steps the markers as the keypad '*' does; otherwise toggles
    // that marker. Then repaints the marked factor columns.
    void toggleMarker(std::int16_t index);
    // A click on marker picture i; only while the stage runs.
    void markerClicked(int index);
    // Writes the answer row into "cevap".
    void storeAnswer();
    // At the finish: the correct product in the reveal row, each digit green
    // where the answer row has it in the same column and light red where
    // not. What the comparison found: the whole answer right or not, and
    // how many digits matched.
    Evaluation revealProduct(const QString &correctProduct);
    // At the finish: the editor closes and no key reaches the sheet's rules
    // any more. The mouse can still move the cursor along the answer row.
    void closeForInput();

    const ColumnMarkers &markers() const { return m_markers; }

    // FlexGridEvents
    void gotFocus() override;
    void beforeRowColChange(int oldRow, int oldCol, int newRow, int newCol, bool &cancel) override;
    void afterRowColChange(int oldRow, int oldCol, int newRow, int newCol) override;
    void beforeEdit(int row, int col, bool &cancel) override;
    void keyPressEdit(int row, int col, int &character) override;
    void keyDownEdit(int row, int col, int &keyCode, int shiftState) override;
    void changeEdit() override;

private:
    int answerRow() const;
    int unitsCol() const;
    int revealRow() const;
    // The answer row's first column: that of the product's leading digit
    // when it has all of its 2n digits.
    int firstAnswerCol() const;
    void repaintMarkedColumns();

    StageRecord &m_stage;
    FlexGrid &m_grid;
    AnswerSheetHost &m_host;
    ColumnMarkers m_markers;
};

} // namespace vk
