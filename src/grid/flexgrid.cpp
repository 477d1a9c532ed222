// FlexGrid's shape and contents: sizes, cells and their looks, and the
// moves of the current cell.
#include "grid/flexgrid.h"

#include "grid/cellstyle.h"
#include "grid/griddelegate.h"
#include "grid/grideditor.h"
#include "grid/gridmodel.h"
#include "platform/fonts.h"
#include "platform/rounding.h"
#include "platform/twips.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>

#include <algorithm>

namespace vk {

namespace {

constexpr std::int32_t kDefaultColTwips = 960;
constexpr std::int32_t kDefaultRowTwips = 240;

} // namespace

FlexGrid::FlexGrid(QWidget *parent, int twipsPerPixel)
    : QTableView(parent)
{
    if (twipsPerPixel <= 0) {
        const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        twipsPerPixel = Twips::perPixel(screen ? screen->logicalDotsPerInchX() : 96.0);
    }
    m_twipsPerPixel = twipsPerPixel;
    m_font = makeFont(QStringLiteral("Tahoma"), 21, true);

    m_model = new detail::GridModel(this);
    setModel(m_model);
    m_delegate = new detail::GridDelegate(this, m_model);
    setItemDelegate(m_delegate);

    // Cells stand at fixed pixel positions: no headers, scroll bars, grid
    // lines or Qt-driven editing and selection; a one-pixel frame.
    horizontalHeader()->hide();
    verticalHeader()->hide();
    for (QHeaderView *h : {horizontalHeader(), verticalHeader()}) {
        h->setMinimumSectionSize(0);
        h->setSectionResizeMode(QHeaderView::Fixed);
    }
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollMode(ScrollPerPixel);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setSelectionMode(NoSelection);
    setEditTriggers(NoEditTriggers);
    setTabKeyNavigation(false);
    setAutoScroll(false);
    setDragEnabled(false);
    setAcceptDrops(false);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setBackgroundColour(m_backgroundColour);

    m_editor = new detail::GridEditor(this);
}

FlexGrid::~FlexGrid() = default;

QLineEdit *FlexGrid::editor() const { return m_editor; }

int FlexGrid::toPixels(std::int32_t twips) const
{
    return std::max(0, roundHalfEven(Twips::toPixels(twips, m_twipsPerPixel)));
}

bool FlexGrid::validCell(int row, int col) const { return row >= 0 && row < rows() && col >= 0 && col < cols(); }

int FlexGrid::rows() const { return m_model->rowCount(); }
int FlexGrid::cols() const { return m_model->columnCount(); }

void FlexGrid::setRows(int rows)
{
    rows = std::max(0, rows);
    if (rows == this->rows())
        return;
    finishEditing();
    m_model->resize(rows, cols());
    m_rowTwips.resize(rows, kDefaultRowTwips);
    for (int r = 0; r < rows; ++r)
        applyRowHeight(r);
    for (int c = 0; c < cols(); ++c)
        applyColWidth(c);
    m_row = std::clamp(m_row, 0, std::max(0, rows - 1));
}

void FlexGrid::setCols(int cols)
{
    cols = std::max(0, cols);
    if (cols == this->cols())
        return;
    finishEditing();
    m_model->resize(rows(), cols);
    m_colTwips.resize(cols, kDefaultColTwips);
    m_colAlignment.resize(cols, kDefaultCellAlignment);
    for (int c = 0; c < cols; ++c)
        applyColWidth(c);
    for (int r = 0; r < rows(); ++r)
        applyRowHeight(r);
    m_col = std::clamp(m_col, 0, std::max(0, cols - 1));
}

void FlexGrid::applyColWidth(int col) { setColumnWidth(col, toPixels(m_colTwips[col])); }
void FlexGrid::applyRowHeight(int row) { QTableView::setRowHeight(row, toPixels(m_rowTwips[row])); }

std::int32_t FlexGrid::colWidth(int col) const
{
    return col >= 0 && col < cols() ? m_colTwips[col] : 0;
}

void FlexGrid::setColWidth(int col, std::int32_t twips)
{
    const int first = col < 0 ? 0 : col;
    const int last = col < 0 ? cols() - 1 : std::min(col, cols() - 1);
    for (int c = first; c <= last; ++c) {
        m_colTwips[c] = twips;
        applyColWidth(c);
    }
    if (m_editing)
        placeEditor();
}

std::int32_t FlexGrid::rowHeight(int row) const
{
    return row >= 0 && row < rows() ? m_rowTwips[row] : 0;
}

void FlexGrid::setRowHeight(int row, std::int32_t twips)
{
    const int first = row < 0 ? 0 : row;
    const int last = row < 0 ? rows() - 1 : std::min(row, rows() - 1);
    for (int r = first; r <= last; ++r) {
        m_rowTwips[r] = twips;
        applyRowHeight(r);
    }
    if (m_editing)
        placeEditor();
}

void FlexGrid::setColAlignment(int col, int alignment)
{
    const int first = col < 0 ? 0 : col;
    const int last = col < 0 ? cols() - 1 : std::min(col, cols() - 1);
    for (int c = first; c <= last; ++c)
        m_colAlignment[c] = alignment;
    if (m_editing)
        styleEditor();
    viewport()->update();
}

int FlexGrid::colAlignment(int col) const
{
    return col >= 0 && col < cols() ? m_colAlignment[col] : kDefaultCellAlignment;
}

void FlexGrid::setFontSize(double points)
{
    m_font.setPointSizeF(points);
    if (m_editing)
        styleEditor();
    viewport()->update();
}

QString FlexGrid::cellText(int row, int col) const
{
    return validCell(row, col) ? m_model->cell(row, col).text : QString();
}

void FlexGrid::setCellText(int row, int col, const QString &text)
{
    setCell(CellProperty::Text, row, col, -1, -1, text);
}

void FlexGrid::setCell(CellProperty prop, int fromRow, int fromCol, int toRow, int toCol, const QVariant &value)
{
    if (toRow < 0 || toCol < 0) {
        toRow = fromRow;
        toCol = fromCol;
    }
    if (fromRow > toRow)
        std::swap(fromRow, toRow);
    if (fromCol > toCol)
        std::swap(fromCol, toCol);
    fromRow = std::max(fromRow, 0);
    fromCol = std::max(fromCol, 0);
    toRow = std::min(toRow, rows() - 1);
    toCol = std::min(toCol, cols() - 1);
    if (fromRow > toRow || fromCol > toCol)
        return;

    const QString text = prop == CellProperty::Text ? value.toString() : QString();
    std::optional<ColorRef> back;
    if (prop == CellProperty::BackgroundColour && value.isValid() && !value.toString().isEmpty())
        back = static_cast<ColorRef>(value.toUInt());
    for (int r = fromRow; r <= toRow; ++r) {
        for (int c = fromCol; c <= toCol; ++c) {
            detail::Cell &cell = m_model->cell(r, c);
            if (prop == CellProperty::Text)
                cell.text = text;
            else
                cell.back = back;
        }
    }
    m_model->changed(fromRow, fromCol, toRow, toCol);
    const bool coversEditedCell =
        m_editing && m_row >= fromRow && m_row <= toRow && m_col >= fromCol && m_col <= toCol;
    if (prop == CellProperty::BackgroundColour && coversEditedCell)
        styleEditor();
}

ColorRef FlexGrid::cellBackgroundColour(int row, int col) const
{
    return validCell(row, col) ? m_model->cell(row, col).back.value_or(m_backgroundColour) : m_backgroundColour;
}

void FlexGrid::setBackgroundColour(ColorRef color)
{
    m_backgroundColour = color;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, toQColor(color));
    pal.setColor(QPalette::Window, toQColor(color));
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    if (m_editing)
        styleEditor();
    viewport()->update();
}

