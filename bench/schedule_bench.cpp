// The schedule's own file at scale: one change (read, apply, write under the lock) on a
// schedule of 10 000 rows, as one window makes it, as two windows that change the same
// file in turn make it (each then reads what the other wrote), and as a window's first;
// the file opened from the page; and its parts: writing the whole text and reading it back.
#include "ScheduleJson.h"
#include "ScheduleRows.h"
#include "ScheduleStore.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

workflow::Schedule Rows(std::size_t count) {
    const std::vector<workflow::ScheduleRow> kinds = workflow::RowsOfEveryKind();
    std::vector<workflow::ScheduleRow> rows;
    rows.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        rows.push_back(kinds[i % kinds.size()]);
        rows.back().tag = "Т" + std::to_string(i + 1);
    }
    return workflow::Schedule(std::move(rows));
}

// A folder beside the user's files rather than in memory: the file is synced to the disk.
struct Folder {
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/schedule-bench-XXXXXX")};
    QString path = dir.filePath(QStringLiteral("schedule.json"));
    explicit Folder(std::size_t rows) { schedule::SaveSchedule(path, Rows(rows).Rows()); }
};

void BM_ScheduleOperation(benchmark::State& state) {
    const Folder folder(std::size_t(state.range(0)));
    schedule::ScheduleStore window(folder.path);
    window.Refresh(schedule::LockWait);
    int n = 0;
    for (auto _ : state) {
        const workflow::RowId id = window.Current().Rows()[std::size_t(n) % 100].id;
        const auto outcome = window.Apply(workflow::TagRow(id, "Т-" + std::to_string(++n)));
        if (!outcome.applied) state.SkipWithError("not applied");
    }
}
BENCHMARK(BM_ScheduleOperation)->Arg(10'000)->ArgName("rows")->Unit(benchmark::kMillisecond);

// Two windows on one file: every change finds the file changed by the other.
void BM_ScheduleOperationAfterAnotherWindow(benchmark::State& state) {
    const Folder folder(std::size_t(state.range(0)));
    schedule::ScheduleStore windows[] = {schedule::ScheduleStore(folder.path),
                                         schedule::ScheduleStore(folder.path)};
    windows[0].Refresh(schedule::LockWait);
    int n = 0;
    for (auto _ : state) {
        schedule::ScheduleStore& window = windows[n % 2];
        const workflow::RowId id = windows[0].Current().Rows()[std::size_t(n) % 100].id;
        const auto outcome = window.Apply(workflow::TagRow(id, "Т-" + std::to_string(++n)));
        if (!outcome.applied) state.SkipWithError("not applied");
    }
}
BENCHMARK(BM_ScheduleOperationAfterAnotherWindow)
    ->Arg(10'000)
    ->ArgName("rows")
    ->Unit(benchmark::kMillisecond);

// A window's first change: the whole file read and written anew.
void BM_ScheduleOperationOfANewWindow(benchmark::State& state) {
    const Folder folder(std::size_t(state.range(0)));
    int n = 0;
    for (auto _ : state) {
        schedule::ScheduleStore window(folder.path);
        const auto outcome = window.Apply(workflow::TagRow(1, "Т-" + std::to_string(++n)));
        if (!outcome.applied) state.SkipWithError("not applied");
    }
}
BENCHMARK(BM_ScheduleOperationOfANewWindow)
    ->Arg(10'000)
    ->ArgName("rows")
    ->Unit(benchmark::kMillisecond);

// A schedule file opened in the window: read once to be sure it is one, then by the store
// the page works through from then on.
void BM_OpenScheduleFile(benchmark::State& state) {
    const Folder folder(std::size_t(state.range(0)));
    for (auto _ : state) {
        const schedule::LoadResult checked = schedule::LoadSchedule(folder.path);
        if (!checked.error.isEmpty()) state.SkipWithError("not read");
        schedule::ScheduleStore window(folder.path, schedule::FileOwner::User);
        window.Refresh(schedule::LockWait);
        benchmark::DoNotOptimize(window.Current().Size());
    }
}
BENCHMARK(BM_OpenScheduleFile)->Arg(10'000)->ArgName("rows")->Unit(benchmark::kMillisecond);

void BM_WriteScheduleText(benchmark::State& state) {
    const workflow::Schedule rows = Rows(std::size_t(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = workflow::ScheduleJson(rows);
        bytes = text.size();
        benchmark::DoNotOptimize(text);
    }
    state.counters["MB"] = double(bytes) / 1e6;
}
BENCHMARK(BM_WriteScheduleText)->Arg(10'000)->ArgName("rows")->Unit(benchmark::kMillisecond);

void BM_ReadScheduleText(benchmark::State& state) {
    const std::string text = workflow::ScheduleJson(Rows(std::size_t(state.range(0))));
    for (auto _ : state) {
        const auto parsed = workflow::ParseScheduleJson(text);
        if (parsed.schedule.Size() != std::size_t(state.range(0))) state.SkipWithError("unread");
        benchmark::DoNotOptimize(parsed);
    }
}
BENCHMARK(BM_ReadScheduleText)->Arg(10'000)->ArgName("rows")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
