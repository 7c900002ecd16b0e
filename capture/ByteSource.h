#pragma once
// A file's bytes, in memory or behind a descriptor, read a piece at a time so that a large file
// is never held whole.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace karvel {

// The first bytes of a source as one block: a view of memory, or a copy read from a file.
class ByteBlock {
  public:
    explicit ByteBlock(std::span<const unsigned char> view) : view_(view) {}
    explicit ByteBlock(std::vector<unsigned char> copy) : copy_(std::move(copy)), owned_(true) {}

    std::span<const unsigned char> Bytes() const {
        return owned_ ? std::span<const unsigned char>(copy_) : view_;
    }

  private:
    std::span<const unsigned char> view_;
    std::vector<unsigned char> copy_;
    bool owned_ = false;
};

class ByteSource {
  public:
    static ByteSource Memory(std::span<const unsigned char> bytes) {
        return ByteSource(bytes, -1, bytes.size());
    }
    // `fd` stays the caller's; `size` is what fstat told.
    static ByteSource File(int fd, std::uint64_t size) { return ByteSource({}, fd, size); }

    std::uint64_t Size() const { return size_; }

    // Copies the bytes from `offset` into `out`, as many as there are: fewer near the end (or when
    // the file shrank meanwhile). Empty on a read error.
    std::optional<std::size_t> ReadAt(std::uint64_t offset, std::span<unsigned char> out) const;

    // The first `limit` bytes, or all when there are fewer. Empty on a read error.
    std::optional<ByteBlock> Head(std::size_t limit) const;

  private:
    ByteSource(std::span<const unsigned char> memory, int fd, std::uint64_t size)
        : memory_(memory), fd_(fd), size_(size) {}

    std::span<const unsigned char> memory_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// A source read through by a library, at most `budget` bytes in all; past that it reads as if the
// file ended there. A broken file cannot send the library round its whole length in small steps,
// however large the file is.
class BudgetedSource {
  public:
    BudgetedSource(const ByteSource& source, std::uint64_t budget)
        : source_(source), budget_(budget) {}

    std::uint64_t Size() const { return source_.Size(); }
    // As ByteSource::ReadAt, counted against the budget.
    std::optional<std::size_t> ReadAt(std::uint64_t offset, std::span<unsigned char> out);
    // A read failed: the file is unreadable, not broken.
    bool ReadFailed() const { return readFailed_; }

  private:
    const ByteSource& source_;
    std::uint64_t budget_;
    bool readFailed_ = false;
};

}  // namespace karvel
