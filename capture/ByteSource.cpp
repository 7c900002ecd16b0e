#include "capture/ByteSource.h"

#include <errno.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace karvel {

std::optional<std::size_t> ByteSource::ReadAt(std::uint64_t offset,
                                              std::span<unsigned char> out) const {
    // A file that grew since it was measured is read as it was measured.
    if (offset >= size_) return 0;
    const auto count =
        static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), size_ - offset));
    if (fd_ < 0) {
        if (count > 0) std::memcpy(out.data(), memory_.data() + offset, count);
        return count;
    }
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got =
            ::pread(fd_, out.data() + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

std::optional<ByteBlock> ByteSource::Head(std::size_t limit) const {
    const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(size_, limit));
    if (fd_ < 0) return ByteBlock(memory_.first(wanted));
    std::vector<unsigned char> copy(wanted);
    const auto got = ReadAt(0, copy);
    if (!got) return std::nullopt;
    copy.resize(*got);
    return ByteBlock(std::move(copy));
}

std::optional<std::size_t> BudgetedSource::ReadAt(std::uint64_t offset,
                                                  std::span<unsigned char> out) {
    const auto allowed = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), budget_));
    const auto got = source_.ReadAt(offset, out.first(allowed));
    if (!got) {
        readFailed_ = true;
        return std::nullopt;
    }
    budget_ -= *got;
    return got;
}

}  // namespace karvel
