#pragma once

#include "flow/stageclock.h"
#include "grid/flexgrid.h"
#include "shell/appcontext.h"
#include "shell/application.h"
#include "skin/frmmain.h"
#include "skin/frmvendrakul.h"
#include "stage/stage.h"
#include "support/fakes.h"

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>
#include <random>

namespace vk::test {

// The whole program on a 1280 x 800 screen with a clock the test moves,
// and a watcher that answers the confirmation box whenever it shows, so
// that no action can leave the test waiting inside the box's own loop.
class RunningProgram
{
public:
    explicit RunningProgram(std::uint64_t seed)
        : m_clockOwner(std::make_unique<FakeDayClock>(36000.0f))
        , m_rng(seed)
    {
        // The offscreen platform says so every time a window is raised or
        // takes the mouse; tens of thousands of lines would bury the report.
        static const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
                if (message.startsWith(QLatin1String("This plugin does not support")))
                    return;
                previous(type, context, message);
            });
        clock = m_clockOwner.get();
        Application::Parts parts;
        parts.screen = std::make_unique<FixedScreenMetrics>(QRect(0, 0, 1280, 800));
        parts.clock = std::move(m_clockOwner);
        parts.random = std::make_unique<Mt19937RandomSource>(seed);
        parts.messages = [](const QString &) {};
        app = std::make_unique<Application>(std::move(parts));
        app->start();

        m_answerer.setInterval(1);
        QObject::connect(&m_answerer, &QTimer::timeout, &m_answerer, [this] { answerBox(); });
        m_answerer.start();
    }

    ~RunningProgram()
    {
        m_answerer.stop();
        app.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    AppContext &ctx() { return app->context(); }
    FrmMain *main() { return ctx().windows.find<FrmMain>(kFrmMain); }
    FrmVendrakul *stage() { return ctx().windows.find<FrmVendrakul>(kFrmVendrakul); }

    void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // START as the user does it: a click on the button.
    void clickStart()
    {
        if (FrmMain *m = main())
            QTest::mouseClick(m->btnStart, Qt::LeftButton);
        settle();
        if (FrmVendrakul *w = stage())
            if (w->stage().firstActivation) {
                QEvent activate(QEvent::WindowActivate);
                QCoreApplication::sendEvent(w, &activate);
            }
        settle();
    }

    // BACK as the user does it: onto the button, then a click.
    void clickBack()
    {
        FrmVendrakul *w = stage();
        if (!w)
            return;
        hoverAndClick(w->btnBack);
        settle();
    }

    // Mouse events as the window system delivers them to one widget: onto
    // it, then a press and a release.
    static void sendMouse(QWidget *w, QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    static void hoverAndClick(QWidget *w)
    {
        const QPointF centre(w->width() / 2.0, w->height() / 2.0);
        sendMouse(w, QEvent::MouseMove, centre, Qt::NoButton, Qt::NoButton);
        sendMouse(w, QEvent::MouseButtonPress, centre, Qt::LeftButton, Qt::LeftButton);
        sendMouse(w, QEvent::MouseButtonRelease, centre, Qt::LeftButton, Qt::NoButton);
    }

    int boxesAnswered() const { return m_boxesAnswered; }

    std::unique_ptr<Application> app;
    FakeDayClock *clock = nullptr;

private:
    void answerBox()
    {
        FrmVendrakul *w = stage();
        QMessageBox *box = w ? w->msgBox().openBox() : nullptr;
        if (!box || !box->isVisible())
            return;
        const QList<QAbstractButton *> buttons = box->buttons();
        if (buttons.isEmpty())
            return;
        ++m_boxesAnswered;
        buttons.at(static_cast<int>(m_rng() % static_cast<unsigned>(buttons.size())))->click();
    }

    std::unique_ptr<FakeDayClock> m_clockOwner;
    std::mt19937_64 m_rng;
    QTimer m_answerer;
    int m_boxesAnswered = 0;
};

} // namespace vk::test
