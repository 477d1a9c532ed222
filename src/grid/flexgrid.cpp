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
    m_tpp = twipsPerPixel;
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
    setBackColor(m_backColor);

    m_editor = new detail::GridEditor(this);
}

FlexGrid::~FlexGrid() = default;

QLineEdit *FlexGrid::editor() const { return m_editor; }

int FlexGrid::toPixels(std::int32_t twips) const
{
    return std::max(0, roundHalfEven(Twips::toPixels(twips, m_tpp)));
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
    m_colAlign.resize(cols, kDefaultCellAlignment);
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
        m_colAlign[c] = alignment;
    if (m_editing)
        styleEditor();
    viewport()->update();
}

int FlexGrid::colAlignment(int col) const
{
    return col >= 0 && col < cols() ? m_colAlign[col] : kDefaultCellAlignment;
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

void FlexGrid::setCellText(int row, int col, const QString &text) { setCell(CellProperty::Text, row, col, -1, -1, text); }

void FlexGrid::setCell(CellProperty prop, int r1, int c1, int r2, int c2, const QVariant &value)
{
    if (r2 < 0 || c2 < 0) {
        r2 = r1;
        c2 = c1;
    }
    if (r1 > r2)
        std::swap(r1, r2);
    if (c1 > c2)
        std::swap(c1, c2);
    r1 = std::max(r1, 0);
    c1 = std::max(c1, 0);
    r2 = std::min(r2, rows() - 1);
    c2 = std::min(c2, cols() - 1);
    if (r1 > r2 || c1 > c2)
        return;

    const QString text = prop == CellProperty::Text ? value.toString() : QString();
    std::optional<ColorRef> back;
    if (prop == CellProperty::BackgroundColour && value.isValid() && !value.toString().isEmpty())
        back = static_cast<ColorRef>(value.toUInt());
    for (int r = r1; r <= r2; ++r) {
        for (int c = c1; c <= c2; ++c) {
            detail::Cell &cell = m_model->cell(r, c);
            if (prop == CellProperty::Text)
                cell.text = text;
            else
                cell.back = back;
        }
    }
    m_model->changed(r1, c1, r2, c2);
    if (prop == CellProperty::BackgroundColour && m_editing && m_row >= r1 && m_row <= r2 && m_col >= c1 && m_col <= c2)
        styleEditor();
}

ColorRef FlexGrid::cellBackColor(int row, int col) const
{
    return validCell(row, col) ? m_model->cell(row, col).back.value_or(m_backColor) : m_backColor;
}

void FlexGrid::setBackColor(ColorRef color)
{
    m_backColor = color;
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

void FlexGrid::select(int r1, int c1, int r2, int c2)
{
    if (!validCell(r1, c1))
        return;
    if (r2 < 0 || c2 < 0) {
        r2 = r1;
        c2 = c1;
    }
    r2 = std::clamp(r2, 0, rows() - 1);
    c2 = std::clamp(c2, 0, cols() - 1);
    requestMove(r1, c1);
    if (m_row == r1 && m_col == c1)
        m_selection = Range{std::min(r1, r2), std::min(c1, c2), std::max(r1, r2), std::max(c1, c2)};
}

void FlexGrid::cellBorder(ColorRef color, int left, int top, int right, int bottom, int vertical, int horizontal)
{
    const Range s = m_selection;
    if (!validCell(s.r1, s.c1) || !validCell(s.r2, s.c2))
        return;
    auto apply = [color](detail::Edge &edge, int width) {
        if (width >= 0)
            edge = detail::Edge{width, color};
    };
    for (int r = s.r1; r <= s.r2; ++r) {
        for (int c = s.c1; c <= s.c2; ++c) {
            detail::Cell &cell = m_model->cell(r, c);
            if (c == s.c1)
                apply(cell.left, left);
            if (r == s.r1)
                apply(cell.top, top);
            apply(cell.right, c == s.c2 ? right : vertical);
            apply(cell.bottom, r == s.r2 ? bottom : horizontal);
        }
    }
    m_model->changed(s.r1, s.c1, s.r2, s.c2);
}

QRect FlexGrid::cellRect(int row, int col) const
{
    if (!validCell(row, col))
        return {};
    return QRect(columnViewportPosition(col), rowViewportPosition(row), columnWidth(col), QTableView::rowHeight(row));
}

} // namespace vk
