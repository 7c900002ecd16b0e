// The window's share: a drop shown in the list, and a run with the selection and the
// progress on screen, both on the offscreen platform.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QLineEdit>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "app/FolderWatch.h"
#include "app/KarvelFm.h"
#include "app/MessageBox.h"
#include "app/QtText.h"
#include "bench/BenchRun.h"
#include "cli/BatchRun.h"
#include "rename/PosixRunFileSystem.h"
#include "rename/RenameRun.h"
#include "rename/RunHistory.h"
#include "targets/DropIntake.h"
#include "texts/RunTexts.h"

namespace {

std::unique_ptr<karvel::KarvelFm> OpenWindow(const karvel::bench::BenchFolder& files) {
    auto window = std::make_unique<karvel::KarvelFm>(files.Folder() + "Karvel.ini");
    window->SetStateFolder(files.Folder() + "state");
    window->findChild<QLineEdit*>(QStringLiteral("TxtStartNo"))->setText(QStringLiteral("1"));
    window->findChild<QComboBox*>(QStringLiteral("CmbCol"))->setCurrentText(QStringLiteral("5"));
    window->findChild<QComboBox*>(QStringLiteral("CmbType"))
        ->setCurrentText(QStringLiteral("yymmdd"));
    window->show();
    QApplication::processEvents();
    return window;
}

void BM_WindowDrop(benchmark::State& state) {
    const karvel::bench::BenchFolder files(static_cast<std::size_t>(state.range(0)));
    const std::vector<std::string> paths = files.Paths();
    auto window = OpenWindow(files);
    for (auto _ : state) {
        window->TakeInPaths(paths);
        QApplication::processEvents();  // the rows painted
        if (window->Targets().RowCount() != paths.size()) state.SkipWithError("rows missing");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WindowDrop)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// Compare with BM_BareLoop of bench_rename_run: the same 10,000 files and calls.
void BM_WindowRun(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto files = std::make_unique<karvel::bench::BenchFolder>(10'000);
        auto window = OpenWindow(*files);
        window->TakeInPaths(files->Paths());
        karvel::MessageBox::SetNextAnswer(karvel::MessageAnswer::Yes);
        karvel::MessageBox::SetNextAnswer(karvel::MessageAnswer::Ok);
        state.ResumeTiming();
        window->BtnStart_Click();
        QApplication::processEvents();
        state.PauseTiming();
        if (karvel::MessageBox::Last()->text != karvel::QtText(karvel::kMsgSucceeded)) {
            state.SkipWithError("the run did not complete");
        }
        window.reset();
        files.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 10'000);
}
BENCHMARK(BM_WindowRun)->Unit(benchmark::kMillisecond)->Iterations(10);

double Milliseconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

struct Timed {
    double run = 0;    // from the start command until done (and, in the window, painted)
    double whole = 0;  // from the paths given: taken in and run
};

Timed WindowJob(std::size_t count) {
    const karvel::bench::BenchFolder files(count);
    auto window = OpenWindow(files);
    const std::vector<std::string> paths = files.Paths();
    karvel::MessageBox::SetNextAnswer(karvel::MessageAnswer::Yes);
    karvel::MessageBox::SetNextAnswer(karvel::MessageAnswer::Ok);
    const auto start = std::chrono::steady_clock::now();
    window->TakeInPaths(paths);
    QApplication::processEvents();
    const auto click = std::chrono::steady_clock::now();
    window->BtnStart_Click();
    QApplication::processEvents();
    const auto end = std::chrono::steady_clock::now();
    if (karvel::MessageBox::Last()->text != karvel::QtText(karvel::kMsgSucceeded)) return {};
    return {Milliseconds(end - click), Milliseconds(end - start)};
}

// Batch mode's run alone: the list taken in as batch mode takes it, untimed, then the run.
double BatchRun(std::size_t count) {
    const karvel::bench::BenchFolder files(count);
    karvel::TargetList list;
    karvel::TakeInDrop(list, files.Paths(), {{2024, 3, 5}, "yymmdd", "5", "1"},
                       karvel::IntakeLook::OneListing);
    karvel::bench::SilentHost host;
    karvel::PosixRunFileSystem fileSystem;
    karvel::StateRecords records(files.Folder() + "state");
    const auto start = std::chrono::steady_clock::now();
    const auto report = karvel::StartRun(list, {{2024, 3, 5}, false}, host, fileSystem, &records);
    const double ms = Milliseconds(std::chrono::steady_clock::now() - start);
    return report.result == karvel::RunResult::Completed ? ms : 0;
}

// Batch mode as the command runs it, from the paths given.
double BatchWhole(std::size_t count) {
    const karvel::bench::BenchFolder files(count);
    karvel::PosixRunFileSystem fileSystem;
    std::istringstream in;
    std::ostringstream out, err;
    karvel::StateRecords records(files.Folder() + "state");
    const auto start = std::chrono::steady_clock::now();
    const int status =
        karvel::RunBatch(karvel::bench::BatchRequestFor(files), files.Folder() + "none.ini",
                         {2026, 12, 7}, {in, out, err}, fileSystem, &records);
    const double ms = Milliseconds(std::chrono::steady_clock::now() - start);
    return status == karvel::kExitRenamed ? ms : 0;
}

// The same 10,000 files renamed with the undo journal from the window and from batch mode,
// interleaved. run_ratio: the window's run (its screen, its lock, the window painted after)
// against batch mode's run of the same loop. whole_ratio: the window's drop and run against
// the whole batch command, which never reads the files' modified times to show them.
void BM_WindowAgainstBatch(benchmark::State& state) {
    constexpr std::size_t kFiles = 10'000;
    Timed window, batch;
    for (auto _ : state) {
        const Timed one = WindowJob(kFiles);
        const double batchRun = BatchRun(kFiles);
        const double batchWhole = BatchWhole(kFiles);
        if (one.run == 0 || batchRun == 0 || batchWhole == 0)
            state.SkipWithError("a run did not complete");
        window.run += one.run;
        window.whole += one.whole;
        batch.run += batchRun;
        batch.whole += batchWhole;
        state.SetIterationTime(one.run / 1000);
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["window_run_ms"] = window.run / runs;
    state.counters["batch_run_ms"] = batch.run / runs;
    state.counters["run_ratio"] = window.run / batch.run;
    state.counters["window_whole_ms"] = window.whole / runs;
    state.counters["batch_whole_ms"] = batch.whole / runs;
    state.counters["whole_ratio"] = window.whole / batch.whole;
}
BENCHMARK(BM_WindowAgainstBatch)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// One name coming into the listed folder of 100,000 files until the marks show it:
// the folder read again, every row checked, the view told. Without the wait of the
// watch's burst interval, which is no work.
void BM_WindowFolderChange(benchmark::State& state) {
    const karvel::bench::BenchFolder files(100'000);
    auto window = OpenWindow(files);
    window->TakeInPaths(files.Paths());
    window->findChild<karvel::FolderWatch*>()->SetInterval(std::chrono::milliseconds(0));
    const std::string taken = files.Folder() + window->Targets().Rows().front().AfterName;
    bool present = false;
    for (auto _ : state) {
        const std::size_t before = window->FolderReReads();
        if (present) {
            std::filesystem::remove(taken);
        } else {
            std::ofstream(taken) << 'x';
        }
        present = !present;
        while (window->FolderReReads() == before)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const bool marked = window->Targets().Rows().front().Conflict != karvel::RowConflict::None;
        if (marked != present) state.SkipWithError("the mark does not follow the folder");
    }
}
BENCHMARK(BM_WindowFolderChange)->Unit(benchmark::kMillisecond);

// Another program writes 10,000 files into the listed folder of 100,000 while the
// window goes on: how often the folder is read, and the burst's length.
void BM_WindowFolderBurst(benchmark::State& state) {
    const karvel::bench::BenchFolder files(100'000);
    auto window = OpenWindow(files);
    window->TakeInPaths(files.Paths());
    const auto* watch = window->findChild<karvel::FolderWatch*>();
    std::size_t reReads = 0;
    double burstMs = 0;
    int round = 0;
    for (auto _ : state) {
        const std::size_t before = window->FolderReReads();
        std::atomic<bool> done{false};
        const auto start = std::chrono::steady_clock::now();
        std::thread writer([&, round] {
            for (int i = 0; i < 10'000; ++i) {
                std::ofstream(files.Folder() + "burst-" + std::to_string(round) + "-" +
                              std::to_string(i))
                    << 'x';
            }
            done = true;
        });
        // The loop sleeps until something comes, as the window's does.
        while (!done) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        writer.join();
        burstMs +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        while (watch->Pending()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        reReads += window->FolderReReads() - before;
        ++round;
    }
    state.counters["reads"] =
        benchmark::Counter(static_cast<double>(reReads), benchmark::Counter::kAvgIterations);
    state.counters["burst_ms"] = benchmark::Counter(burstMs, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_WindowFolderBurst)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
