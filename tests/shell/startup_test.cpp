#include "shell/appcontext.h"
#include "shell/mainwindowlifecycle.h"
#include "shell/testapp.h"
#include "skin/frmmain.h"
#include "skin/templatemap.h"
#include "ui/main/windowcontrolstrip.h"

#include <QApplication>
#include <QComboBox>
#include <QDomDocument>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace vk {
namespace {

using test::TestApp;

FrmMain *mainOf(TestApp &t)
{
    return t.app->context().windows.find<FrmMain>(kFrmMain);
}

// Counts windows being shown anywhere in the program.
struct ShowWatch : QObject {
    ShowWatch() { qApp->installEventFilter(this); }
    ~ShowWatch() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Show && o->isWidgetType() && static_cast<QWidget *>(o)->isWindow())
            ++windowsShown;
        return false;
    }
    int windowsShown = 0;
};

struct ScreenCase {
    const char *name;
    QRect screen;
    QRect expected; // where the main window stands once shown
};

// Only the height decides: 768..799 fills the screen, 800 and more gets
// 1280 x 800 centred (a narrower screen still gets the full width).
TEST(StartUp, mainWindowIsSizedByTheScreenHeight)
{
    const ScreenCase cases[] = {
        {"exactly 768 high", QRect(0, 0, 1024, 768), QRect(0, 0, 1024, 768)},
        {"799 high", QRect(0, 0, 1280, 799), QRect(0, 0, 1280, 799)},
        {"800 wide, 768 high", QRect(0, 0, 800, 768), QRect(0, 0, 800, 768)},
        {"exactly 800 high", QRect(0, 0, 1280, 800), QRect(0, 0, 1280, 800)},
        {"large screen", QRect(0, 0, 1920, 1080), QRect(320, 140, 1280, 800)},
        {"narrow but high enough", QRect(0, 0, 1024, 800), QRect(0, 0, 1280, 800)},
    };
    for (const ScreenCase &c : cases) {
        SCOPED_TRACE(c.name);
        TestApp t(c.screen);
        ASSERT_TRUE(t.app->start());
        FrmMain *frm = mainOf(t);
        ASSERT_NE(frm, nullptr);
        EXPECT_TRUE(frm->isVisible());
        EXPECT_EQ(frm->geometry(), c.expected);
        EXPECT_TRUE(t.messages.isEmpty());
    }
}

// A screen one pixel too low: the message, then the end with a failure
// status; no window is left and none was shown.
TEST(StartUp, screenTooLowShowsTheMessageAndEndsWithFailure)
{
    TestApp t(QRect(0, 0, 1024, 767));
    ShowWatch shows;

    const int status = t.app->run();

    EXPECT_NE(status, 0);
    EXPECT_EQ(status, Application::kExitScreenTooLow);
    EXPECT_EQ(t.messages, QStringList{QStringLiteral("Minimum secreen resolution must be 1024x768")});
    EXPECT_TRUE(t.app->context().windows.loaded().isEmpty());
    EXPECT_EQ(shows.windowsShown, 0);
}

TEST(StartUp, loadResetsTheChoiceClearsTheStageAndPlacesThePanel)
{
    TestApp t(QRect(0, 0, 1280, 800));
    AppContext &ctx = t.app->context();
    ctx.mod.stageActive = true; // as if left over
    ASSERT_TRUE(t.app->start());
    FrmMain &frm = *mainOf(t);

    EXPECT_EQ(frm.cmbTimer->currentIndex(), 0);
    EXPECT_EQ(frm.cmbTimer->currentText(), QStringLiteral("Yes"));
    EXPECT_FALSE(ctx.mod.stageActive);
    EXPECT_EQ(frm.picAyarlar->geometry(), QRect(265, 610, 750, 120));
    EXPECT_TRUE(frm.picAyarlar->isVisible());

    // The panel's children follow its working size.
    EXPECT_EQ(frm.btnStart->geometry(), QRect(288, 60, 175, 45)); // 287.5 goes to the even neighbour
    const QLabel &label = *frm.lbBilgi(1);
    EXPECT_EQ(label.x() + label.width(), 360);
    EXPECT_EQ(label.y() + label.height(), 45);
    EXPECT_EQ(frm.cmbTimer->x(), 375);
    EXPECT_EQ(frm.cmbTimer->width(), 140);
    EXPECT_EQ(frm.cmbTimer->y(), label.y() - 4);

    // The strip's kept image holds the four normal glyphs.
    const QImage &t0 = ctx.skin.image();
    const int sources[] = {skin::kStripBackdropLeft, skin::kStripMinimiseLeft, skin::kStripMaximiseLeft,
                           skin::kStripCloseLeft};
    ASSERT_EQ(frm.PFormKontrol->keptImage().size(), QSize(68, 15));
    for (int cell = 0; cell < 4; ++cell) {
        SCOPED_TRACE(cell + 1);
        EXPECT_EQ(frm.PFormKontrol->keptImage().copy(17 * cell, 0, 17, 15),
                  t0.copy(sources[cell], skin::kStripNormalTop, 17, 15));
    }
    EXPECT_FALSE(frm.pSablon->isVisible());
}

