// A drop of 100,000 files reads and converts 100,000 stamps; a run writes as many back.
#include <benchmark/benchmark.h>
#include <linux/magic.h>
#include <stdlib.h>
#include <sys/vfs.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "filetime/DateTimeText.h"
#include "filetime/FileTimes.h"
#include "rename/RenameRun.h"

namespace {

constexpr std::size_t kFileCount = 100'000;

bool OnTmpfs(const char* folder) {
    struct statfs info {};
    return ::statfs(folder, &info) == 0 && info.f_type == TMPFS_MAGIC;
}

// The files live in memory so that the figures show this code, not the disk.
class FileSet {
  public:
    FileSet() {
        const std::string base = OnTmpfs("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string pattern = base + "/karvel-bench-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        folder_ = pattern;
        paths_.reserve(kFileCount);
        for (std::size_t i = 0; i < kFileCount; ++i) {
            paths_.push_back(folder_ + "/DSC_" + std::to_string(i) + ".jpg");
            std::ofstream(paths_.back()) << 'x';
            // Spread over a year so that both summer and winter offsets occur.
            karvel::FileInstants in;
            in.access.tv_sec = in.modify.tv_sec = 1'704'067'200 + static_cast<long>(i) * 317;
            in.modify.tv_nsec = static_cast<long>(i % 1000) * 1'000'123;
            if (karvel::WriteFileInstants(paths_.back(), in))
                throw std::runtime_error("utimensat failed");
        }
    }
    ~FileSet() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    FileSet(const FileSet&) = delete;
    FileSet& operator=(const FileSet&) = delete;

    const std::vector<std::string>& Paths() const { return paths_; }

  private:
    std::string folder_;
    std::vector<std::string> paths_;
};

const FileSet& Files() {
    static const FileSet files;
    return files;
}

void BM_ReadFileInstants(benchmark::State& state) {
    const auto& paths = Files().Paths();
    for (auto _ : state) {
        for (const auto& path : paths) {
            karvel::FileInstants in;
            benchmark::DoNotOptimize(karvel::ReadFileInstants(path, in));
            benchmark::DoNotOptimize(in);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(paths.size()));
}
BENCHMARK(BM_ReadFileInstants)->Unit(benchmark::kMillisecond);

// The conversion alone, without the file system.
void BM_FillFileTimes(benchmark::State& state) {
    std::vector<karvel::FileInstants> instants(kFileCount);
    for (std::size_t i = 0; i < instants.size(); ++i) {
        instants[i].access.tv_sec = instants[i].modify.tv_sec =
            1'704'067'200 + static_cast<long>(i) * 317;
    }
    for (auto _ : state) {
        karvel::FileTimeStamps stamps{};
        for (const auto& in : instants) {
            karvel::FillFileTimes(in, stamps);
            benchmark::DoNotOptimize(stamps);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(instants.size()));
}
BENCHMARK(BM_FillFileTimes)->Unit(benchmark::kMillisecond);

// What the drop intake does per file: one look, the stamps in local time, the modified time as
// text.
void BM_LookAndModifiedText(benchmark::State& state) {
    const auto& paths = Files().Paths();
    for (auto _ : state) {
        karvel::FileTimeStamps stamps{};
        for (const auto& path : paths) {
            karvel::FileEntry entry;
            benchmark::DoNotOptimize(karvel::ReadFileEntry(path, entry));
            karvel::FillFileTimes(entry.instants, stamps);
            benchmark::DoNotOptimize(karvel::FormatDateTimeText(stamps.LastWriteTime,
                                                                karvel::kDateTimeShortYearMinutes));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(paths.size()));
}
BENCHMARK(BM_LookAndModifiedText)->Unit(benchmark::kMillisecond);

// What the rename run does per file: read the instants, move the modified date, write back.
void BM_Restamp(benchmark::State& state) {
    const auto& paths = Files().Paths();
    int month = 0;
    for (auto _ : state) {
        const karvel::CalendarDate date{2024, month++ % 12 + 1, 1};
        for (const auto& path : paths) {
            karvel::FileInstants instants;
            benchmark::DoNotOptimize(karvel::ReadFileInstants(path, instants));
            benchmark::DoNotOptimize(
                karvel::WriteFileInstants(path, karvel::RestampedInstants(instants, date, false)));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(paths.size()));
}
BENCHMARK(BM_Restamp)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
