#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace vk {

// Thrown when an operand holds anything but the characters '0' to '9'.
class NotADigitString : public std::invalid_argument
{
public:
    using std::invalid_argument::invalid_argument;
};

// The exact product of two decimal digit strings (most significant digit
// first), worked column by column from the units the way it is done by hand.
// The longer operand leads (the first one when both are equally long), the
// other is padded with zeros on the left to the same length n, and the result
// has 2n - 1 digits plus one more when a carry is left: leading zeros of the
// operands are kept, never stripped.
std::string multiplyDigits(std::string_view first, std::string_view second);

} // namespace vk
