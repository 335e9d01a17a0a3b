#include "TCalc.h"
#include <benchmark/benchmark.h>
static void BM_x(benchmark::State& s) { T_calc c; for (auto _ : s) benchmark::DoNotOptimize(c.Conductivity(1)); }
BENCHMARK(BM_x);
BENCHMARK_MAIN();
