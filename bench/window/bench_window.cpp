// The window's share: a drop shown in the list, and a run with the selection and the
// progress on screen, both on the offscreen platform.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QLineEdit>

#include <memory>

#include "app/KarvelFm.h"
#include "app/MessageBox.h"
#include "bench/BenchFolder.h"

namespace {

std::unique_ptr<karvel::KarvelFm> OpenWindow(const karvel::bench::BenchFolder& files) {
    auto window = std::make_unique<karvel::KarvelFm>(files.Folder() + "Karvel.ini");
    window->SetStateFolder(files.Folder() + "state");
    window->findChild<QLineEdit*>(QStringLiteral("TxtStartNo"))->setText(QStringLiteral("1"));
    window->findChild<QComboBox*>(QStringLiteral("CmbCol"))->setCurrentText(QStringLiteral("5"));
    window->findChild<QComboBox*>(QStringLiteral("CmbType"))->setCurrentText(QStringLiteral("yymmdd"));
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
        if (karvel::MessageBox::Last()->text != QStringLiteral("変換処理が正常終了しました")) {
            state.SkipWithError("the run did not complete");
        }
        window.reset();
        files.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 10'000);
}
BENCHMARK(BM_WindowRun)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
