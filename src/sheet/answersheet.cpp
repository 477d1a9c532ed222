#include "sheet/answersheet.h"

#include "sheet/answertext.h"
#include "sheet/sheetlayout.h"
#include "stage/evaluation.h"
#include "stage/stage.h"

namespace vk {

using namespace sheet;

AnswerSheet::AnswerSheet(StageRecord &stage, FlexGrid &grid, AnswerSheetHost &host)
    : m_stage(stage)
    , m_grid(grid)
    , m_host(host)
{
    m_grid.setEvents(this);
}

AnswerSheet::~AnswerSheet() { m_grid.setEvents(nullptr); }

int AnswerSheet::answerRow() const { return m_grid.rows() - 4; }
int AnswerSheet::unitsCol() const { return m_grid.cols() - 2; }
int AnswerSheet::revealRow() const { return m_grid.rows() - 2; }
int AnswerSheet::firstAnswerCol() const { return firstProductCol(m_stage.factorDigits, unitsCol()); }

Evaluation AnswerSheet::revealProduct(const QString &correctProduct)
{
    const int answer = answerRow();
    Evaluation result = evaluateAnswer(
        correctProduct, [&](int column) { return m_grid.cellText(answer, column); }, unitsCol());
    for (const RevealedDigit &d : result.digits) {
        m_grid.setCellText(revealRow(), d.column, d.digit);
        m_grid.setCell(CellProperty::BackgroundColour, revealRow(), d.column, d.backColor());
    }
    return result;
}

void AnswerSheet::setUpSheet()
{
    // One marker per factor column, for the stage the record now holds.
    m_markers = ColumnMarkers(m_stage.factorDigits);
    m_grid.setCols(kCols);
    m_grid.setRows(kRows);
    m_grid.setColAlignment(-1, kCentreAlignment);
    m_grid.setFontSize(kFontPoints);
    m_grid.setColWidth(-1, kDigitColTwips);
    m_grid.setRowHeight(-1, kDigitRowTwips);
    m_grid.setColWidth(0, kEdgeTwips);
    m_grid.setColWidth(m_grid.cols() - 1, kEdgeTwips);
    const int rows = m_grid.rows();
    m_grid.setRowHeight(rows - 6, kEdgeTwips);
    m_grid.setRowHeight(rows - 5, kEdgeTwips);
    m_grid.setRowHeight(rows - 3, kGapRowTwips);
    m_grid.setRowHeight(rows - 1, kEdgeTwips);
    m_grid.setRowHeight(0, kEdgeTwips);
    // The sign, the rule and the answer row span the product's columns:
    // the whole sheet for 20-digit factors, its right part for shorter ones.
    m_grid.setCellText(2, firstAnswerCol(), QStringLiteral("x"));

    // The line under the factors: the top edge of the narrow row above the answer.
    m_grid.select(rows - 5, firstAnswerCol(), rows - 5, unitsCol());
    m_grid.setSelectionBorders(0, -1, 1, -1, -1, 0, 0);
    m_grid.setCell(CellProperty::BackgroundColour, answerRow(), firstAnswerCol(), answerRow(), unitsCol(), kAnswerBack);

    std::int64_t width = 0;
    for (int c = 0; c < m_grid.cols(); ++c)
        width += m_grid.colWidth(c);
    std::int64_t height = 0;
    for (int r = 0; r < m_grid.rows(); ++r)
        height += m_grid.rowHeight(r);
    m_stage.sheetWidth = outerPixels(width, m_grid.twipsPerPixel());
    m_stage.sheetHeight = outerPixels(height, m_grid.twipsPerPixel());
}

void AnswerSheet::loadSheet()
{
    const QDomElement problem = problemElement(m_stage);
    for (int i = 1; i <= 2; ++i) {
        const QString digits = problem.attribute(i == 1 ? doc::kFactor1 : doc::kFactor2);
        const int first = firstFactorCol(static_cast<int>(digits.size()), unitsCol());
        for (int k = 0; k < digits.size(); ++k)
            m_grid.setCellText(i, first + k, digits.mid(k, 1));
    }
    m_grid.setCell(CellProperty::Text, answerRow(), kFirstDigitCol, answerRow(), unitsCol(), QString());
    m_grid.select(answerRow(), unitsCol());

    m_markers.clearAll();
    for (int i = 0; i < m_markers.count(); ++i)
        m_host.markerPictureChanged(i, false);
    repaintMarkedColumns();

    m_grid.editCell();
    m_grid.setFocus(Qt::OtherFocusReason); // refused focus (hidden window) is no error
}

void AnswerSheet::toggleMarker(std::int16_t index)
{
    int changed = index;
    if (index < 0) {
        changed = m_markers.step();
    } else {
        if (!m_markers.valid(index))
            return;
        m_markers.toggle(index);
    }
    if (m_markers.valid(changed))
        m_host.markerPictureChanged(changed, m_markers.isSet(changed));
    repaintMarkedColumns();
}

void AnswerSheet::markerClicked(int index)
{
    if (m_stage.stageRunning)
        toggleMarker(static_cast<std::int16_t>(index));
}

void AnswerSheet::repaintMarkedColumns()
{
    const int units = unitsCol();
    m_grid.setCell(CellProperty::BackgroundColour, 1, firstFactorCol(m_markers.count(), units), 2, units, QVariant());
    for (int i = 0; i < m_markers.count(); ++i) {
        if (m_markers.isSet(i))
            m_grid.setCell(CellProperty::BackgroundColour, 1, units - i, 2, units - i, kCursorBack);
    }
}

void AnswerSheet::storeAnswer()
{
    QDomElement problem = problemElement(m_stage);
    const int row = answerRow();
    QStringList cells;
    cells.reserve(unitsCol());
    for (int c = kFirstDigitCol; c <= unitsCol(); ++c)
        cells.append(m_grid.cellText(row, c));
    problem.setAttribute(doc::kAnswer, answerFromCells(cells));
}

void AnswerSheet::closeForInput()
{
    m_grid.discardEditing();
    m_grid.setKeyboardInput(false);
}

void AnswerSheet::gotFocus() { m_grid.editCell(); }

void AnswerSheet::beforeRowColChange(int, int, int newRow, int newCol, bool &cancel)
{
    if (m_stage.firstActivation)
        return;
    if (newRow != answerRow() || newCol < firstAnswerCol() || newCol > unitsCol())
        cancel = true;
    m_grid.editCell();
}

void AnswerSheet::afterRowColChange(int, int, int, int newCol)
{
    if (m_stage.firstActivation)
        return;
    const int row = answerRow();
    m_grid.setCell(CellProperty::BackgroundColour, row, firstAnswerCol(), row, unitsCol(), kAnswerBack);
    m_grid.setCell(CellProperty::BackgroundColour, row, newCol, row, newCol, kCursorBack);
    m_grid.editCell();
}

void AnswerSheet::beforeEdit(int row, int col, bool &cancel)
{
    m_grid.setEditMaxLength(1);
    if (row != answerRow() || col < firstAnswerCol() || col > unitsCol() || !m_stage.stageRunning)
        cancel = true;
}

void AnswerSheet::keyPressEdit(int, int col, int &character)
{
    // An editor left open across the finish must not change the answer.
    if (!m_stage.stageRunning) {
        character = 0;
        return;
    }
    if (character >= '0' && character <= '9') {
        if (col > firstAnswerCol())
            m_grid.setCol(m_grid.col() - 1);
    } else if (character != '\b' && character != '\n' && character != '\r') {
        character = 0;
    }
}

void AnswerSheet::keyDownEdit(int, int col, int &keyCode, int)
{
    switch (keyCode) {
    case VirtualKey::KeypadMultiply:
        toggleMarker(-1);
        break;
    case VirtualKey::Left:
        if (!m_grid.editText().isEmpty() && col > firstAnswerCol())
            m_grid.setCol(col - 1);
        break;
    case VirtualKey::Right:
        if (!m_grid.editText().isEmpty() && col < unitsCol())
            m_grid.setCol(m_grid.col() + 1);
        break;
    case VirtualKey::Enter:
        m_host.confirmFinish();
        break;
    default:
        break;
    }
}

void AnswerSheet::changeEdit()
{
    const int row = m_grid.row();
    const int col = m_grid.col();
    m_grid.setCellText(row, col, m_grid.editText());
    storeAnswer();
}

} // namespace vk
