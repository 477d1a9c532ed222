#pragma once

#include "grid/flexgrid.h"
#include "platform/colorref.h"
#include "platform/form.h"
#include "platform/surface.h"
#include "skin/appcontext.h"
#include "platform/screenmetrics.h"
#include "skin/skintemplate.h"
#include "support/fakes.h"
#include "ui/exercise/exercisewindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPoint>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

namespace vk::test {

// A template whose every pixel tells where it came from: red and green are
// the low bytes of x and y, blue holds their high bits. Blue never exceeds
// 31, so the window colours and text colours never occur in it.
inline QImage coordinateTemplate(int w = 1280, int h = 800)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qRgb(x & 0xFF, y & 0xFF, (x >> 8) | ((y >> 8) << 3));
    }
    return image;
}

// The template point a pixel was copied from, or (-1, -1) for any other colour.
inline QPoint templateSource(QRgb pixel)
{
    const int b = qBlue(pixel);
    if (b > 31)
        return {-1, -1};
    return {qRed(pixel) | ((b & 7) << 8), qGreen(pixel) | ((b >> 3) << 8)};
}

inline QPoint sourceAt(const QImage &image, int x, int y)
{
    return templateSource(image.pixel(x, y));
}

// Mouse events as the platform delivers them to a surface.
inline void sendMouse(QWidget *w, QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

inline void moveOver(QWidget *w, QPointF pos, Qt::MouseButtons buttons = Qt::NoButton)
{
    sendMouse(w, QEvent::MouseMove, pos, Qt::NoButton, buttons);
}

inline void press(QWidget *w, QPointF pos, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(w, QEvent::MouseButtonPress, pos, button, button);
}

inline void release(QWidget *w, QPointF pos, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(w, QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
}

inline void click(QWidget *w, QPointF pos)
{
    press(w, pos);
    release(w, pos);
}

inline int countColour(const QImage &image, QRgb colour, QRect area = {})
{
    if (area.isNull())
        area = image.rect();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
    return n;
}

// The main window as the exercise window sees it: it repaints on request
// and, when it closes, unloads every other window, as the program's does.
class FakeMainWindow final : public Form, public MainWindowApi
{
public:
    explicit FakeMainWindow(AppContext &ctx)
        : Form(kMainWindowName, ctx.screen)
        , m_ctx(ctx)
    {
        connect(this, &Form::unloading, this, [this] {
            for (Form *f : m_ctx.windows.loaded())
                if (f != this)
                    m_ctx.windows.unload(f);
        });
    }
    void paintMainScreen() override
    {
        ++repaints;
        stageActiveSeen = m_ctx.run.stageActive;
    }
    int repaints = 0;
    bool stageActiveSeen = true;

private:
    AppContext &m_ctx;
};

// The exercise window's surroundings for a test: a run's context on fakes
// (the coordinate template, a clock standing at 10:00, scripted random
// numbers, a 1280 x 800 screen), both windows defined and the main window
// shown; every window unloaded again afterwards.
class ExerciseWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ctx = std::make_unique<AppContext>(skin, clock, random, screen);
        prepareContext(*ctx);
        ctx->windows.define(kMainWindowName, [this] { return new FakeMainWindow(*ctx); });
        ctx->windows.define(kExerciseWindowName, [this] { return new ExerciseWindow(*ctx); });
        main = ctx->windows.get<FakeMainWindow>(kMainWindowName);
        main->setGeometry(0, 0, 1024, 768);
        main->show();
    }
    void TearDown() override
    {
        if (QWidget *grabber = QWidget::mouseGrabber())
            grabber->releaseMouse();
        for (Form *f : ctx->windows.loaded())
            ctx->windows.unload(f);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // What a test adds to the context before the windows are defined.
    virtual void prepareContext(AppContext &) {}

    // START as the main window does it: load, shown inside the main window
    // below its band, and the first activation that starts the clock.
    ExerciseWindow *showExercise(bool clockOn, QSize size)
    {
        ctx->run.timerEnabled = clockOn;
        ctx->run.stageActive = true;
        auto *w = ctx->windows.get<ExerciseWindow>(kExerciseWindowName);
        main->resize(std::max(main->width(), size.width()), std::max(main->height(), size.height() + 25));
        w->showInside(main, QRect(QPoint(0, 25), size));
        if (w->stage().firstActivation)
            emit w->activated();
        return w;
    }

    SkinTemplate skin{coordinateTemplate()};
    FakeDayClock clock{36000.0f};
    ScriptedRandom random{{0.95, 0.31, 0.77, 0.12, 0.58}};
    FixedScreenMetrics screen{QRect(0, 0, 1280, 800)};
    std::unique_ptr<AppContext> ctx;
    FakeMainWindow *main = nullptr;
};

// Backgrounds of the revealed digits, 0x00BBGGRR.
constexpr ColorRef kGreen = 0x00C000;    // RGB 0, 192, 0: the user's digit matches
constexpr ColorRef kLightRed = 0x8080FF; // RGB 255, 128, 128: it does not

// The fixture with the stage started as START starts it, and ways to read
// the sheet.
class ExerciseWindowTest : public ExerciseWindowFixture
{
protected:
    ExerciseWindow *start(bool clockOn = true, QSize size = {1024, 743}) { return showExercise(clockOn, size); }

    int answerRow(ExerciseWindow *w) const { return w->answerGrid().rows() - 4; }
    int revealRow(ExerciseWindow *w) const { return w->answerGrid().rows() - 2; }

    void typeAnswer(ExerciseWindow *w, const QString &digits)
    {
        for (qsizetype i = 0; i < digits.size(); ++i)
            w->answerGrid().setCellText(answerRow(w), 40 - static_cast<int>(digits.size() - 1 - i), digits.mid(i, 1));
    }

    int cellsColoured(ExerciseWindow *w, ColorRef colour) const
    {
        int n = 0;
        for (int c = 0; c < w->answerGrid().cols(); ++c)
            n += w->answerGrid().cellBackgroundColour(revealRow(w), c) == colour ? 1 : 0;
        return n;
    }
};

// Runs `action` on the confirmation box as soon as it is open.
inline void whenBoxOpens(ExerciseWindow *w, std::function<void(QMessageBox &)> action)
{
    auto *poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, guard = QPointer<ExerciseWindow>(w), action] {
        QMessageBox *box = guard ? guard->questionBox().openBox() : nullptr;
        if (!box)
            return;
        poll->stop();
        poll->deleteLater();
        action(*box);
    });
    poll->start();
}

inline QAbstractButton *buttonWithText(QMessageBox &box, const QString &text)
{
    for (QAbstractButton *b : box.buttons())
        if (b->text() == text)
            return b;
    return nullptr;
}

} // namespace vk::test
