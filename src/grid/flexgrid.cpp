#include "grid/flexgrid.h"

#include "platform/fonts.h"
#include "platform/rounding.h"
#include "platform/twips.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStyledItemDelegate>

#include <algorithm>

namespace vk {

namespace {

constexpr std::int32_t kDefaultColTwips = 960;
constexpr std::int32_t kDefaultRowTwips = 240;
constexpr int kDefaultAlignment = 1; // left, centred vertically

QColor toQColor(ColorRef c)
{
    const Rgb rgb = fromColorRef(c);
    return QColor(rgb.r, rgb.g, rgb.b);
}

Qt::Alignment toQtAlignment(int alignment)
{
    if (alignment < 0 || alignment > 8)
        alignment = kDefaultAlignment;
    Qt::Alignment a;
    switch (alignment / 3) {
    case 0: a = Qt::AlignLeft; break;
    case 1: a = Qt::AlignHCenter; break;
    default: a = Qt::AlignRight; break;
    }
    switch (alignment % 3) {
    case 0: a |= Qt::AlignTop; break;
    case 1: a |= Qt::AlignVCenter; break;
    default: a |= Qt::AlignBottom; break;
    }
    return a;
}

struct Edge {
    int width = 0;
    ColorRef color = 0;
};

// The character a key types. With Ctrl (and not AltGr's Ctrl+Alt) a letter
// types its control code whatever text the platform reports, so Ctrl+V
// arrives as 22 and never as 'v'; other Ctrl combinations type nothing.
QString typedCharacter(const QKeyEvent *e)
{
    const Qt::KeyboardModifiers mods = e->modifiers();
    if (mods.testFlag(Qt::ControlModifier) && !mods.testFlag(Qt::AltModifier)) {
        const int key = e->key();
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return QString(QChar(key - Qt::Key_A + 1));
        const QString text = e->text();
        return text.size() == 1 && text.at(0).unicode() < 32 ? text : QString();
    }
    return e->text();
}

} // namespace

int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers)
{
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return (keypad ? vkey::Numpad0 : '0') + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return vkey::F1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace: return vkey::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vkey::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vkey::Return;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return vkey::Escape;
    case Qt::Key_Space: return vkey::Space;
    case Qt::Key_PageUp: return vkey::PageUp;
    case Qt::Key_PageDown: return vkey::PageDown;
    case Qt::Key_End: return vkey::End;
    case Qt::Key_Home: return vkey::Home;
    case Qt::Key_Left: return vkey::Left;
    case Qt::Key_Up: return vkey::Up;
    case Qt::Key_Right: return vkey::Right;
    case Qt::Key_Down: return vkey::Down;
    case Qt::Key_Insert: return vkey::Insert;
    case Qt::Key_Delete: return vkey::Delete;
    // The keypad operators have keys of their own; the same characters typed
    // on the main block (Shift+8 for '*') do not.
    case Qt::Key_Asterisk: return keypad ? vkey::Multiply : 0;
    case Qt::Key_Plus: return keypad ? vkey::Add : 0;
    case Qt::Key_Minus: return keypad ? vkey::Subtract : 0;
    case Qt::Key_Period: return keypad ? vkey::Decimal : 0;
    case Qt::Key_Slash: return keypad ? vkey::Divide : 0;
    default: return 0;
    }
}

int shiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) | (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

namespace detail {

struct Cell {
    QString text;
    std::optional<ColorRef> back;
    Edge left, top, right, bottom;
};

class GridModel final : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_rows; }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_cols; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || role != Qt::DisplayRole)
            return {};
        return cell(index.row(), index.column()).text;
    }
    Qt::ItemFlags flags(const QModelIndex &) const override { return Qt::ItemIsEnabled; }

    void resize(int rows, int cols)
    {
        rows = std::max(0, rows);
        cols = std::max(0, cols);
        if (rows == m_rows && cols == m_cols)
            return;
        beginResetModel();
        std::vector<Cell> cells(static_cast<std::size_t>(rows) * cols);
        for (int r = 0; r < std::min(rows, m_rows); ++r)
            for (int c = 0; c < std::min(cols, m_cols); ++c)
                cells[static_cast<std::size_t>(r) * cols + c] = std::move(cell(r, c));
        m_cells = std::move(cells);
        m_rows = rows;
        m_cols = cols;
        endResetModel();
    }

    Cell &cell(int r, int c) { return m_cells[static_cast<std::size_t>(r) * m_cols + c]; }
    const Cell &cell(int r, int c) const { return m_cells[static_cast<std::size_t>(r) * m_cols + c]; }
    void changed(int r1, int c1, int r2, int c2) { emit dataChanged(index(r1, c1), index(r2, c2)); }

