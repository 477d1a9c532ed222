#include "msgbox/timedmessagebox.h"

#include "msgbox/boxdriver.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace vk {
namespace {

using test::userClicks;
using test::whenBoxOpens;

// A window that can use the box: a timer named answerTimer whose tick goes to
// the module.
struct BoxWindow {
    BoxWindow()
    {
        window->resize(300, 200);
        answerTimer = new QTimer(window.get());
        answerTimer->setObjectName(QStringLiteral("answerTimer"));
        QObject::connect(answerTimer, &QTimer::timeout, [this] {
            ++ticks;
            box.answerTimerTick();
        });
        window->show();
    }

    MessageBoxRequest &request(std::int32_t answerTicks, std::int32_t interval = 10, BoxAnswer button = BoxAnswer::No)
    {
        MessageBoxRequest &r = box.boxRequest;
        r.askingWindow = window.get();
        r.blockedWindow = window.get();
        r.style = BoxStyle::YesNo | BoxStyle::IconQuestion;
        r.autoAnswer = true;
        r.autoAnswerTicks = answerTicks;
        r.tickInterval = interval;
        r.autoAnswerButton = button;
        r.tickCount = 0;
        r.caption = QStringLiteral("KELVARIS");
        r.text = QStringLiteral("Do you want to finish this stage?");
        return r;
    }

    BoxAnswer show() { return box.showTimedBox(box.boxRequest, *window); }

    TimedMessageBox box;
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QTimer *answerTimer = nullptr;
    int ticks = 0;
};

// The stage that asks is a surface inside the main window: the box stands
// centred over the surface, not over the whole window.
TEST(HookedMsgBox, standsCentredOverTheOwnerControl)
{
    BoxWindow w;
    w.window->setGeometry(100, 50, 1280, 800);
    auto *stage = new QWidget(w.window.get());
    stage->setGeometry(0, 25, 1280, 775);
    w.request(0);
    w.box.boxRequest.blockedWindow = stage;
    QPoint boxCentre;
    whenBoxOpens([&](QMessageBox &box) {
        boxCentre = box.geometry().center();
        userClicks(box, QMessageBox::No);
    });
    w.show();
    const QPoint stageCentre = stage->mapToGlobal(stage->rect().center());
    EXPECT_LE((boxCentre - stageCentre).manhattanLength(), 2) << "box centre " << boxCentre.x() << "," << boxCentre.y();
}

// Qt translates its standard button texts; these must not follow the system.
TEST(HookedMsgBox, showsTheRequestWithFixedYesNoTextsAndAQuestionIcon)
{
    BoxWindow w;
    w.request(0);
    QString title, text, yes, no;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    bool modal = true;
    whenBoxOpens([&](QMessageBox &box) {
        title = box.windowTitle();
        text = box.text();
        icon = box.icon();
        buttons = static_cast<int>(box.buttons().size());
        yes = box.button(QMessageBox::Yes)->text();
        no = box.button(QMessageBox::No)->text();
        modal = box.isModal();
        userClicks(box, QMessageBox::No);
    });
    w.show();
    EXPECT_EQ(title, QStringLiteral("KELVARIS"));
    EXPECT_EQ(text, QStringLiteral("Do you want to finish this stage?"));
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(buttons, 2);
    EXPECT_EQ(yes, QStringLiteral("Yes"));
    EXPECT_EQ(no, QStringLiteral("No"));
    EXPECT_FALSE(modal) << "Qt modality would block the main window as well";
}

// The user's own answer wins while the answer timer runs, and the handle is
// set exactly while the box is open.
TEST(HookedMsgBox, userAnswersSixForYesSevenForNoWhileTheTimerRuns)
{
    const std::pair<QMessageBox::StandardButton, BoxAnswer> rows[] = {{QMessageBox::Yes, BoxAnswer::Yes}, {QMessageBox::No, BoxAnswer::No}};
    for (const auto &[button, expected] : rows) {
        BoxWindow w;
        w.request(1000);
        EXPECT_EQ(w.box.openBoxHandle, 0u);
        MessageBoxHandle whileOpen = 0;
        bool timerRan = false;
        whenBoxOpens([&, button = button](QMessageBox &box) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return w.ticks >= 2; }, 3000));
            whileOpen = w.box.openBoxHandle;
            timerRan = w.answerTimer->isActive() && w.ticks > 0;
            userClicks(box, button);
        });
        EXPECT_EQ(w.show(), expected);
        EXPECT_NE(whileOpen, 0u);
        EXPECT_TRUE(timerRan);
        EXPECT_EQ(w.box.openBoxHandle, 0u);
        EXPECT_FALSE(w.answerTimer->isActive()) << "the answer timer stops with the box";
    }
}

