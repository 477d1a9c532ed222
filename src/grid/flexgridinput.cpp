// FlexGrid's editor session and its input: keys, mouse and focus.
#include "grid/flexgrid.h"

#include "grid/cellstyle.h"
#include "grid/grideditor.h"
#include "grid/gridmodel.h"

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>

namespace vk {

namespace {

// What QLineEdit takes as no limit at all.
constexpr int kUnlimitedLength = 32767;
constexpr char16_t kBackspaceCharacter = u'\b';
constexpr char16_t kDeleteCharacter = u'\x7f';
constexpr char16_t kFirstPrintable = u' ';

} // namespace

QString FlexGrid::editText() const { return m_editing ? m_editor->text() : cellText(m_row, m_col); }

void FlexGrid::setEditMaxLength(int length)
{
    m_editMaxLength = std::max(0, length);
    if (m_editing)
        m_editor->setMaxLength(m_editMaxLength > 0 ? m_editMaxLength : kUnlimitedLength);
}

void FlexGrid::placeEditor() { m_editor->setGeometry(cellRect(m_row, m_col)); }

void FlexGrid::styleEditor()
{
    const QColor back = toQColor(cellBackgroundColour(m_row, m_col));
    QPalette pal = m_editor->palette();
    pal.setColor(QPalette::Base, back);
    pal.setColor(QPalette::Text, Qt::black);
    // A selected digit must not hide the cell's colour.
    pal.setColor(QPalette::Highlight, back);
    pal.setColor(QPalette::HighlightedText, Qt::black);
    m_editor->setPalette(pal);
    m_editor->setFont(m_font);
    const int align = validCell(m_row, m_col) ? m_colAlignment[m_col] : kDefaultCellAlignment;
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
    m_editor->setMaxLength(m_editMaxLength > 0 ? m_editMaxLength : kUnlimitedLength);
    m_editor->setText(cellText(m_row, m_col));
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
    const int virtualKey = virtualKeyCode(e->key(), e->modifiers());
    int keyCode = virtualKey;
    if (m_events)
        m_events->keyDownEdit(row, col, keyCode, shiftState(e->modifiers()));
    // A handler that moved the cursor or closed the editor has taken the key.
    if (session != m_editSession || !m_editing || (virtualKey != VirtualKey::None && keyCode == VirtualKey::None))
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

    int character = text.at(0).unicode();
    ++m_keyPressDepth;
    if (m_events)
        m_events->keyPressEdit(row, col, character);
    --m_keyPressDepth;
    if (session == m_editSession && m_editing && character != 0) {
        if (character == kBackspaceCharacter) {
            if (m_editor->hasSelectedText())
                m_editor->del();
            else
                m_editor->backspace();
        } else if (character >= kFirstPrintable && character != kDeleteCharacter) {
            // insert() honours the length limit and replaces a selection.
            m_editor->insert(QString(QChar(character)));
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
