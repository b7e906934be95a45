#include <benchmark/benchmark.h>

#include "data/globals.h"
#include "print/conv_s.h"

namespace {

// One call as the printed order makes it: S_R in, S1-S3 out.
void BM_ConvS(benchmark::State& state) {
    const double amounts[] = {0.05, 1001, 21000.21, 1234567.89, 999999999999.99, 3002001.04};
    pordex::Globals& g = pordex::globals();
    std::size_t i = 0;
    for (auto _ : state) {
        g.S_R = amounts[i++ % std::size(amounts)];
        pordex::print::CONV_S();
        benchmark::DoNotOptimize(g.S1.bytes[0]);
    }
}
BENCHMARK(BM_ConvS);

void BM_ConvSLongest(benchmark::State& state) {
    pordex::Globals& g = pordex::globals();
    g.S_R = 777777777777.77;
    for (auto _ : state) {
        pordex::print::CONV_S();
        benchmark::DoNotOptimize(g.S3.bytes[0]);
    }
}
BENCHMARK(BM_ConvSLongest);

}  // namespace

BENCHMARK_MAIN();