void FlexGrid::setCol(int col)
{
    if (col >= 0 && col < cols())
        requestMove(m_row, col);
}

void FlexGrid::setRow(int row)
{
    if (row >= 0 && row < rows())
        requestMove(row, m_col);
}

void FlexGrid::requestMove(int row, int col)
{
    if (!validCell(row, col) || (row == m_row && col == m_col))
        return;
    if (m_keyPressDepth > 0) {
        // The character being typed belongs to the cell it was typed in.
        m_pendingMove = std::make_pair(row, col);
        return;
    }
    bool cancel = false;
    if (m_events)
        m_events->beforeRowColChange(m_row, m_col, row, col, cancel);
    if (cancel)
        return;
    const int oldRow = m_row;
    const int oldCol = m_col;
    finishEditing();
    m_row = row;
    m_col = col;
    viewport()->update();
    if (m_events)
        m_events->afterRowColChange(oldRow, oldCol, row, col);
}

void FlexGrid::select(int fromRow, int fromCol, int toRow, int toCol)
{
    if (!validCell(fromRow, fromCol))
        return;
    if (toRow < 0 || toCol < 0) {
        toRow = fromRow;
        toCol = fromCol;
    }
    toRow = std::clamp(toRow, 0, rows() - 1);
    toCol = std::clamp(toCol, 0, cols() - 1);
    requestMove(fromRow, fromCol);
    if (m_row == fromRow && m_col == fromCol)
        m_selection = Range{std::min(fromRow, toRow), std::min(fromCol, toCol), std::max(fromRow, toRow),
                            std::max(fromCol, toCol)};
}

void FlexGrid::setSelectionBorders(ColorRef color, int left, int top, int right, int bottom, int vertical,
                                   int horizontal)
{
    const Range s = m_selection;
    if (!validCell(s.firstRow, s.firstCol) || !validCell(s.lastRow, s.lastCol))
        return;
    auto apply = [color](detail::Edge &edge, int width) {
        if (width >= 0)
            edge = detail::Edge{width, color};
    };
    for (int r = s.firstRow; r <= s.lastRow; ++r) {
        for (int c = s.firstCol; c <= s.lastCol; ++c) {
            detail::Cell &cell = m_model->cell(r, c);
            if (c == s.firstCol)
                apply(cell.left, left);
            if (r == s.firstRow)
                apply(cell.top, top);
            apply(cell.right, c == s.lastCol ? right : vertical);
            apply(cell.bottom, r == s.lastRow ? bottom : horizontal);
        }
    }
    m_model->changed(s.firstRow, s.firstCol, s.lastRow, s.lastCol);
}

QRect FlexGrid::cellRect(int row, int col) const
{
    if (!validCell(row, col))
        return {};
    return QRect(columnViewportPosition(col), rowViewportPosition(row), columnWidth(col), QTableView::rowHeight(row));
}

} // namespace vk
