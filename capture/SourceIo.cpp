#include "capture/SourceIo.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

namespace karvel {

namespace {

// exiv2 reads markers and box headers a few bytes at a time; one system call serves many.
constexpr std::size_t kWindowBytes = 64 * 1024;
// The most held at once for the formats exiv2 parses from memory, whose directories may point
// anywhere in the file.
constexpr std::size_t kMaxMappedBytes = 128 * 1024 * 1024;
// The most read piece by piece: far more than any metadata, far less than a huge file.
constexpr std::uint64_t kReadBudget = 64 * 1024 * 1024;

}  // namespace

SourceIo::SourceIo(const ByteSource& source, bool& readFailed)
    : source_(source), reads_(source, kReadBudget), readFailed_(readFailed) {}

int SourceIo::open() {
    position_ = 0;
    eof_ = false;
    return 0;
}

int SourceIo::close() {
    return 0;
}

long SourceIo::write(const Exiv2::byte* /*data*/, long /*count*/) {
    return 0;
}

long SourceIo::write(Exiv2::BasicIo& /*from*/) {
    return 0;
}

int SourceIo::putb(Exiv2::byte /*data*/) {
    return EOF;
}

Exiv2::DataBuf SourceIo::read(long count) {
    // A broken length asks for more than there is: room is made only for what there is.
    const std::uint64_t left = source_.Size() - std::min(position_, source_.Size());
    const auto wanted = static_cast<long>(
        std::min<std::uint64_t>({static_cast<std::uint64_t>(std::max(count, 0L)), left,
                                 static_cast<std::uint64_t>(std::numeric_limits<long>::max())}));
    Exiv2::DataBuf buffer(wanted);
    buffer.size_ = read(buffer.pData_, wanted);
    if (count > wanted) eof_ = true;
    return buffer;
}

long SourceIo::read(Exiv2::byte* buffer, long count) {
    if (count <= 0) return 0;
    const auto wanted = static_cast<std::size_t>(count);
    const long got = wanted > kWindowBytes ? 0 : ReadAhead(buffer, wanted);
    if (got > 0 || readFailed_) return got;
    const auto direct = reads_.ReadAt(position_, {buffer, wanted});
    if (!direct) {
        readFailed_ = true;
        return 0;
    }
    position_ += *direct;
    if (*direct < wanted) eof_ = true;
    return static_cast<long>(*direct);
}

long SourceIo::ReadAhead(Exiv2::byte* buffer, std::size_t count) {
    const bool inWindow =
        position_ >= windowStart_ && position_ + count <= windowStart_ + window_.size();
    if (!inWindow) {
        window_.resize(kWindowBytes);
        const auto got = reads_.ReadAt(position_, window_);
        if (!got) {
            readFailed_ = true;
            window_.clear();
            return 0;
        }
        window_.resize(*got);
        windowStart_ = position_;
    }
    const std::size_t from = static_cast<std::size_t>(position_ - windowStart_);
    const std::size_t copied = std::min(count, window_.size() - std::min(from, window_.size()));
    if (copied > 0) std::memcpy(buffer, window_.data() + from, copied);
    position_ += copied;
    if (copied < count) eof_ = true;
    return static_cast<long>(copied);
}

int SourceIo::getb() {
    Exiv2::byte value = 0;
    return read(&value, 1) == 1 ? value : EOF;
}

void SourceIo::transfer(Exiv2::BasicIo& /*from*/) {
    throw Exiv2::Error(Exiv2::kerFunctionNotSupported, "transfer");
}

int SourceIo::seek(long offset, Position from) {
    std::int64_t base = 0;
    if (from == cur) base = static_cast<std::int64_t>(position_);
    if (from == end) base = static_cast<std::int64_t>(source_.Size());
    const std::int64_t target = base + offset;
    if (target < 0) return 1;
    if (static_cast<std::uint64_t>(target) > source_.Size()) {
        eof_ = true;
        return 1;
    }
    position_ = static_cast<std::uint64_t>(target);
    eof_ = false;
    return 0;
}

Exiv2::byte* SourceIo::mmap(bool writeable) {
    if (writeable || source_.Size() > kMaxMappedBytes) {
        throw Exiv2::Error(Exiv2::kerFailedToReadImageData);
    }
    if (!mapped_) {
        mapped_ = source_.Head(kMaxMappedBytes);
        if (!mapped_) {
            readFailed_ = true;
            throw Exiv2::Error(Exiv2::kerFailedToReadImageData);
        }
    }
    // exiv2 only reads from a map it did not ask to write.
    return const_cast<Exiv2::byte*>(mapped_->Bytes().data());
}

int SourceIo::munmap() {
    mapped_.reset();
    return 0;
}

long SourceIo::tell() const {
    return static_cast<long>(position_);
}

std::size_t SourceIo::size() const {
    return static_cast<std::size_t>(source_.Size());
}

bool SourceIo::isopen() const {
    return true;
}

int SourceIo::error() const {
    return readFailed_ ? 1 : 0;
}

bool SourceIo::eof() const {
    return eof_;
}

std::string SourceIo::path() const {
    return {};
}

}  // namespace karvel
