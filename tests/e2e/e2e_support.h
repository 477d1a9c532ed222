#pragma once

// What the end-to-end scenarios share: the program's colours and titles,
// the checks of a screenshot at places worked out from the layout, and
// the steps every scenario starts with.
#include "layout.h"
#include "xsession.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>

// Places and sizes as a person reads them in a failure message.
std::ostream &operator<<(std::ostream &os, const QRect &r);
std::ostream &operator<<(std::ostream &os, const QSize &s);
std::ostream &operator<<(std::ostream &os, const QPoint &p);

namespace vk::e2e {

void PrintTo(WindowManager wm, std::ostream *os);

inline const QString kMainTitle = QStringLiteral("Kelvaris Ostravel");
inline const QString kBoxTitle = QStringLiteral("KELVARIS");
inline const QRgb kBody = qRgb(197, 214, 237);
inline const QRgb kClockBlue = qRgb(11, 3, 103);
inline const QRgb kGreen = qRgb(0, 192, 0);
inline const QRgb kLightRed = qRgb(255, 128, 128);
inline const QRgb kBackdropTopLeft = qRgb(80, 0, 0);

inline const auto kAllDesktops = ::testing::Values(WindowManager::None, WindowManager::Openbox, WindowManager::Xfwm4);
inline const auto kManagedDesktops = ::testing::Values(WindowManager::Openbox, WindowManager::Xfwm4);
inline const auto kDesktopName = [](const auto &info) { return nameOf(info.param).toStdString(); };

int countPixels(const QImage &image, const QRect &area, const std::function<bool(QRgb)> &pred);
bool dark(QRgb p);
bool clockBlue(QRgb p);
bool body(QRgb p);
void sleepMs(int ms);
bool inside(const QRect &r, const QSize &screen);

// The dark red title of the start screen, in the band below the frame.
bool titleShown(const QImage &shot, const QRect &main);
// The main window's top band, blue, which the stage leaves free (the strip is in it).
bool bandShown(const QImage &shot, const QRect &main);
// The factors written into the sheet: what only a running or finished stage shows.
bool sheetShown(const QImage &shot, const StageLayout &stage);
bool digitIn(const QImage &shot, const StageLayout &stage, int column);
// Every revealed digit on green or light red: the product's columns but its
// top one (a product may be a digit shorter than both factors together).
bool revealed(const QImage &shot, const StageLayout &stage, int factorDigits = 20);
bool wrongVerdictShown(const QImage &shot, const StageLayout &stage);
bool correctVerdictShown(const QImage &shot, const StageLayout &stage);

QString boxOnScreen(const XSession &x);
QString waitForBox(const XSession &x, int timeoutMs = 3000);

// The program started, its start screen painted.
struct Started {
    QString mainId;
    QRect main;
};
Started startProgram(XSession &x, const QStringList &args = {});

// Waits until the stage shows inside the main window at `main`; whether it did.
bool waitForStage(const XSession &x, const QRect &main, int timeoutMs = 8000);
// START clicked, the stage up and its sheet painted; whether it came.
bool startStage(XSession &x, const QRect &main);

// The program started and a stage opened on it: the main window and where
// the stage's pieces stand.
struct OpenStage {
    QString mainId;
    QRect main;
    StageLayout stage;
};
// Starts the program and clicks START; nothing, with the failure recorded,
// when the start screen or the stage did not come.
std::optional<OpenStage> openStage(XSession &x);

// Enter, and Yes on the question: the stage finished, its reveal painted.
QImage finishWithYes(XSession &x, const QString &mainId, const StageLayout &stage, int factorDigits = 20);

void expectClosesWithTheStrip(XSession &x, const QRect &main);

// BACK clicked where it stands: whether the start screen came back.
bool backToStart(XSession &x, const QRect &main, const QRect &back);

// The left button pressed at `from` and the pointer moved by `by` in ten
// steps before the release, with `holding` (a key, "alt" say) held
// throughout when given.
void drag(XSession &x, QPoint from, QPoint by, const QString &holding = {});

} // namespace vk::e2e
