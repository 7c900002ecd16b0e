// Every format reads its capture time, from a file of the kind a camera, a phone or a common tool
// writes (tests/data/capture/).

#include <gtest/gtest.h>

#include <fcntl.h>

#include <string>
#include <thread>
#include <vector>

#include "CaptureSupport.h"
#include "support/ZoneFixture.h"

namespace karvel {
namespace {

using testing::kSampleFolder;
using testing::PinnedZone;
using testing::ReadFileIn;
using testing::ReadText;
using testing::SampleBytes;

using enum CaptureOrigin;
using enum CaptureTag;

constexpr std::int32_t kHour = 3600;

struct Sample {
    const char* name;
    const char* shown;
    const char* utc;
    std::int32_t utcOffset;
    CaptureOrigin origin;
    CaptureTag tag = DateTimeOriginal;
};

// Read in Europe/Berlin: +01:00 in winter, +02:00 in summer.
const Sample kSamples[] = {
    // exiftool's Exif in ffmpeg's pictures; heif-enc carried it into HEIC and AVIF.
    {"sample.jpg", "2024-03-05 10:20:30.123", "2024-03-05 01:20:30.123", 9 * kHour, ExifWithOffset},
    {"sample.tif", "2024-07-15 12:00:00.000", "2024-07-15 10:00:00.000", 2 * kHour, Exif},
    {"sample.png", "2023-11-12 13:14:15.500", "2023-11-12 12:14:15.500", 1 * kHour, Exif},
    {"sample.webp", "2023-12-24 18:00:00.000", "2023-12-24 23:00:00.000", -5 * kHour,
     ExifWithOffset},
    {"sample.heic", "2022-08-01 09:30:00.042", "2022-08-01 00:30:00.042", 9 * kHour,
     ExifWithOffset},
    {"sample.avif", "2022-08-02 23:59:59.000", "2022-08-02 21:59:59.000", 2 * kHour, Exif},
    // Laid out by craft-raw-samples.py. The CR2's later DateTime is not taken.
    {"sample.cr2", "2021-06-01 08:00:01.000", "2021-06-01 06:00:01.000", 2 * kHour, Exif},
    {"sample.cr3", "2021-06-09 10:11:12.345", "2021-06-09 01:11:12.345", 9 * kHour, ExifWithOffset},
    {"sample.nef", "2021-06-03 09:10:11.500", "2021-06-03 07:10:11.500", 2 * kHour, ExifWithOffset},
    {"sample.arw", "2021-06-04 12:00:00.000", "2021-06-04 16:00:00.000", -4 * kHour,
     ExifWithOffset},
    {"sample.dng", "2021-06-05 13:14:15.700", "2021-06-05 07:44:15.700", 5 * kHour + 1800,
     ExifWithOffset, DateTime},
    {"sample.orf", "2021-06-06 06:06:06.250", "2021-06-06 04:06:06.250", 2 * kHour, Exif,
     DateTimeDigitized},
    {"sample.rw2", "2021-06-07 07:07:07.900", "2021-06-07 05:07:07.900", 2 * kHour, Exif},
    {"sample.raf", "2021-06-08 18:30:00.000", "2021-06-08 17:30:00.000", 1 * kHour, ExifWithOffset},
    // ffmpeg's movies, their UTC creation times on either side of both changes of 2024.
    {"sample.mp4", "2024-03-31 01:59:59.000", "2024-03-31 00:59:59.000", 1 * kHour, VideoUtc,
     CreationTime},
    {"sample.mov", "2024-03-31 03:00:00.000", "2024-03-31 01:00:00.000", 2 * kHour, VideoUtc,
     CreationTime},
    {"sample.m4v", "2024-10-27 02:30:00.000", "2024-10-27 00:30:00.000", 2 * kHour, VideoUtc,
     CreationTime},
    {"sample.3gp", "2024-10-27 02:30:00.000", "2024-10-27 01:30:00.000", 1 * kHour, VideoUtc,
     CreationTime},
};

TEST(SampleFiles, EachFormatReadsItsCaptureTime) {
    const PinnedZone zone("Europe/Berlin");
    for (const Sample& sample : kSamples) {
        SCOPED_TRACE(sample.name);
        const CaptureRead read = ReadFileIn(kSampleFolder, sample.name);
        ASSERT_TRUE(read.time) << read;
        EXPECT_EQ(TextOf(read.time->shown), sample.shown);
        EXPECT_EQ(UtcText(read.time->instant), sample.utc);
        EXPECT_EQ(read.time->utcOffset, sample.utcOffset);
        EXPECT_EQ(read.time->origin, sample.origin);
        EXPECT_EQ(read.time->tag, sample.tag);
    }
    // QuickTime files older than the ftyp box open with another box.
    const CaptureRead oldMovie = ReadText(SampleBytes("sample.mov").substr(20));
    ASSERT_TRUE(oldMovie.time) << oldMovie;
    EXPECT_EQ(UtcText(oldMovie.time->instant), "2024-03-31 01:00:00.000");
    testing::ExpectNone(ReadFileIn(kSampleFolder, "plain.jpg"), NoCapture::NoMetadata, "plain");
    // A movie header whose creation time is zero.
    testing::ExpectNone(ReadFileIn(kSampleFolder, "undated.mp4"), NoCapture::NoDate, "undated");
}

// A movie's UTC instant is shown in the zone the program runs in, by the rules in force at that
// instant; an Exif time without an offset stays the wall time it was and moves the instant.
TEST(SampleFiles, VideoTimesFollowTheZoneAndExifWallTimesDoNot) {
    const struct {
        const char* zone;
        const char* name;
        const char* shown;
        const char* utc;
    } kCases[] = {
        {"Asia/Tokyo", "sample.mp4", "2024-03-31 09:59:59.000", "2024-03-31 00:59:59.000"},
        {"Asia/Tokyo", "sample.mov", "2024-03-31 10:00:00.000", "2024-03-31 01:00:00.000"},
        {"America/New_York", "sample.m4v", "2024-10-26 20:30:00.000", "2024-10-27 00:30:00.000"},
        {"America/New_York", "sample.3gp", "2024-10-26 21:30:00.000", "2024-10-27 01:30:00.000"},
        {"UTC", "sample.3gp", "2024-10-27 01:30:00.000", "2024-10-27 01:30:00.000"},
        {"Asia/Tokyo", "sample.tif", "2024-07-15 12:00:00.000", "2024-07-15 03:00:00.000"},
        {"America/New_York", "sample.tif", "2024-07-15 12:00:00.000", "2024-07-15 16:00:00.000"},
        // With its offset the instant is the same wherever it is read.
        {"America/New_York", "sample.jpg", "2024-03-05 10:20:30.123", "2024-03-05 01:20:30.123"},
    };
    for (const auto& sample : kCases) {
        SCOPED_TRACE(std::string(sample.zone) + " " + sample.name);
        const PinnedZone zone(sample.zone);
        const CaptureRead read = ReadFileIn(kSampleFolder, sample.name);
        ASSERT_TRUE(read.time) << read;
        EXPECT_EQ(TextOf(read.time->shown), sample.shown);
        EXPECT_EQ(UtcText(read.time->instant), sample.utc);
    }
}

// A name in a folder, an open descriptor and the bytes in memory are one file read three ways.
TEST(SampleFiles, EveryWayInGivesTheSameRead) {
    const PinnedZone zone("Europe/Berlin");
    std::vector<std::string> names = {"plain.jpg", "undated.mp4"};
    for (const Sample& sample : kSamples) names.emplace_back(sample.name);
    for (const std::string& name : names) {
        const CaptureRead byName = ReadFileIn(kSampleFolder, name);
        const UniqueFd fd(::open((kSampleFolder + name).c_str(), O_RDONLY | O_CLOEXEC));
        ASSERT_TRUE(fd.Valid()) << name;
        const CaptureRead byFd = ReadCaptureTime(fd.Get());
        const CaptureRead byBytes = ReadText(SampleBytes(name));
        EXPECT_TRUE(SameRead(byName, byFd)) << name << ": " << byName << " / " << byFd;
        EXPECT_TRUE(SameRead(byName, byBytes)) << name << ": " << byName << " / " << byBytes;
    }
}

// The intake reads a drop on both cores at once; the libraries' one-time set-up and their reads
// must not trip over each other, from the very first read on.
TEST(SampleFiles, ThreadsReadingAtOnceAgreeWithOneReadingAlone) {
    const PinnedZone zone("Europe/Berlin");
    std::vector<std::string> files;
    for (const Sample& sample : kSamples) files.push_back(SampleBytes(sample.name));
    constexpr std::size_t kThreads = 4;
    constexpr std::size_t kRounds = 25;
    std::vector<std::vector<CaptureRead>> reads(kThreads);
    {
        std::vector<std::jthread> threads;
        for (std::size_t t = 0; t < kThreads; ++t) {
            threads.emplace_back([&, t] {
                for (std::size_t round = 0; round < kRounds; ++round) {
                    for (const std::string& bytes : files) reads[t].push_back(ReadText(bytes));
                }
            });
        }
    }
    for (const std::vector<CaptureRead>& threadReads : reads) {
        ASSERT_EQ(threadReads.size(), kRounds * files.size());
        for (std::size_t i = 0; i < threadReads.size(); ++i) {
            const CaptureRead alone = ReadText(files[i % files.size()]);
            ASSERT_TRUE(SameRead(threadReads[i], alone))
                << kSamples[i % files.size()].name << ": " << threadReads[i] << " / " << alone;
        }
    }
}

}  // namespace
}  // namespace karvel