private:
    int m_rows = 0;
    int m_cols = 0;
    std::vector<Cell> m_cells;
};

// Draws each cell entirely: background, centred text, borders. No focus
// frame and no selection colour, so the owner's background colours are
// what the user sees.
class GridDelegate final : public QStyledItemDelegate
{
public:
    GridDelegate(FlexGrid *grid, GridModel *model)
        : QStyledItemDelegate(grid)
        , m_grid(grid)
        , m_model(model)
    {
    }

    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const Cell &cell = m_model->cell(index.row(), index.column());
        const QRect r = option.rect;
        p->fillRect(r, toQColor(cell.back.value_or(m_grid->m_backColor)));
        if (!cell.text.isEmpty()) {
            p->setFont(m_grid->m_font);
            p->setPen(Qt::black);
            p->drawText(r, toQtAlignment(m_grid->m_colAlign[index.column()]) | Qt::TextSingleLine, cell.text);
        }
        if (cell.left.width > 0)
            p->fillRect(QRect(r.left(), r.top(), cell.left.width, r.height()), toQColor(cell.left.color));
        if (cell.top.width > 0)
            p->fillRect(QRect(r.left(), r.top(), r.width(), cell.top.width), toQColor(cell.top.color));
        if (cell.right.width > 0)
            p->fillRect(QRect(r.right() + 1 - cell.right.width, r.top(), cell.right.width, r.height()),
                        toQColor(cell.right.color));
        if (cell.bottom.width > 0)
            p->fillRect(QRect(r.left(), r.bottom() + 1 - cell.bottom.width, r.width(), cell.bottom.width),
                        toQColor(cell.bottom.color));
    }

private:
    FlexGrid *m_grid;
    GridModel *m_model;
};

// The cell editor. Text only ever enters through FlexGrid::editorKeyPress,
// one character at a time: paste, drops, middle-click and input-method
// commits are refused here.
class GridEditor final : public QLineEdit
{
public:
    explicit GridEditor(FlexGrid *grid)
        : QLineEdit(grid->viewport())
        , m_grid(grid)
    {
        setFrame(false);
        setTextMargins(0, 0, 0, 0);
        setAcceptDrops(false);
        setDragEnabled(false);
        setContextMenuPolicy(Qt::NoContextMenu);
        setAttribute(Qt::WA_InputMethodEnabled, false);
        hide();
        connect(this, &QLineEdit::textChanged, this, [this] { m_grid->editorTextChanged(); });
    }

    void baseKeyPress(QKeyEvent *e) { QLineEdit::keyPressEvent(e); }

protected:
    bool event(QEvent *e) override
    {
        // Tab would otherwise move the focus out of the grid.
        if (e->type() == QEvent::KeyPress) {
            auto *k = static_cast<QKeyEvent *>(e);
            if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
                keyPressEvent(k);
                return true;
            }
        }
        // Keep standard shortcuts (Ctrl+V, Shift+Insert) from reaching the window.
        if (e->type() == QEvent::ShortcutOverride) {
            e->accept();
            return true;
        }
        return QLineEdit::event(e);
    }
    void keyPressEvent(QKeyEvent *e) override
    {
        e->accept();
        m_grid->editorKeyPress(e);
    }
    void mousePressEvent(QMouseEvent *e) override
    {
        if (e->button() != Qt::LeftButton) {
            e->accept();
            return;
        }
        QLineEdit::mousePressEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent *e) override
    {
        // A middle-button release is where the selection clipboard gets pasted.
        if (e->button() != Qt::LeftButton) {
            e->accept();
            return;
        }
        QLineEdit::mouseReleaseEvent(e);
    }
    void mouseMoveEvent(QMouseEvent *e) override
    {
        // No drag-selecting or starting drags out of a one-digit cell.
        e->accept();
    }
    void contextMenuEvent(QContextMenuEvent *e) override { e->accept(); }
    void dragEnterEvent(QDragEnterEvent *e) override { e->ignore(); }
    void dragMoveEvent(QDragMoveEvent *e) override { e->ignore(); }
    void dropEvent(QDropEvent *e) override { e->ignore(); }
    void inputMethodEvent(QInputMethodEvent *e) override { e->ignore(); }
    void focusInEvent(QFocusEvent *e) override
    {
        QLineEdit::focusInEvent(e);
        m_grid->focusEntered();
    }
    void focusOutEvent(QFocusEvent *e) override
    {
        QLineEdit::focusOutEvent(e);
        m_grid->focusLeft();
    }

private:
    FlexGrid *m_grid;
};

} // namespace detail

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
    m_colAlign.resize(cols, kDefaultAlignment);
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

void FlexGrid::setFontSize(double points)
{
    m_font.setPointSizeF(points);
    if (m_editing)
        styleEditor();
    viewport()->update();
}

