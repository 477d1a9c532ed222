#include "platform/windowdrag.h"

#include <QWidget>
#include <QWindow>

namespace vk {

void WindowDrag::begin(QWidget &window, QPoint globalPos)
{
    m_grip.reset();
    if (QWindow *handle = window.windowHandle(); handle && handle->startSystemMove())
        return;
    m_grip = globalPos - window.pos();
}

void WindowDrag::follow(QWidget &window, QPoint globalPos)
{
    if (m_grip)
        window.move(globalPos - *m_grip);
}

} // namespace vk
