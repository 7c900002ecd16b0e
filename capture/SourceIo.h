#pragma once
// exiv2 reading a whole file through a ByteSource: a piece at a time where it reads and seeks, the
// whole file (up to a bound) only where it asks for all of it at once, as for TIFF.

#include <exiv2/exiv2.hpp>

#include <cstdint>
#include <optional>
#include <vector>

#include "capture/ByteSource.h"

namespace karvel {

class SourceIo final : public Exiv2::BasicIo {
  public:
    // `readFailed` is set when a read of the file fails: then it is unreadable, not broken. It is
    // the caller's, as exiv2 owns and deletes its sources.
    SourceIo(const ByteSource& source, bool& readFailed);

    int open() override;
    int close() override;
    long write(const Exiv2::byte* data, long count) override;
    long write(Exiv2::BasicIo& from) override;
    int putb(Exiv2::byte data) override;
    Exiv2::DataBuf read(long count) override;
    long read(Exiv2::byte* buffer, long count) override;
    int getb() override;
    void transfer(Exiv2::BasicIo& from) override;
    int seek(long offset, Position from) override;
    Exiv2::byte* mmap(bool writeable) override;
    int munmap() override;
    long tell() const override;
    std::size_t size() const override;
    bool isopen() const override;
    int error() const override;
    bool eof() const override;
    std::string path() const override;

  private:
    // Copies up to `count` bytes at the position, from the window of bytes read ahead.
    long ReadAhead(Exiv2::byte* buffer, std::size_t count);

    const ByteSource& source_;
    BudgetedSource reads_;
    std::uint64_t position_ = 0;
    bool eof_ = false;
    bool& readFailed_;
    std::vector<unsigned char> window_;
    std::uint64_t windowStart_ = 0;
    std::optional<ByteBlock> mapped_;
};

}  // namespace karvel
