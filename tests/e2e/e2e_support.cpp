#include "e2e_support.h"

#include <QCoreApplication>
#include <QThread>

std::ostream &operator<<(std::ostream &os, const QRect &r)
{
    return os << "(" << r.x() << "," << r.y() << " " << r.width() << "x" << r.height() << ")";
}
std::ostream &operator<<(std::ostream &os, const QSize &s) { return os << s.width() << "x" << s.height(); }
std::ostream &operator<<(std::ostream &os, const QPoint &p) { return os << "(" << p.x() << "," << p.y() << ")"; }

namespace vk::e2e {

void PrintTo(WindowManager wm, std::ostream *os) { *os << nameOf(wm).toStdString(); }

int countPixels(const QImage &image, const QRect &area, const std::function<bool(QRgb)> &pred)
{
    int n = 0;
    const QRect r = area & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += pred(image.pixel(x, y)) ? 1 : 0;
    return n;
}

bool dark(QRgb p) { return qRed(p) < 90 && qGreen(p) < 90 && qBlue(p) < 90; }
bool clockBlue(QRgb p) { return sameColor(p, kClockBlue, 40); }
bool body(QRgb p) { return sameColor(p, kBody, 2); }

void sleepMs(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

bool inside(const QRect &r, const QSize &screen) { return QRect(QPoint(0, 0), screen).contains(r); }

bool titleShown(const QImage &shot, const QRect &main)
{
    const QRect band(main.x() + main.width() / 2 - 200, main.y() + 75, 400, 90);
    return countPixels(shot, band, [](QRgb p) { return qRed(p) > 150 && qGreen(p) < 60 && qBlue(p) < 60; }) > 300;
}

bool bandShown(const QImage &shot, const QRect &main)
{
    const QRect band(main.x() + 100, main.y() + 2, main.width() - 200, 20);
    return countPixels(shot, band, [](QRgb p) { return qBlue(p) > 150 && qBlue(p) > qRed(p) + 60; })
           > band.width() * band.height() / 2;
}

bool sheetShown(const QImage &shot, const StageLayout &stage)
{
    return countPixels(shot, stage.cell(1, 40), dark) > 10 && countPixels(shot, stage.cell(2, 40), dark) > 10
           && countPixels(shot, stage.cell(1, 20), dark) == 0;
}

bool digitIn(const QImage &shot, const StageLayout &stage, int column)
{
    return countPixels(shot, stage.cell(5, column), dark) > 10;
}

bool revealed(const QImage &shot, const StageLayout &stage, int factorDigits)
{
    const int first = 42 - 2 * factorDigits;
    int coloured = 0;
    for (int column = first; column <= 40; ++column) {
        const QRgb p = shot.pixel(stage.cell(7, column).x() + 2, stage.cell(7, column).y() + 2);
        coloured += sameColor(p, kGreen, 8) || sameColor(p, kLightRed, 8);
    }
    return coloured == 41 - first;
}

bool wrongVerdictShown(const QImage &shot, const StageLayout &stage)
{
    return countPixels(shot, stage.result, [](QRgb p) { return qRed(p) > 150 && qGreen(p) < 90; }) > 300;
}

QString boxOnScreen(const XSession &x)
{
    return x.xdotool({"search", "--onlyvisible", "--name", "^" + kBoxTitle + "$"}).section('\n', 0, 0);
}

QString waitForBox(const XSession &x, int timeoutMs)
{
    QString box;
    waitUntil([&] { return !(box = boxOnScreen(x)).isEmpty(); }, timeoutMs);
    return box;
}

bool correctVerdictShown(const QImage &shot, const StageLayout &stage)
{
    return countPixels(shot, stage.result, [](QRgb p) { return qGreen(p) > 120 && qRed(p) < 80; }) > 300;
}

Started startProgram(XSession &x, const QStringList &args)
{
    EXPECT_TRUE(x.ok()) << x.failure().toStdString();
    if (!x.ok() || !x.startProgram(args))
        return {};
    const QString id = x.waitForWindow(kMainTitle);
    EXPECT_FALSE(id.isEmpty()) << "no start screen";
    if (id.isEmpty())
        return {};
    const QRect main = x.windowGeometry(id);
    x.waitForScreen([&](const QImage &s) { return titleShown(s, main); });
    return {id, main};
}

bool waitForStage(const XSession &x, const QRect &main, int timeoutMs)
{
    const StageLayout stage(main);
    const QImage shot = x.waitForScreen([&](const QImage &s) { return sheetShown(s, stage); }, timeoutMs);
    return sheetShown(shot, stage);
}

bool startStage(XSession &x, const QRect &main)
{
    const StartLayout start(main);
    x.click(start.start.center().x(), start.start.center().y());
    return waitForStage(x, main);
}

std::optional<OpenStage> openStage(XSession &x)
{
    const auto [mainId, main] = startProgram(x);
    if (main.isEmpty())
        return std::nullopt;
    if (!startStage(x, main)) {
        ADD_FAILURE() << "START opened no stage";
        return std::nullopt;
    }
    return OpenStage{mainId, main, StageLayout(main)};
}

QImage finishWithYes(XSession &x, const QString &mainId, const StageLayout &stage, int factorDigits)
{
    x.focus(mainId);
    x.key("Return");
    const QString box = waitForBox(x);
    if (box.isEmpty())
        return QImage();
    x.focus(box);
    x.key("Return");
    return x.waitForScreen([&](const QImage &s) {
        return revealed(s, stage, factorDigits) && (correctVerdictShown(s, stage) || wrongVerdictShown(s, stage));
    });
}

void expectClosesWithTheStrip(XSession &x, const QRect &main)
{
    const StartLayout start(main);
    x.click(start.stripCell(4).x(), start.stripCell(4).y());
    const auto code = x.waitForExit(10000);
    ASSERT_TRUE(code.has_value()) << "the close cell did not end the program";
    EXPECT_EQ(*code, 0);
}

bool backToStart(XSession &x, const QRect &main, const QRect &back)
{
    x.click(back.center().x(), back.center().y());
    const QImage shot = x.waitForScreen([&](const QImage &s) { return titleShown(s, main); });
    return titleShown(shot, main);
}

void drag(XSession &x, QPoint from, QPoint by, const QString &holding)
{
    x.moveMouse(from.x(), from.y());
    if (!holding.isEmpty())
        x.xdotool({"keydown", holding});
    x.xdotool({"mousedown", "1"});
    for (int step = 1; step <= 10; ++step)
        x.moveMouse(from.x() + by.x() * step / 10, from.y() + by.y() * step / 10);
    x.xdotool({"mouseup", "1"});
    if (!holding.isEmpty())
        x.xdotool({"keyup", holding});
}

} // namespace vk::e2e

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
