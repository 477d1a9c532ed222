#pragma once

#include "grid/keytranslation.h"
#include "platform/colorref.h"

#include <QFont>
#include <QLineEdit>
#include <QTableView>
#include <QVariant>

#include <cstdint>
#include <optional>
#include <vector>

namespace vk {

class FlexGrid;

// What the grid tells its owner. Every handler runs synchronously; the
// reference arguments are read back when the handler returns.
class FlexGridEvents
{
public:
    virtual ~FlexGridEvents() = default;
    // The keyboard focus entered the grid (or its editor) from outside.
    virtual void gotFocus() {}
    // The current cell is about to move; cancel = true keeps it where it is.
    virtual void beforeRowColChange(int oldRow, int oldCol, int newRow, int newCol, bool &cancel)
    {
        Q_UNUSED(oldRow) Q_UNUSED(oldCol) Q_UNUSED(newRow) Q_UNUSED(newCol) Q_UNUSED(cancel)
    }
    // Raised after every accepted move.
    virtual void afterRowColChange(int oldRow, int oldCol, int newRow, int newCol)
    {
        Q_UNUSED(oldRow) Q_UNUSED(oldCol) Q_UNUSED(newRow) Q_UNUSED(newCol)
    }
    // An editor is about to open on (row, col); cancel = true opens none.
    virtual void beforeEdit(int row, int col, bool &cancel) { Q_UNUSED(row) Q_UNUSED(col) Q_UNUSED(cancel) }
    // A character key in the editor, with the character's code; character = 0
    // drops it. A column change requested from here is carried out after the
    // character has landed.
    virtual void keyPressEdit(int row, int col, int &character) { Q_UNUSED(row) Q_UNUSED(col) Q_UNUSED(character) }
    // Any key in the editor, before its character: a VirtualKey code, which
    // a handler sets to VirtualKey::None to drop the key; shiftState holds
    // ShiftStateBit bits.
    virtual void keyDownEdit(int row, int col, int &keyCode, int shiftState)
    {
        Q_UNUSED(row) Q_UNUSED(col) Q_UNUSED(keyCode) Q_UNUSED(shiftState)
    }
    // The editor's text changed; the edited cell is still the current one.
    virtual void changeEdit() {}
};

// What setCell sets. The numbers are the classic grid control's property ids.
enum class CellProperty {
    Text = 0,
    BackgroundColour = 6,
};

namespace detail {
class GridModel;
class GridEditor;
class GridDelegate;
} // namespace detail

// A grid of text cells with a single-line editor on the current cell. Every
// move of the current cell -- keyboard, mouse or program -- goes through
// beforeRowColChange first. Sizes are in twips, colours 0x00BBGGRR.
class FlexGrid : public QTableView
{
    Q_OBJECT

public:
    // twipsPerPixel 0 takes the factor from the screen's logical DPI.
    explicit FlexGrid(QWidget *parent = nullptr, int twipsPerPixel = 0);
    ~FlexGrid() override;

    void setEvents(FlexGridEvents *events) { m_events = events; }
    int twipsPerPixel() const { return m_twipsPerPixel; }

    int rows() const;
    void setRows(int rows);
    int cols() const;
    void setCols(int cols);

    // index -1 addresses every column / row.
    std::int32_t colWidth(int col) const;
    void setColWidth(int col, std::int32_t twips);
    std::int32_t rowHeight(int row) const;
    void setRowHeight(int row, std::int32_t twips);

    // 0 left-top ... 4 centre-centre ... 8 right-bottom, as the grid's
    // alignment numbers run (left/centre/right by three, top/centre/bottom).
    void setColAlignment(int col, int alignment);
    int colAlignment(int col) const;
    void setFontSize(double points);
    const QFont &cellFont() const { return m_font; }

    QString cellText(int row, int col) const;
    void setCellText(int row, int col, const QString &text);

