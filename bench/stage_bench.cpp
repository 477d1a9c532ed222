// The product of two 20-digit factors, ours next to GMP's, and a whole
// problem drawn into a fresh document.
#include "platform/dayclock.h"
#include "platform/randomsource.h"
#include "stage/multiplydigits.h"
#include "stage/stage.h"

#include <benchmark/benchmark.h>
#include <gmp.h>

#include <string>

namespace {

const std::string kFirst = "73829104658201937465";
const std::string kSecond = "91827364501928374650";

void BM_multiplyDigits_ours(benchmark::State &state)
{
    for (auto _ : state) {
        std::string product = vk::multiplyDigits(kFirst, kSecond);
        benchmark::DoNotOptimize(product);
    }
}
BENCHMARK(BM_multiplyDigits_ours);

// The same work with GMP: parse both factors, multiply, print the product.
void BM_multiplyDigits_gmp(benchmark::State &state)
{
    mpz_t a, b, c;
    mpz_inits(a, b, c, nullptr);
    char buffer[64];
    for (auto _ : state) {
        mpz_set_str(a, kFirst.c_str(), 10);
        mpz_set_str(b, kSecond.c_str(), 10);
        mpz_mul(c, a, b);
        mpz_get_str(buffer, 10, c);
        std::string product(buffer);
        benchmark::DoNotOptimize(product);
    }
    mpz_clears(a, b, c, nullptr);
}
BENCHMARK(BM_multiplyDigits_gmp);

void BM_createProblem(benchmark::State &state)
{
    vk::Mt19937RandomSource random;
    vk::SystemDayClock clock;
    QDomDocument problemDoc;
    vk::StageRecord stage;
    for (auto _ : state) {
        vk::createProblem(problemDoc, stage, random, clock);
        benchmark::DoNotOptimize(stage.correctProduct);
    }
}
BENCHMARK(BM_createProblem)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