QString FlexGrid::textMatrix(int row, int col) const
{
    return validCell(row, col) ? m_model->cell(row, col).text : QString();
}

void FlexGrid::setTextMatrix(int row, int col, const QString &text) { setCell(CellProp::Text, row, col, -1, -1, text); }

void FlexGrid::setCell(CellProp prop, int r1, int c1, int r2, int c2, const QVariant &value)
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

    const QString text = prop == CellProp::Text ? value.toString() : QString();
    std::optional<ColorRef> back;
    if (prop == CellProp::BackColor && value.isValid() && !value.toString().isEmpty())
        back = static_cast<ColorRef>(value.toUInt());
    for (int r = r1; r <= r2; ++r) {
        for (int c = c1; c <= c2; ++c) {
            detail::Cell &cell = m_model->cell(r, c);
            if (prop == CellProp::Text)
                cell.text = text;
            else
                cell.back = back;
        }
    }
    m_model->changed(r1, c1, r2, c2);
    if (prop == CellProp::BackColor && m_editing && m_row >= r1 && m_row <= r2 && m_col >= c1 && m_col <= c2)
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
    auto apply = [color](Edge &edge, int width) {
        if (width >= 0)
            edge = Edge{width, color};
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

QString FlexGrid::editText() const { return m_editing ? m_editor->text() : textMatrix(m_row, m_col); }

void FlexGrid::setEditMaxLength(int length)
{
    m_editMaxLength = std::max(0, length);
    if (m_editing)
        m_editor->setMaxLength(m_editMaxLength > 0 ? m_editMaxLength : 32767);
}

QRect FlexGrid::cellRect(int row, int col) const
{
    if (!validCell(row, col))
        return {};
    return QRect(columnViewportPosition(col), rowViewportPosition(row), columnWidth(col), QTableView::rowHeight(row));
}

void FlexGrid::placeEditor() { m_editor->setGeometry(cellRect(m_row, m_col)); }

void FlexGrid::styleEditor()
{
    const QColor back = toQColor(cellBackColor(m_row, m_col));
    QPalette pal = m_editor->palette();
    pal.setColor(QPalette::Base, back);
    pal.setColor(QPalette::Text, Qt::black);
    // A selected digit must not hide the cell's colour.
    pal.setColor(QPalette::Highlight, back);
    pal.setColor(QPalette::HighlightedText, Qt::black);
    m_editor->setPalette(pal);
    m_editor->setFont(m_font);
    const int align = validCell(m_row, m_col) ? m_colAlign[m_col] : kDefaultAlignment;
    m_editor->setAlignment(toQtAlignment(align));
}

void FlexGrid::editCell()
{
    if (!validCell(m_row, m_col))
        return;
    bool cancel = false;
    if (m_events)
        m_events->beforeEdit(m_row, m_col, cancel);
    if (cancel) {
        finishEditing();
        return;
    }
    if (m_editing)
        return;
    m_editing = true;
    ++m_editSession;
    m_loadingEditor = true;
    m_editor->setMaxLength(m_editMaxLength > 0 ? m_editMaxLength : 32767);
    m_editor->setText(textMatrix(m_row, m_col));
    m_editor->selectAll();
    m_loadingEditor = false;
    styleEditor();
    placeEditor();
    m_editor->show();
    if (hasFocus())
        m_editor->setFocus(Qt::OtherFocusReason);
}

void FlexGrid::finishEditing()
{
    if (!m_editing)
        return;
    m_editing = false;
    ++m_editSession;
    if (validCell(m_row, m_col) && m_model->cell(m_row, m_col).text != m_editor->text()) {
        m_model->cell(m_row, m_col).text = m_editor->text();
        m_model->changed(m_row, m_col, m_row, m_col);
    }
    if (m_editor->hasFocus())
        setFocus(Qt::OtherFocusReason);
    m_editor->hide();
}

void FlexGrid::discardEditing()
{
    if (!m_editing)
        return;
    m_editing = false;
    ++m_editSession;
    if (m_editor->hasFocus())
        setFocus(Qt::OtherFocusReason);
    m_editor->hide();
}

bool FlexGrid::navigate(int key, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const int lastRow = rows() - 1;
    const int lastCol = cols() - 1;
    int r = m_row;
    int c = m_col;
    switch (key) {
    case Qt::Key_Left: --c; break;
    case Qt::Key_Right: ++c; break;
    case Qt::Key_Up: --r; break;
    case Qt::Key_Down: ++r; break;
    case Qt::Key_Home:
        c = 0;
        if (ctrl)
            r = 0;
        break;
    case Qt::Key_End:
        c = lastCol;
        if (ctrl)
            r = lastRow;
        break;
    case Qt::Key_PageUp: r = 0; break;
    case Qt::Key_PageDown: r = lastRow; break;
    default: return false;
    }
    r = std::clamp(r, 0, std::max(0, lastRow));
    c = std::clamp(c, 0, std::max(0, lastCol));
    requestMove(r, c);
    return true;
}

void FlexGrid::editorKeyPress(QKeyEvent *e)
{
    if (!m_keyboardInput)
        return;
    const std::uint64_t session = m_editSession;
    const int row = m_row;
    const int col = m_col;
    const int vk = virtualKeyCode(e->key(), e->modifiers());
    int keyCode = vk;
    if (m_events)
        m_events->keyDownEdit(row, col, keyCode, shiftState(e->modifiers()));
    // A handler that moved the cursor or closed the editor has taken the key.
    if (session != m_editSession || !m_editing || (vk != 0 && keyCode == 0))
        return;

    const int key = e->key();
    const bool empty = m_editor->text().isEmpty();
    if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown ||
(empty && (key == Qt::Key_Left || key == Qt::Key_Right))) {
        navigate(key, e->modifiers());
        return;
    }

    const QString text = typedCharacter(e);
    if (text.size() != 1) {
        // Keys without a character only move the caret; Delete, Insert and
        // the clipboard shortcuts change nothing.
        if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End)
            m_editor->baseKeyPress(e);
        return;
    }

    int ascii = text.at(0).unicode();
    ++m_keyPressDepth;
    if (m_events)
        m_events->keyPressEdit(row, col, ascii);
    --m_keyPressDepth;
    if (session == m_editSession && m_editing && ascii != 0) {
        if (ascii == vkey::Back) {
            if (m_editor->hasSelectedText())
                m_editor->del();
            else
                m_editor->backspace();
        } else if (ascii >= 32 && ascii != 127) {
            // insert() honours the length limit and replaces a selection.
            m_editor->insert(QString(QChar(ascii)));
        }
    }
    if (m_keyPressDepth == 0 && m_pendingMove) {
        const auto [r, c] = *m_pendingMove;
        m_pendingMove.reset();
        requestMove(r, c);
    }
}

