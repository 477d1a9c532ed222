#pragma once

namespace vk {

// The format bits of the text drawing calls the windows make, with the
// platform's values. Only these are understood.
namespace dt {
constexpr unsigned Left = 0x0;
constexpr unsigned Top = 0x0;
constexpr unsigned Center = 0x1;
constexpr unsigned Right = 0x2;
constexpr unsigned VCenter = 0x4;
constexpr unsigned Bottom = 0x8;
constexpr unsigned SingleLine = 0x20;
constexpr unsigned NoClip = 0x100;
} // namespace dt

} // namespace vk
