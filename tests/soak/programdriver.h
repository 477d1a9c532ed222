#pragma once

// The whole program in-process on a 1280 x 800 screen, with a day clock the
// test moves and seeded chance, and the user's ways into it: START, BACK,
// FINISH, the strip's cells, the answer sheet.
#include "flow/stageclock.h"
#include "grid/flexgrid.h"
#include "platform/screenmetrics.h"
#include "platform/surface.h"
#include "shell/appcontext.h"
#include "shell/application.h"
#include "skin/frmmain.h"
#include "skin/frmvendrakul.h"
#include "stage/stage.h"
#include "support/fakes.h"
#include "support/memory.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace vk::test {

inline std::uint64_t envNumber(const char *name, std::uint64_t fallback)
{
    const char *v = std::getenv(name);
    return v && *v ? std::strtoull(v, nullptr, 10) : fallback;
}

class ProgramDriver
{
public:
    explicit ProgramDriver(std::uint64_t seed)
    {
        // The offscreen platform reports every raise and mouse grab it
        // cannot do; thousands of those lines would bury a failure.
        static const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
                if (message.startsWith(QLatin1String("This plugin does not support")))
                    return;
                previous(type, context, message);
            });
        auto clockOwner = std::make_unique<FakeDayClock>(36000.0f);
        clock = clockOwner.get();
        Application::Parts parts;
        parts.screen = std::make_unique<FixedScreenMetrics>(QRect(0, 0, 1280, 800));
        parts.clock = std::move(clockOwner);
        parts.random = std::make_unique<Mt19937RandomSource>(seed);
        parts.messages = [](const QString &) {};
        app = std::make_unique<Application>(std::move(parts));
        started = app->start();
    }

    ~ProgramDriver() { shutDown(); }

    // The program as it ends: its windows gone, every deferred deletion done.
    void shutDown()
    {
        app.reset();
        settle();
    }

    AppContext &ctx() { return app->context(); }
    FrmMain *main() { return ctx().windows.find<FrmMain>(kFrmMain); }
    FrmVendrakul *stage() { return ctx().windows.find<FrmVendrakul>(kFrmVendrakul); }

    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static void sendMouse(QWidget *w, QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    // Onto the widget, then a left click: drawn buttons count a click only
    // after the mouse has been over them.
    static void hoverAndClick(QWidget *w, QPointF at)
    {
        sendMouse(w, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        sendMouse(w, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        sendMouse(w, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    }
    static void hoverAndClick(QWidget *w) { hoverAndClick(w, QPointF(w->width() / 2.0, w->height() / 2.0)); }

    // START, and the first activation the window system would send.
    void start()
    {
        if (FrmMain *m = main())
            QTest::mouseClick(m->btnStart, Qt::LeftButton);
        settle();
        if (FrmVendrakul *w = stage()) {
            if (w->stage().firstActivation) {
                QEvent activate(QEvent::WindowActivate);
                QCoreApplication::sendEvent(w, &activate);
            }
        }
        settle();
    }

    void back()
    {
        if (FrmVendrakul *w = stage())
            hoverAndClick(w->btnBack);
        settle();
    }

    // FINISH as the user clicks it; returns once the question has closed.
    void finish()
    {
        if (FrmVendrakul *w = stage(); w && w->btnFinish->isVisible())
            hoverAndClick(w->btnFinish);
        settle();
    }

    // The strip's cells: 1 backdrop, 2 minimise, 4 close (this one ends the program).
    void clickStripCell(int cell)
    {
        FrmMain *m = main();
        if (!m)
            return;
        static const int kCentres[] = {0, 8, 25, 42, 59};
        hoverAndClick(m->PFormKontrol, QPointF(kCentres[cell], 7));
        settle();
    }

    std::unique_ptr<Application> app;
    FakeDayClock *clock = nullptr;
    bool started = false;
};

} // namespace vk::test
