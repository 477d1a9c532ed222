#include "platform/screenmetrics.h"
#include "skin/appcontext.h"
#include "skin/skintemplate.h"
#include "skin/windowdefinitions.h"
#include "support/builtasdefined.h"
#include "support/fakes.h"
#include "support/programdriver.h"
#include "ui/main/mainwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>

namespace vk {
namespace {

// Made from its definition: every control as, where and in the order the
// definition says, and every accessor hands out the control of its name.
// The template is smaller than the built-in one: the hidden template box
// takes the size of the template it is given.
TEST(MainWindowDefinition, aNewWindowIsBuiltAsItsDefinitionSays)
{
    QImage image(640, 400, QImage::Format_RGB32);
    image.fill(QColor(12, 34, 56));
    const SkinTemplate skin{image};
    const test::FakeDayClock clock;
    test::ScriptedRandom random{{0.5}};
    const FixedScreenMetrics screen{QRect(0, 0, 1280, 800)};
    AppContext ctx(skin, clock, random, screen);

    MainWindow w(ctx);
    test::expectBuiltAsDefined(w, mainWindowDefinition(), skin);
    EXPECT_EQ(w.skinTemplate().size(), QSize(640, 400));

    const std::pair<const QObject *, const char *> accessors[] = {
        {&w.settingsPanel(), "settingsPanel"}, {&w.startButton(), "startButton"},
        {&w.clockChoice(), "clockChoice"},     {&w.clockChoiceLabel(), "clockChoiceLabel"},
        {&w.factorChoice(), "factorChoice"},   {&w.factorChoiceLabel(), "factorChoiceLabel"},
        {&w.controlStrip(), "controlStrip"},   {&w.skinTemplate(), "skinTemplate"},
        {&w.addressLabel(), "addressLabel"},   {&w.addressShadowLabel(), "addressShadowLabel"},
    };
    for (const auto &[control, name] : accessors)
        EXPECT_EQ(control->objectName(), QLatin1String(name));
}

// What a user reads and sees on the start screen, written out here rather
// than taken from the window's definition: a mistake in the definition
// shows as a difference.
TEST(MainWindowDefinition, showsTheTextsColoursAndFontsAUserSees)
{
    const SkinTemplate skin;
    const test::FakeDayClock clock;
    test::ScriptedRandom random{{0.5}};
    const FixedScreenMetrics screen{QRect(0, 0, 1280, 800)};
    AppContext ctx(skin, clock, random, screen);
    MainWindow w(ctx);

    const auto expectFont = [](const QWidget &widget, const char *family, double points, bool bold, bool underline) {
        SCOPED_TRACE(widget.objectName().toStdString());
        EXPECT_EQ(widget.font().family(), QLatin1String(family));
        EXPECT_DOUBLE_EQ(widget.font().pointSizeF(), points);
        EXPECT_EQ(widget.font().bold(), bold);
        EXPECT_EQ(widget.font().underline(), underline);
    };
    const auto textColour = [](const QWidget &widget) { return widget.palette().color(QPalette::WindowText); };

    EXPECT_EQ(w.windowTitle(), QStringLiteral("Kelvaris Ostravel"));
    EXPECT_EQ(w.backColor(), QColor(197, 214, 237));
    EXPECT_EQ(w.settingsPanel().backColor(), QColor(197, 214, 237));

    EXPECT_EQ(w.clockChoiceLabel().text(), QStringLiteral("Timer is enabled :"));
    EXPECT_EQ(textColour(w.clockChoiceLabel()), QColor(192, 0, 0)) << "dark red";
    EXPECT_EQ(w.clockChoiceLabel().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    expectFont(w.clockChoiceLabel(), "Tahoma", 12, true, false);

    ASSERT_EQ(w.clockChoice().count(), 2);
    EXPECT_EQ(w.clockChoice().itemText(0), QStringLiteral("Yes"));
    EXPECT_EQ(w.clockChoice().itemText(1), QStringLiteral("No"));
    EXPECT_FALSE(w.clockChoice().isEditable());
    expectFont(w.clockChoice(), "Tahoma", 12, true, false);

    // The factors' length looks like the clock choice and its label.
    EXPECT_EQ(w.factorChoiceLabel().text(), QStringLiteral("Digits :"));
    EXPECT_EQ(textColour(w.factorChoiceLabel()), QColor(192, 0, 0));
    EXPECT_EQ(w.factorChoiceLabel().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    expectFont(w.factorChoiceLabel(), "Tahoma", 12, true, false);
    QStringList lengths;
    for (int i = 0; i < w.factorChoice().count(); ++i)
        lengths << w.factorChoice().itemText(i);
    EXPECT_EQ(lengths, QStringList({"2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16",
                                    "17", "18", "19", "20"}));
    EXPECT_FALSE(w.factorChoice().isEditable());
    expectFont(w.factorChoice(), "Tahoma", 12, true, false);

    EXPECT_EQ(w.startButton().text(), QStringLiteral("START"));
    expectFont(w.startButton(), "Tahoma", 12, true, false);

    for (const QLabel *address : {&w.addressLabel(), &w.addressShadowLabel()}) {
        EXPECT_EQ(address->text(), QStringLiteral("www.kelvaris.example"));
        expectFont(*address, "Tahoma", 9, false, true);
    }
    EXPECT_EQ(textColour(w.addressLabel()), QColor(0, 0, 0));
    EXPECT_EQ(textColour(w.addressShadowLabel()), QColor(207, 207, 207)) << "the grey shadow";
}

// The program started, its window the active one.
bool startedAndActive(test::ProgramDriver &t)
{
    if (!t.app->start())
        return false;
    t.main()->activateWindow();
    return QTest::qWaitForWindowActive(t.main());
}

// On the start screen Tab goes from START to the clock choice, to the
// factors' length and round to START again, Shift+Tab the other way: the
// three controls that show a focus mark, and nowhere else.
TEST(MainWindowKeyboard, tabGoesRoundStartAndTheTwoChoicesOnly)
{
    test::ProgramDriver t(QRect(0, 0, 1280, 800));
    ASSERT_TRUE(startedAndActive(t));
    MainWindow &w = *t.main();
    ASSERT_EQ(QApplication::focusWidget(), &w.startButton());
    const QWidget *forward[] = {&w.clockChoice(), &w.factorChoice(), &w.startButton(), &w.clockChoice()};
    for (const QWidget *next : forward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
    const QWidget *backward[] = {&w.startButton(), &w.factorChoice(), &w.clockChoice(), &w.startButton()};
    for (const QWidget *next : backward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
    // Each stop shows that it has the keyboard.
    for (QWidget *stop : {static_cast<QWidget *>(&w.startButton()), static_cast<QWidget *>(&w.clockChoice()),
                          static_cast<QWidget *>(&w.factorChoice())}) {
        SCOPED_TRACE(stop->objectName().toStdString());
        stop->setFocus(Qt::TabFocusReason);
        const QImage focused = stop->grab().toImage();
        w.controlStrip().setFocus(Qt::OtherFocusReason);
        EXPECT_NE(stop->grab().toImage(), focused) << "no focus mark";
    }
    // Wherever Tab leaves the keyboard, Return starts a stage.
    w.startButton().setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_NE(t.stage(), nullptr);
}

// While a stage is shown, Tab never reaches START or the clock choice
// under it: the keyboard stays on the sheet.
TEST(MainWindowKeyboard, tabDuringAStageStaysOnTheSheet)
{
    test::ProgramDriver t(QRect(0, 0, 1280, 800));
    ASSERT_TRUE(startedAndActive(t));
    MainWindow &w = *t.main();
    QTest::keyClick(&w.startButton(), Qt::Key_Return);
    ASSERT_NE(t.stage(), nullptr);
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), i % 2 ? Qt::Key_Backtab : Qt::Key_Tab);
        const QWidget *focus = QApplication::focusWidget();
        EXPECT_TRUE(focus && t.stage()->isAncestorOf(focus)) << (focus ? focus->objectName().toStdString() : "none");
    }
}

// A drag on the top band moves the window; where the window system offers
// no move of its own (the test platform, a bare X server) the program
// moves it. A press below the band or on the strip moves nothing.
TEST(MainWindowDrag, aDragOnTheBandMovesTheWindow)
{
    test::ProgramDriver t(QRect(0, 0, 1920, 1080));
    ASSERT_TRUE(t.app->start());
    MainWindow &w = *t.main();
    const QPoint before = w.pos();
    // The pointer moves on the screen; the widget under it may move with it.
    const auto drag = [&](QWidget *on, QPoint from, QPoint by) {
        const QPoint start = on->mapToGlobal(from);
        const auto send = [on](QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons held) {
            QMouseEvent e(type, QPointF(on->mapFromGlobal(global)), QPointF(global), button, held, Qt::NoModifier);
            QApplication::sendEvent(on, &e);
        };
        send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, start + by / 2, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseMove, start + by, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, start + by, Qt::LeftButton, Qt::NoButton);
    };

    drag(&w, QPoint(600, 10), QPoint(-200, -100));
    EXPECT_EQ(w.pos(), before + QPoint(-200, -100)) << "the band";
    drag(&w, QPoint(600, 30), QPoint(50, 50));
    EXPECT_EQ(w.pos(), before + QPoint(-200, -100)) << "below the band";
    drag(&w.controlStrip(), QPoint(42, 7), QPoint(50, 50));
    EXPECT_EQ(w.pos(), before + QPoint(-200, -100)) << "the strip";

    // With a stage shown the band is all that is left of the window to hold.
    QTest::mouseClick(&w.startButton(), Qt::LeftButton);
    ASSERT_NE(t.stage(), nullptr);
    drag(&w, QPoint(300, 5), QPoint(100, 40));
    EXPECT_EQ(w.pos(), before + QPoint(-100, -60));
    EXPECT_EQ(t.stage()->screenPosition(), w.pos() + QPoint(0, 25));
}

} // namespace
} // namespace vk
