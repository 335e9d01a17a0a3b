// Preparing one report, and preparing and painting it to a PDF in memory.
#include "PagePainter.h"
#include "ReportCommand.h"

#include <QBuffer>
#include <QGuiApplication>
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
