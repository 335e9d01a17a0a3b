// One calculate command end to end, from the input values to the list of effects, for
// each kind of calculation on the window's one engine; and a table of many lines imported.
#include "CalculateCommand.h"
#include "ScheduleCsv.h"
#include "ScheduleImport.h"

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

// The template's line of each kind over and over: read, calculated and made rows.
void BM_ImportLines(benchmark::State& state) {
    const std::string pattern = workflow::ImportTemplateCsv();
    const std::size_t bodyStart = pattern.find('\n') + 1;
    std::string table = pattern.substr(0, bodyStart);
    const std::string body = pattern.substr(bodyStart);
    const auto lines = std::size_t(state.range(0));
    while (table.size() < bodyStart + body.size() * (lines / workflow::CalcMethodCount))
        table += body;
    for (auto _ : state) {
        const auto result = workflow::ImportScheduleCsv(table, "2026-12-10T16:20:05", ",");
        if (result.rows.size() != lines) state.SkipWithError("lines not calculated");
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ImportLines)->Arg(10'000)->ArgName("lines")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
