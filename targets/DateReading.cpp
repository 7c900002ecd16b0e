#include "targets/DateReading.h"

#include <fcntl.h>

#include <algorithm>

namespace karvel {

namespace {

// Results go to the window in small batches: one lock per batch, not per file.
constexpr std::size_t kBatch = 64;

}  // namespace

DateReading::DateReading(const std::string& folder, std::vector<std::string> names, Reader read,
                         unsigned threads)
    : names_(std::move(names)),
      read_(std::move(read)),
      folder_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    const std::size_t count =
        std::clamp<std::size_t>(threads, 1, std::max<std::size_t>(names_.size(), 1));
    for (std::size_t i = 0; i < count && !names_.empty(); ++i)
        workers_.emplace_back([this] { Work(); });
}

DateReading::~DateReading() {
    stopping_ = true;
    for (std::thread& worker : workers_) worker.join();
}

void DateReading::Work() {
    std::vector<std::pair<std::size_t, OwnDate>> batch;
    const auto hand = [this, &batch] {
        if (batch.empty()) return;
        {
            const std::lock_guard lock(mutex_);
            ready_.insert(ready_.end(), batch.begin(), batch.end());
        }
        finished_ += batch.size();
        batch.clear();
    };
    while (!stopping_) {
        const std::size_t row = next_++;
        if (row >= names_.size()) break;
        batch.emplace_back(row, read_(folder_.Get(), names_[row]));
        if (batch.size() == kBatch) hand();
    }
    hand();
}

std::vector<std::pair<std::size_t, OwnDate>> DateReading::Take() {
    std::vector<std::pair<std::size_t, OwnDate>> taken;
    const std::lock_guard lock(mutex_);
    taken.swap(ready_);
    return taken;
}

void DateReading::Wait() {
    for (std::thread& worker : workers_) worker.join();
    workers_.clear();
}

}  // namespace karvel
