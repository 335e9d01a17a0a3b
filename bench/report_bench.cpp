// Preparing one report, and preparing and painting it to a PDF in memory; the schedule
// written as a PDF file, by its number of rows.
#include "CalculateCommand.h"
#include "PagePainter.h"
#include "ReportCommand.h"
#include "SchedulePrint.h"

#include <QBuffer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// The surface-temperature report of a pipe, as after a calculation.
struct SampleWindow {
    workflow::Inputs inputs;
    workflow::ShownResult shown;
    SampleWindow() {
        inputs.Field(workflow::Control::RzNumericEdit6) = 20;
        inputs.Field(workflow::Control::RzNumericEdit7) = 150;
        inputs.Field(workflow::Control::RzNumericEdit8) = 45;
        shown.Calculated(1, inputs, std::vector<workflow::Effect>{workflow::SetResult{"30,0"}});
    }
};

const reportengine::Template* SampleReport(reports::ReportTemplates& templates) {
    const SampleWindow window;
    return reports::FillReport(templates, 1, window.inputs, window.shown);
}

void BM_PrepareReport(benchmark::State& s) {
    reports::ReportTemplates templates;
    const auto* report = SampleReport(templates);
    for (auto _ : s)
        benchmark::DoNotOptimize(reportengine::PreparePage(*report));
}
BENCHMARK(BM_PrepareReport)->Unit(benchmark::kMicrosecond);

void BM_PrepareAndWritePdf(benchmark::State& s) {
    reports::ReportTemplates templates;
    const auto* report = SampleReport(templates);
    qint64 bytes = 0;
    for (auto _ : s) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        if (!reportengine::WritePdf(reportengine::PreparePage(*report), buffer)) {
            s.SkipWithError("the PDF could not be written");
            break;
        }
        bytes = buffer.size();
    }
    s.counters["pdf_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_PrepareAndWritePdf)->Unit(benchmark::kMillisecond);

// One calculated row, its tag numbered, repeated: layout time grows with the rows' number
// and height, not with their variety.
std::vector<workflow::ScheduleRow> SampleSchedule(std::size_t count) {
    const SampleWindow window;
    T_calc engine;
    workflow::ShownResult shown;
    shown.KindChosen(1);
    shown.Calculated(1, window.inputs, workflow::Calculate(1, window.inputs, engine, ","));
    const auto made = workflow::RowFromCalculation(1, window.inputs, shown, "", ",");
    std::vector<workflow::ScheduleRow> rows(count, made.row.value_or(workflow::ScheduleRow{}));
    for (std::size_t i = 0; i < count; ++i)
        rows[i].tag = "Т-" + std::to_string(i + 1);
    return rows;
}

void BM_WriteSchedulePdf(benchmark::State& s) {
    const auto rows = SampleSchedule(std::size_t(s.range(0)));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("schedule.pdf"));
    for (auto _ : s) {
        if (!reports::WriteSchedulePdf(path, rows, QDate(2024, 3, 5)).isEmpty()) {
            s.SkipWithError("the PDF could not be written");
            break;
        }
    }
    s.counters["pdf_bytes"] = static_cast<double>(QFileInfo(path).size());
}
BENCHMARK(BM_WriteSchedulePdf)
    ->Arg(10)
    ->Arg(100)
    ->Arg(500)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
