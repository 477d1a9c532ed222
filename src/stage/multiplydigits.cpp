#include "stage/multiplydigits.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace vk {
namespace {

// The hand method, column by column from the units with the carry passed
// left, is run on "digits" of base 10^9 rather than 10: the same columns
// grouped nine at a time, so a 20-digit factor is three limbs and the whole
// product nine cross products instead of four hundred.
constexpr std::uint64_t kLimbBase = 1'000'000'000;
constexpr std::size_t kLimbDigits = 9;

// Limb storage: on the stack for operands up to 144 digits (the stage's
// factors have 20), on the heap beyond.
class Limbs
{
public:
    explicit Limbs(std::size_t count)
        : m_count(count)
    {
        if (count > m_small.size())
            m_large.resize(count);
        m_data = count > m_small.size() ? m_large.data() : m_small.data();
        std::fill(m_data, m_data + count, 0);
    }
    Limbs(const Limbs &) = delete;
    Limbs &operator=(const Limbs &) = delete;

    std::size_t size() const { return m_count; }
    std::uint64_t &operator[](std::size_t i) { return m_data[i]; }
    std::uint64_t operator[](std::size_t i) const { return m_data[i]; }
    std::uint64_t *begin() { return m_data; }
    std::uint64_t *end() { return m_data + m_count; }

private:
    std::array<std::uint64_t, 32> m_small;
    std::vector<std::uint64_t> m_large;
    std::uint64_t *m_data;
    std::size_t m_count;
};

std::size_t limbCount(std::string_view text)
{
    return (text.size() + kLimbDigits - 1) / kLimbDigits;
}

// Limbs of `text` from the units upwards. Also the one place where the
// operand is checked: anything but '0'-'9' is refused before it is read as
// a digit.
void toLimbs(std::string_view text, Limbs &limbs, const char *which)
{
    std::size_t end = text.size();
    for (std::uint64_t &limb : limbs) {
        const std::size_t begin = end > kLimbDigits ? end - kLimbDigits : 0;
        std::uint64_t value = 0;
        for (std::size_t p = begin; p < end; ++p) {
            const unsigned d = static_cast<unsigned char>(text[p]) - static_cast<unsigned>('0');
            if (d > 9)
                throw NotADigitString(std::string(which) + " operand holds a character other than 0-9 at position "
                                      + std::to_string(p + 1));
            value = value * 10 + d;
        }
        limb = value;
        end = begin;
    }
}

} // namespace

std::string multiplyDigits(std::string_view first, std::string_view second)
{
    // Swap only when the first operand is strictly shorter. The product does
    // not depend on the order, but which operand is reported as bad does.
    const bool swap = first.size() < second.size();
    const std::string_view a = swap ? second : first;
    const std::string_view b = swap ? first : second;
    const std::size_t n = a.size();

    Limbs al(limbCount(a));
    Limbs bl(limbCount(b));
    toLimbs(a, al, swap ? "second" : "first");
    toLimbs(b, bl, swap ? "first" : "second");
    if (n == 0)
        return {};

    // Cross products by limb column, carry passed left after each column.
    Limbs column(al.size() + bl.size());
    unsigned __int128 carry = 0;
    for (std::size_t k = 0; k < column.size(); ++k) {
        unsigned __int128 sum = carry;
        const std::size_t lo = k >= bl.size() ? k - bl.size() + 1 : 0;
        const std::size_t hi = k < al.size() ? k : al.size() - 1;
        for (std::size_t p = lo; p <= hi && p < al.size(); ++p)
            sum += static_cast<unsigned __int128>(al[p]) * bl[k - p];
        column[k] = static_cast<std::uint64_t>(sum % kLimbBase);
        carry = sum / kLimbBase;
    }

    // Written out in decimal, the product has 2n - 1 digits, zeros in front
    // kept, plus the carry digit of the last column when it is not zero; as
    // the product is below 10^2n that is never more than 2n digits.
    // A short second operand counts as padded with zeros to n digits, so
    // room is made for 2n digits whatever the limbs hold.
    std::string digits(std::max(column.size() * kLimbDigits, 2 * n), '0');
    std::size_t pos = digits.size();
    for (std::uint64_t limb : column)
        for (std::size_t i = 0; i < kLimbDigits; ++i, limb /= 10)
            digits[--pos] = static_cast<char>('0' + limb % 10);

    const std::size_t columns = 2 * n - 1;
    std::size_t keep = columns;
    if (digits.size() > columns && digits[digits.size() - columns - 1] != '0')
        keep = columns + 1;
    return digits.substr(digits.size() - keep);
}

} // namespace vk
