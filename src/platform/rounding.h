#pragma once

#include <cmath>
#include <cstdint>

namespace vk {

// Every real value that becomes an integer rounds halves to the even
// neighbour (422.5 -> 422, 551.5 -> 552). qRound() rounds halves away
// from zero and must not be used for layout or clock arithmetic.
inline std::int32_t roundHalfEven(double value) { return static_cast<std::int32_t>(std::nearbyint(value)); }
inline std::int32_t roundHalfEven(float value) { return static_cast<std::int32_t>(std::nearbyintf(value)); }

// Rounding to two decimals, again halves to even, in the precision the
// value is held in: the stage clock keeps its readings as 32-bit floats.
inline double roundTo2(double value) { return std::nearbyint(value * 100.0) / 100.0; }
inline float roundTo2(float value) { return std::nearbyintf(value * 100.0f) / 100.0f; }

} // namespace vk
