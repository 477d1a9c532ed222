#pragma once

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

} // namespace vk