void FlexGrid::editorTextChanged()
{
    if (m_loadingEditor || !m_editing)
        return;
    if (m_events)
        m_events->changeEdit();
}

void FlexGrid::focusEntered()
{
    if (m_focusInside)
        return;
    m_focusInside = true;
    if (m_events)
        m_events->gotFocus();
}

void FlexGrid::focusLeft()
{
    const QWidget *now = QApplication::focusWidget();
    m_focusInside = now && (now == this || isAncestorOf(now));
}

// Tab neither leaves the grid nor moves its cursor: it is an ordinary key.
bool FlexGrid::event(QEvent *e)
{
    if (e->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(e);
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            keyPressEvent(k);
            return true;
        }
    }
    return QTableView::event(e);
}

void FlexGrid::keyPressEvent(QKeyEvent *e)
{
    e->accept();
    if (!m_keyboardInput)
        return;
    if (m_editing) {
        editorKeyPress(e);
        return;
    }
    if (navigate(e->key(), e->modifiers()))
        return;
    switch (e->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
        return;
    default: break;
    }
    // Any other key starts editing and is then the editor's.
    editCell();
    if (m_editing)
        editorKeyPress(e);
}

void FlexGrid::mousePressEvent(QMouseEvent *e)
{
    e->accept();
    if (e->button() != Qt::LeftButton)
        return;
    if (!hasFocus() && !m_editor->hasFocus())
        setFocus(Qt::MouseFocusReason);
    const QModelIndex index = indexAt(e->position().toPoint());
    if (!index.isValid())
        return;
    if (index.row() == m_row && index.column() == m_col)
        editCell();
    else
        requestMove(index.row(), index.column());
}

void FlexGrid::mouseMoveEvent(QMouseEvent *e) { e->accept(); }
void FlexGrid::mouseReleaseEvent(QMouseEvent *e) { e->accept(); }
void FlexGrid::mouseDoubleClickEvent(QMouseEvent *e) { mousePressEvent(e); }
void FlexGrid::wheelEvent(QWheelEvent *e) { e->accept(); }
void FlexGrid::contextMenuEvent(QContextMenuEvent *e) { e->accept(); }

void FlexGrid::focusInEvent(QFocusEvent *e)
{
    QWidget::focusInEvent(e);
    focusEntered();
    if (m_editing && !m_editor->hasFocus())
        m_editor->setFocus(e->reason());
}

void FlexGrid::focusOutEvent(QFocusEvent *e)
{
    QWidget::focusOutEvent(e);
    focusLeft();
}

} // namespace vk
