#pragma once

#include <cstdint>

namespace vk {

// Colours are spoken of as RGB triples; the sheet and the grid store the
// platform's 0x00BBGGRR numbers (RGB (0, 0, 128) is 0x800000).
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

using ColorRef = std::uint32_t;

constexpr ColorRef toColorRef(Rgb c)
{
    return static_cast<ColorRef>(c.r) | (static_cast<ColorRef>(c.g) << 8) | (static_cast<ColorRef>(c.b) << 16);
}

constexpr Rgb fromColorRef(ColorRef v)
{
    return Rgb{static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>((v >> 8) & 0xFF),
               static_cast<std::uint8_t>((v >> 16) & 0xFF)};
}

} // namespace vk
