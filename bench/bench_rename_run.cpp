// A run of 10,000 files through the core against a bare loop making the same system calls.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

#include <memory>

#include "bench/BenchRun.h"
#include "rename/PosixRunFileSystem.h"
#include "rename/RenameRun.h"
#include "rename/RunHistory.h"
#include "targets/TargetList.h"

namespace {

constexpr std::size_t kFiles = 10'000;

void BM_BareLoop(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto files = std::make_unique<karvel::bench::BenchFolder>(kFiles);
        state.ResumeTiming();
        karvel::bench::BareRunLoop(*files, files->Names());
        state.PauseTiming();
        files.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kFiles));
}
BENCHMARK(BM_BareLoop)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_CoreRun(benchmark::State& state) {
    karvel::bench::SilentHost host;
    karvel::PosixRunFileSystem fileSystem;
    for (auto _ : state) {
        state.PauseTiming();
        auto files = std::make_unique<karvel::bench::BenchFolder>(kFiles);
        karvel::TargetList list;
        std::vector<karvel::TargetRow> rows;
        for (std::size_t i = 0; i < kFiles; ++i) {
            karvel::TargetRow row{files->Names()[i], karvel::bench::BenchNewName(i), "", false};
            karvel::FileEntry entry;
            (void)karvel::ReadFileEntry(files->Folder() + files->Names()[i], entry);
            row.Identity = entry.Id();
            rows.push_back(std::move(row));
        }
        karvel::FileEntry folder;
        (void)karvel::ReadFileEntry(files->Folder(), folder);
        list.SetTargetFolderId(folder.Id());
        list.SetTargetFolder(files->Folder());
        list.AssignRows(std::move(rows));
        list.SetState(karvel::ListState::Ready);
        // With its undo journal, as batch mode and the window run it, or without.
        karvel::StateRecords records(files->Folder() + "state", state.range(0) == 1);
        state.ResumeTiming();
        const karvel::RunReport report =
            karvel::StartRun(list, {{2024, 3, 5}, false}, host, fileSystem, &records);
        if (report.result != karvel::RunResult::Completed)
            state.SkipWithError("the run did not complete");
        state.PauseTiming();
        files.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kFiles));
}
BENCHMARK(BM_CoreRun)
    ->ArgName("journal")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
