#pragma once

class QComboBox;
class QWidget;

namespace vk {

// Lays out the settings panel's children for the panel's present size:
// START centred 15 pixels above the bottom, the label ending 15 pixels left
// of START's centre line and 15 pixels above it, the combo box starting on
// the centre line. Positions are kept as real numbers until they are
// placed, so a half pixel in START's place does not shift its neighbours.
void layoutSettingsPanel(const QWidget &settingsPanel, QWidget &startButton, QWidget &clockChoiceLabel, QWidget &clockChoice);

// The same, and the factors' length on the clock choice's row to its right:
// its label 30 pixels after the clock choice, at the clock label's height,
// and its combo box 15 pixels after that label, as high as the clock choice.
// START and the clock choice stand exactly where they would without it.
void layoutSettingsPanel(const QWidget &settingsPanel, QWidget &startButton, QWidget &clockChoiceLabel, QWidget &clockChoice,
                         QWidget &factorChoiceLabel, QWidget &factorChoice);

// The factors' length the choice shows, and the way to show one. A length
// the choice does not offer shows its longest.
int chosenFactorDigits(const QComboBox &factorChoice);
void chooseFactorDigits(QComboBox &factorChoice, int digits);

// START's size and the combo boxes' widths on the panel.
inline constexpr int kStartButtonWidth = 175;
inline constexpr int kStartButtonHeight = 45;
inline constexpr int kTimerComboWidth = 140;
inline constexpr int kFactorComboWidth = 70;

} // namespace vk
