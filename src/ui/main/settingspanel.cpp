#include "ui/main/settingspanel.h"

#include "platform/movecontrol.h"

#include <QWidget>

namespace vk {

void layoutSettingsPanel(const QWidget &settingsPanel, QWidget &startButton, QWidget &clockChoiceLabel, QWidget &clockChoice)
{
    const double sw = settingsPanel.width();
    const double sh = settingsPanel.height();

    const double startLeft = (sw - kStartButtonWidth) / 2;
    const double startTop = sh - 60;
    moveControl(startButton, startLeft, startTop, kStartButtonWidth, kStartButtonHeight);

    const double labelLeft = startLeft + kStartButtonWidth / 2.0 - clockChoiceLabel.width() - 15;
    const double labelTop = startTop - clockChoiceLabel.height() - 15;
    moveControl(clockChoiceLabel, labelLeft, labelTop);

    moveControl(clockChoice, labelLeft + clockChoiceLabel.width() + 15, labelTop - 4, kTimerComboWidth, clockChoice.height());
}

} // namespace vk
