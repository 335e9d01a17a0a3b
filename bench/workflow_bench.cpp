// One calculate command end to end, from the input values to the list of effects, for
// each kind of calculation on the window's one engine.
#include "CalculateCommand.h"

#include <benchmark/benchmark.h>

namespace {

// A successful calculation of each kind: the examples that the window's defaults lead to.
workflow::Inputs InputsOfKind(int method) {
    workflow::Inputs in;
    switch (method) {
    case 0:
        in.Field(workflow::Control::RzNumericEdit1) = 5;
        in.Field(workflow::Control::RzNumericEdit2) = 150;
        break;
    case 1:
        in.Field(workflow::Control::RzNumericEdit6) = 20;
        in.Field(workflow::Control::RzNumericEdit7) = 150;
        in.Field(workflow::Control::RzNumericEdit8) = 45;
        break;
    case 2:
        in.Field(workflow::Control::RzNumericEdit11) = 20;
        in.Field(workflow::Control::RzNumericEdit12) = 5;
        in.Field(workflow::Control::RzNumericEdit13) = 60;
        break;
    default:
        break; // kinds 3 and 4 succeed on their page defaults
    }
    return in;
}

void BM_Calculate(benchmark::State& state) {
    const int method = int(state.range(0));
    const workflow::Inputs in = InputsOfKind(method);
    T_calc engine;
    for (auto _ : state)
        benchmark::DoNotOptimize(workflow::Calculate(method, in, engine, ","));
}
BENCHMARK(BM_Calculate)->DenseRange(0, 4)->ArgName("kind");

} // namespace

BENCHMARK_MAIN();
