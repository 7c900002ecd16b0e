// The conflict preview runs after every rebuild of the names, so on every
// keystroke in the start-number box: it must stay well inside a frame.
#include <benchmark/benchmark.h>

#include "bench/BenchFolder.h"
#include "naming/NewNames.h"
#include "targets/ConflictPreview.h"
#include "targets/DropIntake.h"
#include "targets/ListRefresh.h"

namespace {

// A dropped folder of N files, renamed over and over with a new start number.
void BM_RefreshAndPreview(benchmark::State& state) {
    const karvel::bench::BenchFolder files(static_cast<std::size_t>(state.range(0)));
    karvel::NamingOptions options{{2024, 3, 5}, "yymmdd", "5", "1"};
    karvel::TargetList list;
    karvel::TakeInDrop(list, files.Paths(), options);
    if (list.RowCount() != files.Names().size() || !list.Snapshot().Known()) {
        state.SkipWithError("drop failed");
    }
    int start = 1;
    for (auto _ : state) {
        options.startNoText = std::to_string(start++ % 1000);
        karvel::RefreshList(list, karvel::ListChanges::Names(options));
        benchmark::DoNotOptimize(list.Rows().back().Conflict);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RefreshAndPreview)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// Files named by an earlier run and numbered again: every After Name is a name in
// the folder, freed by the row above (start 0) or still taken (start 2).
void BM_RefreshAndPreviewRenumbering(benchmark::State& state) {
    const karvel::bench::BenchFolder files(static_cast<std::size_t>(state.range(0)));
    karvel::NamingOptions options{{2024, 3, 5}, "yymmdd", "5", "1"};
    karvel::TargetList list;
    karvel::TakeInDrop(list, files.Paths(), options);
    std::vector<std::string> renamed;
    for (const karvel::TargetRow& row : list.Rows()) {
        std::filesystem::rename(files.Folder() + row.BeforeName, files.Folder() + row.AfterName);
        renamed.push_back(files.Folder() + row.AfterName);
    }
    karvel::TakeInDrop(list, renamed, options);
    bool freed = false;
    for (auto _ : state) {
        freed = !freed;
        options.startNoText = freed ? "0" : "2";
        karvel::RefreshList(list, karvel::ListChanges::Names(options));
        const bool asExpected =
            freed ? list.Rows().back().Conflict == karvel::RowConflict::None
                  : list.Rows().front().Conflict == karvel::RowConflict::NameTaken;
        if (!asExpected) state.SkipWithError("unexpected preview");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RefreshAndPreviewRenumbering)->Arg(100'000)->Unit(benchmark::kMillisecond);

// The preview alone, the part the names' rebuild did not cost before.
void BM_PreviewOnly(benchmark::State& state) {
    const karvel::bench::BenchFolder files(static_cast<std::size_t>(state.range(0)));
    const karvel::NamingOptions options{{2024, 3, 5}, "yymmdd", "5", "1"};
    karvel::TargetList list;
    karvel::TakeInDrop(list, files.Paths(), options);
    for (auto _ : state) {
        karvel::PreviewConflicts(list);
        benchmark::DoNotOptimize(list.Rows().back().Conflict);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PreviewOnly)->Arg(100'000)->Unit(benchmark::kMillisecond);

// Reading the folder once per drop.
void BM_FolderSnapshot(benchmark::State& state) {
    const karvel::bench::BenchFolder files(static_cast<std::size_t>(state.range(0)));
    const karvel::NamingOptions options{{2024, 3, 5}, "yymmdd", "5", "1"};
    karvel::TargetList list;
    karvel::TakeInDrop(list, files.Paths(), options);
    for (auto _ : state) {
        const auto snapshot = karvel::FolderSnapshot::Read(list.TargetFolder(), list.Rows());
        if (snapshot.NameCount() != files.Names().size()) state.SkipWithError("names missing");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FolderSnapshot)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
