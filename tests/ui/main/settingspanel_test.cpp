#include "ui/main/settingspanel.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

namespace vk {
namespace {

// The button stays centred 15 pixels above the bottom; the label ends 15
// pixels left of the button's centre line and the combo box starts on it.
TEST(SettingsPanel, childrenMeetAroundStartsCentreLine)
{
    struct Case { QSize panel; QRect start; QPoint label; QRect combo; };
    const Case cases[] = {
        {{750, 120}, {288, 60, 175, 45}, {213, 26}, {375, 22, 140, 27}}, // 287.5 -> 288; centre line at 375
        {{600, 200}, {212, 140, 175, 45}, {138, 106}, {300, 102, 140, 27}}, // 212.5 -> 212; centre line at 300
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.panel.width());
        QWidget panel;
        panel.resize(c.panel);
        QPushButton start(&panel);
        QLabel label(&panel);
        label.resize(147, 19);
        QComboBox combo(&panel);
        combo.resize(137, 27);

        layoutSettingsPanel(panel, start, label, combo);

        EXPECT_EQ(start.geometry(), c.start);
        EXPECT_EQ(label.pos(), c.label);
        EXPECT_EQ(label.size(), QSize(147, 19)) << "the label keeps its size";
        EXPECT_EQ(combo.geometry(), c.combo);
    }
}

// A longer caption moves the label's left edge, not its right end.
TEST(SettingsPanel, aWiderLabelGrowsToTheLeft)
{
    QWidget panel;
    panel.resize(750, 120);
    QPushButton start(&panel);
    QLabel label(&panel);
    QComboBox combo(&panel);
    for (const int width : {100, 147, 230}) {
        label.resize(width, 19);
        layoutSettingsPanel(panel, start, label, combo);
        EXPECT_EQ(label.x() + label.width(), 360);
        EXPECT_EQ(combo.x(), 375);
    }
}

// The panel's five children, at the sizes their texts give them.
struct PanelChildren {
    explicit PanelChildren(QSize size)
    {
        panel.resize(size);
        label.resize(147, 19);
        combo.resize(137, 27);
        factorLabel.resize(62, 19);
        factorCombo.resize(50, 27);
    }
    QWidget panel;
    QPushButton start{&panel};
    QLabel label{&panel};
    QComboBox combo{&panel};
    QLabel factorLabel{&panel};
    QComboBox factorCombo{&panel};
};

// The factors' length goes to the clock choice's right on its row (its
// label 30 pixels on, its combo box 15 after the label), and START and the
// clock choice stand exactly where they stand without it.
TEST(SettingsPanel, theFactorChoiceFollowsTheClockChoiceAndMovesNothingElse)
{
    struct Case { QSize panel; QPoint label; QRect combo; };
    const Case cases[] = {
        {{750, 120}, {545, 26}, {622, 22, 70, 27}},
        {{600, 200}, {470, 106}, {547, 102, 70, 27}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.panel.width());
        PanelChildren p(c.panel);
        layoutSettingsPanel(p.panel, p.start, p.label, p.combo);
        const QRect alone[] = {p.start.geometry(), p.label.geometry(), p.combo.geometry()};
        layoutSettingsPanel(p.panel, p.start, p.label, p.combo, p.factorLabel, p.factorCombo);

        EXPECT_EQ(p.start.geometry(), alone[0]);
        EXPECT_EQ(p.label.geometry(), alone[1]);
        EXPECT_EQ(p.combo.geometry(), alone[2]);
        EXPECT_EQ(p.factorLabel.pos(), c.label);
        EXPECT_EQ(p.factorLabel.size(), QSize(62, 19)) << "the label keeps its size";
        EXPECT_EQ(p.factorCombo.geometry(), c.combo);
    }
}

} // namespace
} // namespace vk
