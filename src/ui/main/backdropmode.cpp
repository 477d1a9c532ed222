#include "ui/main/backdropmode.h"

#include "platform/form.h"
#include "skin/appcontext.h"
#include "ui/main/workarea.h"

namespace vk {

void BackdropMode::toggle(Form &main)
{
    m_on = !m_on;
    if (m_on) {
        centerOnWorkArea(main, m_ctx.screen);
        if (Form *backdrop = m_ctx.windows.get(kBackdropWindowName)) {
            backdrop->show();
            // Behind the program's windows even where no window manager
            // honours the stay-below hint.
            backdrop->lower();
        }
    } else if (Form *backdrop = m_ctx.windows.find(kBackdropWindowName)) {
        backdrop->hide();
    }
}

void BackdropMode::hideIfOn()
{
    if (!m_on)
        return;
    if (Form *backdrop = m_ctx.windows.find(kBackdropWindowName))
        backdrop->hide();
}

} // namespace vk
