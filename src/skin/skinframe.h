#pragma once

class QWidget;

namespace vk {

class SkinTemplate;
class Surface;

// Paints the 4-pixel sunken frame from the template's framed panel in a
// ring directly around `ctl`, onto `window` (the window that holds `ctl`,
// in its pixels). The ring goes into the window's kept image; the window's
// persistent image is left switched off afterwards, whatever it was.
void drawSkinFrame(Surface &window, const QWidget &ctl, const SkinTemplate &skin);

} // namespace vk
