#pragma once

namespace vk {

class Form;
struct AppContext;

// The window-control strip's backdrop mode: on, the main window is centred
// in the work area and the full-screen backdrop stands behind it; off, the
// backdrop is hidden. Minimising hides the backdrop but leaves the mode on.
class BackdropMode
{
public:
    explicit BackdropMode(AppContext &ctx)
        : m_ctx(ctx)
    {
    }

    bool isOn() const { return m_on; }

    // toggleBackdrop: switches the mode and shows or hides the backdrop.
    void toggle(Form &main);
    // After the main window is minimised.
    void hideIfOn();

private:
    AppContext &m_ctx;
    bool m_on = false;
};

} // namespace vk
