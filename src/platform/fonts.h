#pragma once

#include <QFont>
#include <QString>

namespace vk {

// Makes Tahoma available: Debian ships Wine's Tahoma without registering it
// with fontconfig. Safe to call more than once; returns false when the font
// files are missing (text then falls back to the default sans face).
bool registerFonts();

// A font by the face names the windows are defined with: "Tahoma" is Wine's
// Tahoma, "Arial" Liberation Sans, "Verdana" DejaVu Sans.
QFont makeFont(const QString &face, double pointSize, bool bold = false, bool underline = false);

} // namespace vk
