#pragma once

#include <QSize>

#include <memory>

class QApplication;

namespace vk {

// Starts Qt's application object for a run with windows, as the trainer
// and the progress view need it:
// - on a Wayland desktop it runs on XWayland, unless the user chose a
//   platform: the program places its own windows, which Wayland forbids;
// - on X11 it paints without shared memory (see guistart.cpp);
// - without a display to open, it prints one line saying so and ends the
//   program with status 1, instead of Qt's abort;
// - where the desktop's scaling alone makes the screen smaller than
//   `design` (1280 x 720 pixels of ours on a 1920 x 1080 screen at 150 %),
//   it starts again at the largest lower scale at which `design` fits.
//   `argc` and `argv` are Qt's, as for QApplication.
std::unique_ptr<QApplication> startGuiApplication(int &argc, char **argv, QSize design);

} // namespace vk
