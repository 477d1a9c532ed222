#pragma once

// The product of two decimal digit strings as GMP works it out: the value
// only, without zeros in front ("0" for a zero product).
#include <gmp.h>

#include <string>

namespace vk::test {

inline std::string gmpProduct(const std::string &a, const std::string &b)
{
    mpz_t x, y, z;
    mpz_init_set_str(x, a.empty() ? "0" : a.c_str(), 10);
    mpz_init_set_str(y, b.empty() ? "0" : b.c_str(), 10);
    mpz_init(z);
    mpz_mul(z, x, y);
    std::string s(mpz_sizeinbase(z, 10) + 2, '\0');
    mpz_get_str(s.data(), 10, z);
    s.resize(std::char_traits<char>::length(s.c_str()));
    mpz_clears(x, y, z, nullptr);
    return s;
}

} // namespace vk::test