TEST(HookedMsgBox, answersByItselfAtTheGivenTick)
{
    BoxWindow w;
    w.request(5, 10, BoxAnswer::No);
    bool sawOpen = false;
    whenBoxOpens([&](QMessageBox &) { sawOpen = w.box.openBoxHandle != 0; });
    EXPECT_EQ(w.show(), BoxAnswer::No);
    EXPECT_TRUE(sawOpen);
    EXPECT_EQ(w.box.boxRequest.tickCount, 5);
    EXPECT_EQ(w.ticks, 5) << "no tick after the answer";
    EXPECT_EQ(w.box.openBoxHandle, 0u);
    EXPECT_FALSE(w.answerTimer->isActive());
}

TEST(HookedMsgBox, answerTimerCanPressYesToo)
{
    BoxWindow w;
    w.request(2, 10, BoxAnswer::Yes);
    EXPECT_EQ(w.show(), BoxAnswer::Yes);
}

// Counting starts at 1 and compares for equality: 0 or less never answers.
TEST(HookedMsgBox, zeroOrNegativeTicksWaitForTheUser)
{
    for (const std::int32_t ticks : {0, -3}) {
        BoxWindow w;
        w.request(ticks);
        bool stillOpen = false;
        int counted = 0;
        whenBoxOpens([&](QMessageBox &box) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return w.box.boxRequest.tickCount >= 5; }, 3000));
            stillOpen = box.isVisible() && w.box.openBoxHandle != 0;
            counted = w.box.boxRequest.tickCount;
            userClicks(box, QMessageBox::Yes);
        });
        EXPECT_EQ(w.show(), BoxAnswer::Yes) << ticks;
        EXPECT_TRUE(stillOpen) << ticks;
        EXPECT_GE(counted, 5) << "the timer keeps ticking without effect";
        EXPECT_FALSE(w.answerTimer->isActive());
    }
}

// The answer timer needs an interval: a Qt timer of 0 ms fires on every pass
// of the event loop, so the box would answer at once. With an interval of 0
// or less the timer stays off and the box waits for the user.
TEST(HookedMsgBox, zeroOrNegativeIntervalWaitsForTheUser)
{
    for (const std::int32_t interval : {0, -10}) {
        SCOPED_TRACE(interval);
        bool looked = false, stillOpen = false, timerIdle = false;
        BoxWindow w;
        w.request(1, interval);
        // Looks once the box has stood open for 100 ms, then answers Yes.
        auto *look = new QTimer(w.window.get());
        look->setInterval(100);
        QObject::connect(look, &QTimer::timeout, [&] {
            QMessageBox *box = w.box.openBox();
            if (!box)
                return;
            look->stop();
            looked = true;
            stillOpen = w.box.openBoxHandle != 0;
            timerIdle = !w.answerTimer->isActive() && w.ticks == 0;
            userClicks(*box, QMessageBox::Yes);
        });
        look->start();
        EXPECT_EQ(w.show(), BoxAnswer::Yes) << "the user's Yes, not the timer's No";
        EXPECT_TRUE(looked);
        EXPECT_TRUE(stillOpen);
        EXPECT_TRUE(timerIdle);
        EXPECT_EQ(w.box.boxRequest.tickCount, 0);
    }
}

// A button the box does not have: nothing is pressed, the timer stops, the
// handle is cleared and the user still answers.
TEST(HookedMsgBox, missingAnswerButtonLeavesTheBoxToTheUser)
{
    BoxWindow w;
    w.request(2, 10, BoxAnswer::Cancel);
    bool open = false, timerStopped = false;
    MessageBoxHandle handle = 1;
    whenBoxOpens([&](QMessageBox &box) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.ticks >= 2; }, 3000));
        QTest::qWait(30);
        open = box.isVisible();
        timerStopped = !w.answerTimer->isActive();
        handle = w.box.openBoxHandle;
        userClicks(box, QMessageBox::No);
    });
    EXPECT_EQ(w.show(), BoxAnswer::No);
    EXPECT_TRUE(open);
    EXPECT_TRUE(timerStopped);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(w.box.boxRequest.tickCount, 2);
}

