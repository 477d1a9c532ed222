// The reference for start-up: a minimal Qt Widgets program that shows one
// window of the size the trainer's main window has on the benchmark's
// 1280 x 800 screen, reports its first painted frame and ends. With --label the window also shows one line of text, which brings
// in the font machinery (fontconfig, a font engine, text shaping) that any
// program showing text pays for before its first frame.
#include "firstpaint.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstring>

int main(int argc, char **argv)
{
    const bool label = argc > 1 && std::strcmp(argv[1], "--label") == 0;
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Kelvaris Ostravel"));
    window.resize(1280, 800);
    if (label)
        (new QLabel(QStringLiteral("Timer is enabled :"), &window))->move(82, 36);
    window.show();
    vkbench::FirstFrameWatch watch(&window);
    return app.exec();
}
