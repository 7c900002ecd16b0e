// Own dates read on worker threads: every row once, taken as they come; a reading stopped
// early ends at once.
#include "targets/DateReading.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <thread>

namespace karvel {
namespace {

OwnDate DayOf(const std::string& name) {
    return {{2024, 3, std::stoi(name)}, {}, DateOrigin::Taken, NoCaptureWhy::None};
}

TEST(DateReading, EveryRowOnceWhateverTheThreads) {
    for (const unsigned threads : {1U, 2U, 8U}) {
        std::vector<std::string> names;
        for (int i = 0; i < 1000; ++i) names.push_back(std::to_string(1 + i % 28));
        DateReading reading(
            "/", names, [](int, const std::string& name) { return DayOf(name); }, threads);
        std::set<std::size_t> rows;
        while (rows.size() < names.size()) {
            for (const auto& [row, date] : reading.Take()) {
                EXPECT_TRUE(rows.insert(row).second) << row;
                EXPECT_EQ(date.shown.day, std::stoi(names[row]));
            }
        }
        EXPECT_TRUE(reading.Done());
        EXPECT_TRUE(reading.Take().empty());
    }
}

TEST(DateReading, StoppedEarlyItReadsNoFurther) {
    std::atomic<int> read{0};
    {
        const std::vector<std::string> names(10'000, "1");
        DateReading reading(
            "/", names,
            [&read](int, const std::string& name) {
                ++read;
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                return DayOf(name);
            },
            2);
    }
    const int atEnd = read.load();
    EXPECT_LT(atEnd, 100);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(read.load(), atEnd);
}

}  // namespace
}  // namespace karvel
