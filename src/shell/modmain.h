#pragma once

#include <QDomDocument>

#include <cstdint>

namespace vk {

// The one rectangle every text drawing call uses; each caller sets it right
// before drawing. 32-bit left, top, right, bottom in pixels, right and bottom
// exclusive.
struct TextRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    void set(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b)
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
};

// State shared by the windows of one program run. Owned by the application
// and handed to the windows by reference.
struct ModMain {
    bool timerEnabled = true;  // the clock display was chosen at START
    bool stageActive = false;  // from START to BACK; selects the main window's look
    QDomDocument problemDoc;   // the problem of the current or last stage
    TextRect textRect;
};

} // namespace vk
