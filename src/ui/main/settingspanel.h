#pragma once

class QWidget;

namespace vk {

// Lays out the settings panel's children for the panel's present size:
// START centred 15 pixels above the bottom, the label ending 15 pixels left
// of START's centre line and 15 pixels above it, the combo box starting on
// the centre line. Positions are kept as real numbers until they are
// placed, so a half pixel in START's place does not shift its neighbours.
void layoutSettingsPanel(const QWidget &settingsPanel, QWidget &startButton, QWidget &clockChoiceLabel, QWidget &clockChoice);

// START's size and the combo box's width on the panel.
inline constexpr int kStartButtonWidth = 175;
inline constexpr int kStartButtonHeight = 45;
inline constexpr int kTimerComboWidth = 140;

} // namespace vk
