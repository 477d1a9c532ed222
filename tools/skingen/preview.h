#pragma once

// Window previews: the windows assembled from the written template the way the
// program does it, so seams between tiled pieces show up before anyone runs the app.

#include "painting.h"

#include <QString>

namespace vk::skingen {

// Reads RESOURCES/skin/template.png and writes start, stage, exercise and joined
// mock-ups into dir. Returns the process exit code.
int writePreviews(const QString &resources, const QString &dir, const Fonts &fonts);

} // namespace vk::skingen
