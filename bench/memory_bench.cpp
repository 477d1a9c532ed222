// Resident memory of the running program: after start-up, and after a
// hundred stages started, played to their finish and left with BACK.
// Prints one JSON object.
#include "flow/stageclock.h"
#include "grid/flexgrid.h"
#include "platform/fonts.h"
#include "platform/screenmetrics.h"
#include "skin/appcontext.h"
#include "shell/application.h"
#include "ui/main/mainwindow.h"
#include "ui/exercise/exercisewindow.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <cstdio>

namespace {

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void hoverAndClick(QWidget *w)
{
    const QPointF c(w->width() / 2.0, w->height() / 2.0);
    for (auto [type, button, buttons] : {std::tuple{QEvent::MouseMove, Qt::NoButton, Qt::MouseButtons(Qt::NoButton)},
                                         std::tuple{QEvent::MouseButtonPress, Qt::LeftButton, Qt::MouseButtons(Qt::LeftButton)},
                                         std::tuple{QEvent::MouseButtonRelease, Qt::LeftButton, Qt::MouseButtons(Qt::NoButton)}}) {
        QMouseEvent e(type, c, w->mapToGlobal(c), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    vk::registerFonts();
    vk::Application::Parts parts;
    parts.screen = std::make_unique<vk::FixedScreenMetrics>(QRect(0, 0, 1280, 800));
    vk::Application app(std::move(parts));
    app.start();
    settle();
    const long afterStart = residentKb();

    vk::AppContext &ctx = app.context();
    for (int stage = 0; stage < 100; ++stage) {
        QTest::mouseClick(&ctx.windows.find<vk::MainWindow>(vk::kMainWindowName)->startButton(), Qt::LeftButton);
        settle();
        auto *w = ctx.windows.find<vk::ExerciseWindow>(vk::kExerciseWindowName);
        if (!w)
            return 1;
        if (w->stage().firstActivation) {
            QEvent activate(QEvent::WindowActivate);
            QCoreApplication::sendEvent(w, &activate);
        }
        for (char digit : {'4', '2', '7', '1'})
            QTest::keyClick(w->answerGrid().editor() ? static_cast<QWidget *>(w->answerGrid().editor()) : &w->answerGrid(), digit);
        w->finishStage();
        hoverAndClick(&w->backButtonBox());
        settle();
    }
    const long afterStages = residentKb();
    std::printf("{\"rss_after_start_kb\": %ld, \"rss_after_100_stages_kb\": %ld}\n", afterStart, afterStages);
    return 0;
}
