#include "stage/multiplydigits.h"

#include "gmpproduct.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace vk {
namespace {

std::string repeat(char c, int n) { return std::string(static_cast<std::size_t>(n), c); }

struct ProductCase {
    std::string first;
    std::string second;
    std::string product;
};

TEST(MultiplyDigits, knownProducts)
{
    const ProductCase cases[] = {
        // 40 digits: nineteen nines, an 8, nineteen zeros and a 1.
        {repeat('9', 20), repeat('9', 20), repeat('9', 19) + "8" + repeat('0', 19) + "1"},
        // 39 digits: no carry left after the last column.
        {"1" + repeat('0', 19), "1" + repeat('0', 19), "1" + repeat('0', 38)},
        // The shorter operand is padded, and all 2n - 1 columns stay.
        {"123", "4", "00492"},
        {"4", "123", "00492"},
        {"05", "03", "015"},
        {"", "", ""},
        {"", "7", "0"}, // the empty operand is padded to one zero
        {"0", "0", "0"},
        {"9", "9", "81"},
        {"12345678901234567890", "98765432109876543210", "1219326311370217952237463801111263526900"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(multiplyDigits(c.first, c.second), c.product) << c.first << " x " << c.second;
}

TEST(MultiplyDigits, operandsMayBeSwapped)
{
    EXPECT_EQ(multiplyDigits("314159", "271828"), multiplyDigits("271828", "314159"));
    EXPECT_EQ(multiplyDigits("0031", "72"), multiplyDigits("72", "0031"));
}

// Bad input must be refused, not read past or turned into a wrong digit.
TEST(MultiplyDigits, rejectsCharactersOtherThanDigits)
{
    for (const char *bad : {"12a4", " 12", "1-2", "１２", "12\n", "/", ":"})
        EXPECT_THROW(multiplyDigits(bad, "123"), NotADigitString) << bad;
    EXPECT_THROW(multiplyDigits("77", "7x"), NotADigitString);
    EXPECT_THROW(multiplyDigits(std::string("1\0" "2", 3), "5"), NotADigitString);
}

// The error names the operand at fault and the place of the first bad
// character in it. When both are bad, the leading operand is read first:
// the longer one, or the first when both are equally long.
TEST(MultiplyDigits, errorNamesTheOperandAtFault)
{
    struct Case {
        std::string first, second;
        std::string operand;
        int position;
    };
    const Case cases[] = {
        {"12a4", "1234", "first", 3},
        {"1234", "12b4", "second", 3},
        {"1x34", "12y4", "first", 2},  // equally long, both bad
        {"7x", "12345", "first", 2},   // the shorter one bad
        {"12345", "9?", "second", 2},
        {"7x", "1z345", "second", 2},  // both bad: the longer second leads
        {"1a345", "7x", "first", 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.first + " x " + c.second);
        try {
            multiplyDigits(c.first, c.second);
            ADD_FAILURE() << "accepted";
        } catch (const NotADigitString &e) {
            const std::string message = e.what();
            EXPECT_TRUE(message.starts_with(c.operand + " operand ")) << message;
            EXPECT_TRUE(message.ends_with("position " + std::to_string(c.position))) << message;
        }
    }
}

// Against GMP, over random lengths 0 to 60 with leading zeros: the value
// must agree and the length must be 2n - 1 or 2n, zeros in front kept.
TEST(MultiplyDigits, agreesWithGmpOnRandomOperands)
{
    std::mt19937 rng(20261209);
    std::uniform_int_distribution<int> length(0, 60), digit(0, 9), coin(0, 3);
    for (int round = 0; round < 3000; ++round) {
        const int la = length(rng);
        const int lb = coin(rng) == 0 ? la : length(rng);
        std::string a, b;
        for (int i = 0; i < la; ++i)
            a.push_back(static_cast<char>('0' + digit(rng)));
        for (int i = 0; i < lb; ++i)
            b.push_back(static_cast<char>('0' + digit(rng)));
        if (coin(rng) == 0 && la > 2)
            a[0] = a[1] = '0';

        const std::string ours = multiplyDigits(a, b);
        const std::size_t n = std::max(a.size(), b.size());
        if (n == 0) {
            EXPECT_EQ(ours, "");
            continue;
        }
        ASSERT_TRUE(ours.size() == 2 * n - 1 || ours.size() == 2 * n) << a << " x " << b << " = " << ours;
        if (ours.size() == 2 * n) {
            EXPECT_NE(ours[0], '0') << "a carry digit is never zero";
        }
        const std::size_t firstNonZero = ours.find_first_not_of('0');
        const std::string value = firstNonZero == std::string::npos ? "0" : ours.substr(firstNonZero);
        ASSERT_EQ(value, test::gmpProduct(a, b)) << a << " x " << b;
    }
}

} // namespace
} // namespace vk
