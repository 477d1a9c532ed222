#include "grid/grideditor.h"

#include "grid/flexgrid.h"

#include <QKeyEvent>

namespace vk::detail {

GridEditor::GridEditor(FlexGrid *grid)
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

bool GridEditor::event(QEvent *e)
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

void GridEditor::keyPressEvent(QKeyEvent *e)
{
    e->accept();
    m_grid->editorKeyPress(e);
}

void GridEditor::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton) {
        e->accept();
        return;
    }
    QLineEdit::mousePressEvent(e);
}

void GridEditor::mouseReleaseEvent(QMouseEvent *e)
{
    // A middle-button release is where the selection clipboard gets pasted.
    if (e->button() != Qt::LeftButton) {
        e->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(e);
}

void GridEditor::mouseMoveEvent(QMouseEvent *e)
{
    // No drag-selecting or starting drags out of a one-digit cell.
    e->accept();
}

void GridEditor::contextMenuEvent(QContextMenuEvent *e) { e->accept(); }
void GridEditor::dragEnterEvent(QDragEnterEvent *e) { e->ignore(); }
void GridEditor::dragMoveEvent(QDragMoveEvent *e) { e->ignore(); }
void GridEditor::dropEvent(QDropEvent *e) { e->ignore(); }
void GridEditor::inputMethodEvent(QInputMethodEvent *e) { e->ignore(); }

void GridEditor::focusInEvent(QFocusEvent *e)
{
    QLineEdit::focusInEvent(e);
    m_grid->focusEntered();
}

void GridEditor::focusOutEvent(QFocusEvent *e)
{
    QLineEdit::focusOutEvent(e);
    m_grid->focusLeft();
}

} // namespace vk::detail
