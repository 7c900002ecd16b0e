#pragma once
// Each file's own date, read on worker threads while the list is already shown: the
// window takes the dates as they come and names the rows that have theirs.

#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "files/UniqueFd.h"
#include "targets/OwnDate.h"

namespace karvel {

class DateReading {
  public:
    // Reads one file, a bare name inside the opened folder; called from several threads.
    using Reader = std::function<OwnDate(int folderFd, const std::string& name)>;

    // Starts reading `names` (the rows' Before Names, in row order) inside `folder`.
    DateReading(const std::string& folder, std::vector<std::string> names, Reader read,
                unsigned threads);
    // Stops: files not yet read stay unread.
    ~DateReading();
    DateReading(const DateReading&) = delete;
    DateReading& operator=(const DateReading&) = delete;

    // The dates read since the last call, each with its row.
    std::vector<std::pair<std::size_t, OwnDate>> Take();
    std::size_t Total() const { return names_.size(); }
    std::size_t Finished() const { return finished_.load(); }
    bool Done() const { return Finished() == Total(); }
    // Waits for every file.
    void Wait();

  private:
    void Work();

    std::vector<std::string> names_;
    Reader read_;
    UniqueFd folder_;
    std::atomic<std::size_t> next_{0};
    std::atomic<std::size_t> finished_{0};
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::vector<std::pair<std::size_t, OwnDate>> ready_;
    std::vector<std::thread> workers_;
};

}  // namespace karvel
