#pragma once

namespace vk {

// The factor lengths a stage can have, in digits.
inline constexpr int kFewestFactorDigits = 2;
inline constexpr int kMostFactorDigits = 20;

} // namespace vk
