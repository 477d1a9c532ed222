#include "ui/main/settingspanel.h"

#include "platform/surface.h"

#include <QWidget>

namespace vk {

void layoutSettingsPanel(const QWidget &picAyarlar, QWidget &btnStart, QWidget &lbBilgi, QWidget &cmbTimer)
{
    const double sw = picAyarlar.width();
    const double sh = picAyarlar.height();

    const double startLeft = (sw - kStartButtonWidth) / 2;
    const double startTop = sh - 60;
    moveControl(btnStart, startLeft, startTop, kStartButtonWidth, kStartButtonHeight);

    const double labelLeft = startLeft + kStartButtonWidth / 2.0 - lbBilgi.width() - 15;
    const double labelTop = startTop - lbBilgi.height() - 15;
    moveControl(lbBilgi, labelLeft, labelTop);

    moveControl(cmbTimer, labelLeft + lbBilgi.width() + 15, labelTop - 4, kTimerComboWidth, cmbTimer.height());
}

} // namespace vk
