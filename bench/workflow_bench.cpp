// One calculate command end to end, from the input values to the list of effects, for
// each kind of calculation on the window's one engine; and a table of many lines imported.
#include "CalcKinds.h"
#include "CalculateCommand.h"
#include "ScheduleCsv.h"
#include "ScheduleImport.h"
#include "ThicknessAnalysis.h"

#include <variant>

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

// The table of the thickness analysis, from the engine as the kind's calculation left it:
// what opening the panel costs.
void AnalyseThickness(benchmark::State& state, int method, const workflow::Inputs& in) {
    T_calc engine;
    std::optional<workflow::AcceptedCheck> check;
    for (const workflow::Effect& e : workflow::Calculate(method, in, engine, ","))
        if (const auto* shown = std::get_if<workflow::ShowCheck>(&e)) check = shown->check;
    if (!check) {
        state.SkipWithError("no thickness");
        return;
    }
    const workflow::CalcKind& kind = *workflow::Kind(method);
    std::size_t rows = 0;
    for (auto _ : state) {
        const auto analysis = workflow::AnalyseThickness(kind, method, engine, *check, true);
        rows = analysis.rows.size();
        benchmark::DoNotOptimize(analysis);
    }
    state.counters["rows"] = double(rows);
}
void BM_ThicknessAnalysis(benchmark::State& state) {
    AnalyseThickness(state, int(state.range(0)), InputsOfKind(int(state.range(0))));
}
BENCHMARK(BM_ThicknessAnalysis)->DenseRange(0, 4)->ArgName("kind")->Unit(benchmark::kMicrosecond);

// A full table of 20 rows: water in a small pipe that stands long in hard frost needs a
// metre of insulation.
void BM_ThicknessAnalysis20Rows(benchmark::State& state) {
    workflow::Inputs in = InputsOfKind(4);
    in.Field(workflow::Control::RzNumericEdit25) = -57;
    in.Field(workflow::Control::RzNumericEdit28) = 41;
    in.Choice(workflow::Control::RzComboBox3) = 5;
    AnalyseThickness(state, 4, in);
}
BENCHMARK(BM_ThicknessAnalysis20Rows)->Unit(benchmark::kMicrosecond);

// The same with the calculation before it, as the batch's table of every line does.
void BM_AnalyseCalculation(benchmark::State& state) {
    const int method = int(state.range(0));
    const workflow::Inputs in = InputsOfKind(method);
    for (auto _ : state)
        benchmark::DoNotOptimize(workflow::AnalyseCalculation(method, in));
}
BENCHMARK(BM_AnalyseCalculation)->DenseRange(0, 4)->ArgName("kind")->Unit(benchmark::kMicrosecond);

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