TEST(StartUp, everyActivationPutsTheFocusOnStart)
{
    TestApp t(QRect(0, 0, 1280, 800));
    ASSERT_TRUE(t.app->start());
    FrmMain &frm = *mainOf(t);
    frm.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frm));
    EXPECT_EQ(QApplication::focusWidget(), frm.btnStart);

    frm.cmbTimer->setFocus();
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    frm.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frm));
    EXPECT_EQ(QApplication::focusWidget(), frm.btnStart);
}

class Start : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(t.app->start());
        frm = mainOf(t);
    }
    AppContext &ctx() { return t.app->context(); }
    Form *stageWindow() { return ctx().windows.find(kFrmVendrakul); }

    TestApp t{QRect(0, 0, 1920, 1080)};
    FrmMain *frm = nullptr;
};

// The choice is read when START is pressed; the stage window is docked
// over the main window below its 25-pixel top band.
TEST_F(Start, copiesTheChoiceAndDocksTheStageWindow)
{
    struct Case { int index; bool timerEnabled; };
    for (const Case c : {Case{1, false}, Case{0, true}}) {
        SCOPED_TRACE(c.index);
        frm->cmbTimer->setCurrentIndex(c.index);
        QTest::mouseClick(frm->btnStart, Qt::LeftButton);

        EXPECT_EQ(ctx().mod.timerEnabled, c.timerEnabled);
        EXPECT_TRUE(ctx().mod.stageActive);
        Form *stage = stageWindow();
        ASSERT_NE(stage, nullptr);
        EXPECT_TRUE(stage->isVisible());
        EXPECT_EQ(stage->geometry(), QRect(frm->x(), frm->y() + 25, frm->width(), frm->height() - 25));
        // The main window shows its stage look: the header block at the top left.
        EXPECT_EQ(frm->keptImage().copy(0, 0, 195, 97), ctx().skin.image().copy(skin::kStageHeaderBlock));
        ctx().windows.unload(stage);
        ctx().mod.stageActive = false;
    }
}

TEST_F(Start, anOpenStageWindowIsOnlyPlacedAgain)
{
    QTest::mouseClick(frm->btnStart, Qt::LeftButton);
    Form *first = stageWindow();
    ASSERT_NE(first, nullptr);
    const QString problem = ctx().mod.problemDoc.toString();
    frm->cmbTimer->setCurrentIndex(1);
    first->move(0, 0);

    QTest::mouseClick(frm->btnStart, Qt::LeftButton);

    EXPECT_EQ(stageWindow(), first);
    EXPECT_EQ(ctx().mod.problemDoc.toString(), problem) << "no new problem is drawn";
    EXPECT_EQ(first->geometry(), QRect(frm->x(), frm->y() + 25, frm->width(), frm->height() - 25));
}

// Closing the main window, by its strip or by the system, closes every
// other window without a question and ends the program with success.
TEST(Closing, closingTheMainWindowUnloadsEverythingAndEndsWithSuccess)
{
    for (const bool byStrip : {true, false}) {
        SCOPED_TRACE(byStrip ? "strip" : "system");
        TestApp t(QRect(0, 0, 1920, 1080));
        AppContext &ctx = t.app->context();
        QTimer::singleShot(0, [&] {
            auto *frm = ctx.windows.find<FrmMain>(kFrmMain);
            QTest::mouseClick(frm->btnStart, Qt::LeftButton);
            frm->toggleBackdrop();
            if (byStrip) {
                frm->strip().mouseMove(0, 60);
                frm->strip().click();
            } else {
                frm->close();
            }
        });
        QTimer::singleShot(10000, [] { QCoreApplication::exit(99); });

        const int status = t.app->run();

        EXPECT_EQ(status, 0);
        EXPECT_TRUE(t.messages.isEmpty());
        EXPECT_TRUE(ctx.windows.loaded().isEmpty());
    }
}

} // namespace
} // namespace vk
