#pragma once

#include <QLineEdit>

namespace vk {

class FlexGrid;

namespace detail {

// The cell editor. Text only ever enters through FlexGrid::editorKeyPress,
// one character at a time: paste, drops, middle-click and input-method
// commits are refused here.
class GridEditor final : public QLineEdit
{
public:
    explicit GridEditor(FlexGrid *grid);

    // QLineEdit's own handling of a key, for the caret moves the grid allows.
    void baseKeyPress(QKeyEvent *e) { QLineEdit::keyPressEvent(e); }

protected:
    bool event(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dragMoveEvent(QDragMoveEvent *e) override;
    void dropEvent(QDropEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    FlexGrid *m_grid;
};

} // namespace detail
} // namespace vk
