// Files cut short, damaged or huge: a reason or the date they do hold, soon, never a crash or a
// date made up from what is missing.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

#include "CaptureSupport.h"
#include "support/TempDir.h"
#include "support/ZoneFixture.h"

namespace karvel {
namespace {

using testing::ExpectNone;
using testing::PinnedZone;
using testing::ReadFileIn;
using testing::ReadText;
using testing::SampleBytes;
using testing::TempDir;

TEST(BrokenFiles, CutShortOrDamagedFilesSayWhy) {
    const PinnedZone zone("UTC");
    const std::string jpeg = SampleBytes("sample.jpg");
    std::string badTiffHeader = jpeg;
    badTiffHeader.replace(badTiffHeader.find("MM\0*", 0, 4), 4, "XY\0*", 4);
    const std::string noMarkers = jpeg.substr(0, 3) + std::string(4000, '\x5A');

    const struct {
        std::string what;
        std::string bytes;
        NoCapture why;
    } kCases[] = {
        {"empty file", "", NoCapture::UnknownFormat},
        {"text", "2024:03:05 10:20:30\n", NoCapture::UnknownFormat},
        {"JPEG cut inside its Exif segment", jpeg.substr(0, 30), NoCapture::LibraryError},
        {"JPEG cut before its Exif ends", jpeg.substr(0, 300), NoCapture::LibraryError},
        {"JPEG with a broken TIFF header", badTiffHeader, NoCapture::LibraryError},
        {"JPEG start and then noise", noMarkers, NoCapture::NoMetadata},
        {"TIFF cut before its Exif directory", SampleBytes("sample.tif").substr(0, 200),
         NoCapture::LibraryError},
        {"PNG cut", SampleBytes("sample.png").substr(0, 100), NoCapture::LibraryError},
        {"WebP cut", SampleBytes("sample.webp").substr(0, 100), NoCapture::LibraryError},
        {"CR3 cut", SampleBytes("sample.cr3").substr(0, 150), NoCapture::LibraryError},
        {"RAF cut", SampleBytes("sample.raf").substr(0, 200), NoCapture::LibraryError},
        {"HEIC cut", SampleBytes("sample.heic").substr(0, 400), NoCapture::LibraryError},
        {"AVIF cut", SampleBytes("sample.avif").substr(0, 300), NoCapture::LibraryError},
        {"MP4 cut", SampleBytes("sample.mp4").substr(0, 60), NoCapture::LibraryError},
        {"ftyp and nothing else", SampleBytes("sample.mp4").substr(0, 28), NoCapture::LibraryError},
    };
    for (const auto& sample : kCases) ExpectNone(ReadText(sample.bytes), sample.why, sample.what);

    // What lies before the cut is still read: a JPEG whose image data is missing keeps its date.
    const CaptureRead headerOnly = ReadText(jpeg.substr(0, jpeg.find("\xFF\xDB")));
    ASSERT_TRUE(headerOnly.time) << headerOnly;
    EXPECT_EQ(headerOnly.time->shown, (WallClock{2024, 3, 5, 10, 20, 30, 123'000'000}));
}

// Every sample cut at every length: never a crash, and never a date the whole file does not show.
// The cut may take the date's offset or sub-seconds with it, so only the date itself is compared.
TEST(BrokenFiles, NoCutMakesUpADate) {
    const PinnedZone zone("Europe/Berlin");
    for (const auto& entry : std::filesystem::directory_iterator(testing::kSampleFolder)) {
        const std::string name = entry.path().filename().string();
        const std::string bytes = SampleBytes(name);
        const CaptureRead whole = ReadText(bytes);
        for (std::size_t length = 0; length < bytes.size(); ++length) {
            const CaptureRead cut = ReadText(bytes.substr(0, length));
            if (!cut.time) continue;
            ASSERT_TRUE(whole.time) << name;
            WallClock shown = cut.time->shown;
            shown.nanos = whole.time->shown.nanos;
            EXPECT_EQ(shown, whole.time->shown) << name << " cut at " << length << ": " << cut;
            EXPECT_EQ(cut.time->tag, whole.time->tag) << name << " cut at " << length;
        }
    }
}

// A huge file is not read whole: a movie whose header lies past 64 GiB of hole is read at once.
TEST(LargeFiles, HugeFilesReadOnlyWhatTheyNeed) {
    const PinnedZone zone("UTC");
    const TempDir dir;
    const std::string movie = SampleBytes("sample.mp4");
    // The sample's ftyp box (28 bytes), then a free box of 64 GiB, then its other boxes.
    constexpr std::uint64_t kHole = 64ULL << 30;
    std::string freeBox = {0, 0, 0, 1, 'f', 'r', 'e', 'e'};
    for (int shift = 56; shift >= 0; shift -= 8) {
        freeBox += static_cast<char>(((kHole + 16) >> shift) & 0xFF);
    }
    const std::string path = dir.MakeFile("huge.mp4", movie.substr(0, 28) + freeBox);
    {
        const UniqueFd fd(::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
        ASSERT_TRUE(fd.Valid());
        ASSERT_EQ(::ftruncate(fd.Get(), static_cast<off_t>(28 + 16 + kHole)), 0);
        const std::string rest = movie.substr(28);
        ASSERT_EQ(::write(fd.Get(), rest.data(), rest.size()), static_cast<ssize_t>(rest.size()));
    }
    // Sparse files of zeros behind an image's leading bytes: each read stays bounded.
    for (const char* name : {"huge.tif", "huge.jpg", "huge.png"}) {
        const std::string lead = std::string(name) == "huge.tif" ? std::string("II*\0\x08\0\0\0", 8)
                                 : std::string(name) == "huge.jpg"
                                     ? std::string("\xFF\xD8\xFF\xE1")
                                     : std::string("\x89PNG\r\n\x1A\n");
        const std::string file = dir.MakeFile(name, lead);
        ASSERT_EQ(::truncate(file.c_str(), static_cast<off_t>(kHole)), 0);
    }

    const auto start = std::chrono::steady_clock::now();
    const CaptureRead read = ReadFileIn(dir.path(), "huge.mp4");
    ASSERT_TRUE(read.time) << read;
    EXPECT_EQ(UtcText(read.time->instant), "2024-03-31 00:59:59.000");
    const struct {
        const char* name;
        NoCapture why;
    } kImages[] = {
        {"huge.tif", NoCapture::NoMetadata},  // a first directory without entries
        {"huge.jpg", NoCapture::LibraryError},
        {"huge.png", NoCapture::LibraryError},
    };
    for (const auto& image : kImages) {
        ExpectNone(ReadFileIn(dir.path(), image.name), image.why, image.name);
    }
    // Reading the hole alone would take minutes.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

// A JPEG's Exif may come behind large segments: looked for past the first read.
TEST(LargeFiles, ExifBehindLargeSegmentsIsFound) {
    const PinnedZone zone("UTC");
    const std::string jpeg = SampleBytes("sample.jpg");
    std::string padded = jpeg.substr(0, 2);  // SOI
    for (int i = 0; i < 4; ++i) {
        padded += "\xFF\xE2\xFF\xFF";  // an APP2 segment of 65533 bytes
        padded += std::string(0xFFFF - 2, static_cast<char>('a' + i));
    }
    padded += jpeg.substr(2);
    ASSERT_GT(padded.size(), 256u * 1024);
    const TempDir dir;
    dir.MakeFile("padded.jpg", padded);
    for (const CaptureRead& read : {ReadFileIn(dir.path(), "padded.jpg"), ReadText(padded)}) {
        ASSERT_TRUE(read.time) << read;
        EXPECT_EQ(read.time->shown, (WallClock{2024, 3, 5, 10, 20, 30, 123'000'000}));
    }
}

// A little-endian TIFF whose first directory holds a DateTime and points to an Exif directory
// 300,000 bytes in, past the first read, that holds the DateTimeOriginal.
std::string TiffWithFarExif() {
    std::string tiff;
    const auto u16 = [&](unsigned value) {
        tiff += static_cast<char>(value & 0xFF);
        tiff += static_cast<char>(value >> 8);
    };
    const auto u32 = [&](std::uint32_t value) {
        u16(value & 0xFFFF);
        u16(value >> 16);
    };
    const auto entry = [&](unsigned tag, unsigned type, std::uint32_t count, std::uint32_t value) {
        u16(tag);
        u16(type);
        u32(count);
        u32(value);
    };
    constexpr std::uint32_t kExifAt = 300'000;
    tiff = "II*";
    tiff += '\0';
    u32(8);
    u16(2);
    entry(0x0132, 2, 20, 8 + 2 + 2 * 12 + 4);  // DateTime, right after this directory
    entry(0x8769, 4, 1, kExifAt);
    u32(0);
    tiff += std::string("2020:01:01 00:00:00", 20);
    tiff.resize(kExifAt, '\0');
    u16(1);
    entry(0x9003, 2, 20, kExifAt + 2 + 12 + 4);  // DateTimeOriginal
    u32(0);
    tiff += std::string("2024:03:05 10:20:30", 20);
    return tiff;
}

TEST(LargeFiles, AnExifDirectoryFarIntoATiffIsFound) {
    const PinnedZone zone("UTC");
    const std::string tiff = TiffWithFarExif();
    const TempDir dir;
    dir.MakeFile("far.tif", tiff);
    // The first read sees only the DateTime and that the Exif directory lies beyond: not enough.
    for (const CaptureRead& read : {ReadFileIn(dir.path(), "far.tif"), ReadText(tiff)}) {
        ASSERT_TRUE(read.time) << read;
        EXPECT_EQ(read.time->tag, CaptureTag::DateTimeOriginal);
        EXPECT_EQ(read.time->shown, (WallClock{2024, 3, 5, 10, 20, 30, 0}));
    }
    // Cut before the Exif directory, the DateTime is no stand-in for the date that is missing.
    ExpectNone(ReadText(tiff.substr(0, 200'000)), NoCapture::LibraryError, "cut");
}

}  // namespace
}  // namespace karvel