    // Text: value as text. BackgroundColour: a ColorRef, or an empty QVariant
    // for the grid's own background. The block runs between any two opposite
    // corners; toRow/toCol = -1 means the single cell (fromRow, fromCol).
    void setCell(CellProperty prop, int fromRow, int fromCol, int toRow, int toCol, const QVariant &value);
    void setCell(CellProperty prop, int row, int col, const QVariant &value) { setCell(prop, row, col, -1, -1, value); }
    // The background a cell is painted with.
    ColorRef cellBackgroundColour(int row, int col) const;
    ColorRef backgroundColour() const { return m_backgroundColour; }
    void setBackgroundColour(ColorRef color);

    int row() const { return m_row; }
    int col() const { return m_col; }
    void setCol(int col);
    void setRow(int row);

    // The block setSelectionBorders acts on; the current cell becomes
    // (fromRow, fromCol).
    void select(int fromRow, int fromCol, int toRow = -1, int toCol = -1);
    // The selected block's outer edges and the lines between its columns
    // (vertical) and rows (horizontal): -1 leaves a line as it is, 0 removes
    // it, n > 0 draws it n pixels wide.
    void setSelectionBorders(ColorRef color, int left, int top, int right, int bottom, int vertical, int horizontal);

    // The editor's text while editing, else the current cell's text.
    QString editText() const;
    void setEditMaxLength(int length);
    bool isEditing() const { return m_editing; }
    // Opens the editor on the current cell unless beforeEdit cancels; on an
    // editor already open there, asks again and closes it when refused.
    void editCell();
    // While off, keys do nothing at all in the grid: no navigation, no
    // editing, no key events raised. On when the grid is made.
    void setKeyboardInput(bool on) { m_keyboardInput = on; }
    bool keyboardInput() const { return m_keyboardInput; }
    // Writes the editor's text back and closes it.
    void finishEditing();
    // Closes the editor without writing its text into the cell: the cell
    // already holds what the program put there.
    void discardEditing();
    QLineEdit *editor() const;

    using QWidget::move;
    void move(int left, int top, int width, int height) { setGeometry(left, top, width, height); }
    int left() const { return x(); }
    int top() const { return y(); }

    // Where a cell is drawn, in viewport coordinates.
    QRect cellRect(int row, int col) const;

    // Qt's own scrolling would shift the cells off their fixed places.
    void scrollTo(const QModelIndex &, ScrollHint = EnsureVisible) override {}

protected:
    bool event(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
    void startDrag(Qt::DropActions) override {}

private:
    friend class detail::GridEditor;

    struct Range {
        int firstRow = 0, firstCol = 0, lastRow = 0, lastCol = 0;
    };

    bool validCell(int row, int col) const;
    void requestMove(int row, int col);
    bool navigate(int key, Qt::KeyboardModifiers modifiers);
    void placeEditor();
    void styleEditor();
    void applyColWidth(int col);
    void applyRowHeight(int row);
    int toPixels(std::int32_t twips) const;

    // Called by the editor.
    void editorKeyPress(QKeyEvent *e);
    void editorTextChanged();
    void focusEntered();
    void focusLeft();

    detail::GridModel *m_model = nullptr;
    detail::GridEditor *m_editor = nullptr;
    detail::GridDelegate *m_delegate = nullptr;
    FlexGridEvents *m_events = nullptr;
    int m_twipsPerPixel = 15;
    std::vector<std::int32_t> m_colTwips;
    std::vector<std::int32_t> m_rowTwips;
    std::vector<int> m_colAlignment;
    QFont m_font;
    ColorRef m_backgroundColour = 0xEEBC97;
    int m_row = 0;
    int m_col = 0;
    Range m_selection;
    bool m_editing = false;
    std::uint64_t m_editSession = 0;
    int m_editMaxLength = 0;
    bool m_loadingEditor = false;
    bool m_focusInside = false;
    int m_keyPressDepth = 0;
    bool m_keyboardInput = true;
    std::optional<std::pair<int, int>> m_pendingMove;
};

} // namespace vk
