#include "ui/main/settingspanel.h"

#include "platform/movecontrol.h"

#include <QComboBox>
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

void layoutSettingsPanel(const QWidget &settingsPanel, QWidget &startButton, QWidget &clockChoiceLabel, QWidget &clockChoice,
                         QWidget &factorChoiceLabel, QWidget &factorChoice)
{
    layoutSettingsPanel(settingsPanel, startButton, clockChoiceLabel, clockChoice);
    const int labelLeft = clockChoice.x() + clockChoice.width() + 30;
    moveControl(factorChoiceLabel, labelLeft, clockChoiceLabel.y());
    moveControl(factorChoice, labelLeft + factorChoiceLabel.width() + 15, clockChoice.y(), kFactorComboWidth,
                factorChoice.height());
}

int chosenFactorDigits(const QComboBox &factorChoice)
{
    bool ok = false;
    const int digits = factorChoice.currentText().toInt(&ok);
    return ok ? digits : factorChoice.itemText(factorChoice.count() - 1).toInt();
}

void chooseFactorDigits(QComboBox &factorChoice, int digits)
{
    const int index = factorChoice.findText(QString::number(digits));
    factorChoice.setCurrentIndex(index >= 0 ? index : factorChoice.count() - 1);
}

} // namespace vk
