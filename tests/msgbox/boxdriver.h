#pragma once

// Drives the program's message box from inside its event loop: the box
// blocks the test's code path until it closes, so the test acts from a
// timer that fires while the box is open.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace vk::test {

inline QMessageBox *visibleMessageBox()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
            return box;
    return nullptr;
}

// Runs `action` once, as soon as a message box is shown. Returns a flag that
// tells afterwards whether the action ran.
inline std::shared_ptr<bool> whenBoxOpens(std::function<void(QMessageBox &)> action)
{
    auto ran = std::make_shared<bool>(false);
    auto *poll = new QTimer;
    poll->setInterval(2);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, ran, action = std::move(action)] {
        QMessageBox *box = visibleMessageBox();
        if (!box)
            return;
        poll->stop();
        poll->deleteLater();
        *ran = true;
        action(*box);
    });
    poll->start();
    return ran;
}

// A user's click on a button of the box.
inline void userClicks(QMessageBox &box, QMessageBox::StandardButton which)
{
    QAbstractButton *button = box.button(which);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace vk::test