// The exercise window is a child window of the main window: the box must
// block the exercise window only. Clicks go through the window system path,
// where Qt applies modality.
TEST(HookedMsgBox, blocksItsOwnerOnlyAndTheOwnersParentStaysUsable)
{
    QWidget mainWindow;
    mainWindow.resize(300, 300);
    auto *mainButton = new QPushButton(QStringLiteral("main"), &mainWindow);
    mainButton->setGeometry(10, 10, 60, 30);
    mainWindow.show();

    auto *exercise = new QWidget(&mainWindow, Qt::Window | Qt::FramelessWindowHint);
    exercise->setGeometry(400, 0, 200, 200);
    auto *exerciseButton = new QPushButton(QStringLiteral("ex"), exercise);
    exerciseButton->setGeometry(10, 10, 60, 30);
    auto *answerTimer = new QTimer(exercise);
    answerTimer->setObjectName(QStringLiteral("answerTimer"));
    exercise->show();

    int mainClicks = 0, exerciseClicks = 0;
    QObject::connect(mainButton, &QPushButton::clicked, [&] { ++mainClicks; });
    QObject::connect(exerciseButton, &QPushButton::clicked, [&] { ++exerciseClicks; });

    TimedMessageBox box;
    MessageBoxRequest &r = box.boxRequest;
    r.blockedWindow = exercise;
    r.style = BoxStyle::YesNo | BoxStyle::IconQuestion;
    whenBoxOpens([&](QMessageBox &box) {
        QTest::mouseClick(mainWindow.windowHandle(), Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseClick(exercise->windowHandle(), Qt::LeftButton, {}, QPoint(20, 20));
        QTest::keyClick(exerciseButton, Qt::Key_Space);
        userClicks(box, QMessageBox::Yes);
    });
    EXPECT_EQ(box.showTimedBox(r, *exercise), BoxAnswer::Yes);
    EXPECT_EQ(mainClicks, 1);
    EXPECT_EQ(exerciseClicks, 0);

    QTest::mouseClick(exercise->windowHandle(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(exerciseClicks, 1) << "the owner takes input again once the box has closed";
}

// Closing the program while the box is open unloads the window with the box
// (and, here, the module) in it; nothing may touch them afterwards.
TEST(HookedMsgBox, windowUnloadedWhileOpenEndsCleanly)
{
    struct Window : QWidget {
        TimedMessageBox box;
    };
    QPointer<Window> window = new Window;
    auto *answerTimer = new QTimer(window);
    answerTimer->setObjectName(QStringLiteral("answerTimer"));
    QObject::connect(answerTimer, &QTimer::timeout, window, [w = window.data()] { w->box.answerTimerTick(); });
    window->show();
    MessageBoxRequest &r = window->box.boxRequest;
    r.style = BoxStyle::YesNo;
    r.autoAnswer = true;
    r.tickInterval = 5;
    r.autoAnswerTicks = 1000;
    r.autoAnswerButton = BoxAnswer::No;
    whenBoxOpens([&](QMessageBox &) {
        window->close();
        window->deleteLater();
    });
    EXPECT_EQ(window->box.showTimedBox(r, *window), BoxAnswer::No);
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(test::visibleMessageBox(), nullptr);
}

// The same with the module outliving the window: its handle must not stay
// set, or the next stage's clock would never finish at the limit.
TEST(HookedMsgBox, boxGoneWithItsWindowClearsTheHandle)
{
    TimedMessageBox box;
    QPointer<QWidget> window = new QWidget;
    window->show();
    box.boxRequest.style = BoxStyle::YesNo;
    whenBoxOpens([&](QMessageBox &) { delete window.data(); });
    EXPECT_EQ(box.showTimedBox(box.boxRequest, *window), BoxAnswer::No);
    EXPECT_EQ(box.openBoxHandle, 0u);
    EXPECT_EQ(box.openBox(), nullptr);
}

} // namespace
} // namespace vk
