// Time of one call of each engine entry on a typical input, and of a sweep over every
// diameter, material and a range of temperatures.
#include "TCalc.h"

#include <benchmark/benchmark.h>

namespace {

void NormFlux(benchmark::State& state) {
    T_calc c;
    double norm = 0, x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            c.CalcByNormFlux(true, true, false, false, 5, 150, 7, 0, 0, 4, norm, x));
        benchmark::DoNotOptimize(x);
    }
}
BENCHMARK(NormFlux);

void SurfaceTemp(benchmark::State& state) {
    T_calc c;
    double x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(c.CalcBySurfaceTemp(true, false, false, 20, 150, 45, 7, 4, x));
        benchmark::DoNotOptimize(x);
    }
}
BENCHMARK(SurfaceTemp);

void Condensation(benchmark::State& state) {
    T_calc c;
    double x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(c.CalcAgainstCondensation(true, false, 20, 5, 60, 7, 4, x));
        benchmark::DoNotOptimize(x);
    }
}
BENCHMARK(Condensation);

void TwoPipeChannel(benchmark::State& state) {
    T_calc c;
    double x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(c.CalcTwoPipeChannel(1, 1.0, 1.0, 2.0, 2.0, 5, 7, 4, x));
        benchmark::DoNotOptimize(x);
    }
}
BENCHMARK(TwoPipeChannel);

void Freezing(benchmark::State& state) {
    T_calc c;
    double x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(c.CalcAgainstFreezing(-40, 5, 24, 18, 7, 4, 6, x));
        benchmark::DoNotOptimize(x);
    }
}
BENCHMARK(Freezing);

// One check at an installed thickness after its entry, and the search for the product
// thickness that meets a requirement from 0 mm (a deep search: doubling, then halving).
template <class Check> void RunCheck(benchmark::State& state, T_calc& c, Check check) {
    double x = 0.04;
    for (auto _ : state) {
        benchmark::DoNotOptimize(check(c, x));
        x = x < 0.1 ? x + 1e-6 : 0.04;
    }
}

void CheckNormFlux(benchmark::State& state) {
    T_calc c;
    double norm = 0, x = 0;
    c.CalcByNormFlux(true, true, false, false, 5, 150, 7, 0, 0, 4, norm, x);
    RunCheck(state, c, [](const T_calc& e, double t) { return e.CheckNormFlux(t).flux; });
}
BENCHMARK(CheckNormFlux);

void CheckSurfaceTemp(benchmark::State& state) {
    T_calc c;
    double x = 0;
    c.CalcBySurfaceTemp(true, false, false, 20, 150, 45, 7, 4, x);
    RunCheck(state, c, [](const T_calc& e, double t) { return e.CheckSurfaceTemp(t).surfaceTemp; });
}
BENCHMARK(CheckSurfaceTemp);

void CheckCondensation(benchmark::State& state) {
    T_calc c;
    double x = 0;
    c.CalcAgainstCondensation(true, false, 20, 5, 60, 7, 4, x);
    RunCheck(state, c,
             [](const T_calc& e, double t) { return e.CheckCondensation(t).surfaceTemp; });
}
BENCHMARK(CheckCondensation);

void CheckTwoPipeChannel(benchmark::State& state) {
    T_calc c;
    double x = 0;
    c.CalcTwoPipeChannel(1, 1.0, 1.0, 2.0, 2.0, 5, 7, 4, x);
    RunCheck(state, c, [](const T_calc& e, double t) { return e.CheckTwoPipeChannel(t).pairLoss; });
}
BENCHMARK(CheckTwoPipeChannel);

void CheckFreezing(benchmark::State& state) {
    T_calc c;
    double x = 0;
    c.CalcAgainstFreezing(-40, 5, 24, 18, 7, 4, 6, x);
    RunCheck(state, c, [](const T_calc& e, double t) { return e.CheckFreezing(t).hours; });
}
BENCHMARK(CheckFreezing);

void SmallestMeetingThickness(benchmark::State& state) {
    T_calc c;
    double x = 0;
    c.CalcAgainstFreezing(-40, 5, 24, 18, 7, 4, 6, x);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            T_calc::SmallestMeetingThickness(0, 2'000'000'000, [&](int32_t mm) {
                return c.CheckFreezing(c.InstalledThickness(mm)).Met();
            }));
}
BENCHMARK(SmallestMeetingThickness);

// Every entry for 22 diameters x 7 materials x 16 temperatures (2464 calls per entry).
void SweepAllEntries(benchmark::State& state) {
    T_calc c;
    int64_t calls = 0;
    for (auto _ : state) {
        double norm = 0, x = 0;
        for (int32_t d = 0; d < T_calc::DiameterCount; ++d)
            for (int32_t m = 0; m < T_calc::MaterialCount; ++m)
                for (int32_t t = -150; t <= 600; t += 50) {
                    c.CalcByNormFlux(true, true, false, false, 5, t, d, 0, 0, m, norm, x);
                    c.CalcBySurfaceTemp(true, false, false, 20, t, 45, d, m, x);
                    c.CalcAgainstCondensation(true, false, 20, t / 10, 60, d, m, x);
                    c.CalcTwoPipeChannel(t & 3 ? 1 : 2, 2.0, 3.0, 2.0, 3.0, t / 20, d, m, x);
                    c.CalcAgainstFreezing(-40, 5, 24, (t + 150) / 10, d, m, 6, x);
                    benchmark::DoNotOptimize(c.RoundThickness(x));
                    calls += 5;
                }
    }
    state.SetItemsProcessed(calls);
}
BENCHMARK(SweepAllEntries)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
