// Exif's date tags as cameras write them, right and wrong: JPEGs that exiv2 writes for each case.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "CaptureSupport.h"
#include "support/ExifJpeg.h"
#include "support/ZoneFixture.h"

namespace karvel {
namespace {

using testing::ExifTags;
using testing::PinnedZone;

const std::string kOriginal = "Exif.Photo.DateTimeOriginal";
const std::string kDigitized = "Exif.Photo.DateTimeDigitized";
const std::string kChanged = "Exif.Image.DateTime";
const std::string kSubOriginal = "Exif.Photo.SubSecTimeOriginal";
const std::string kSubDigitized = "Exif.Photo.SubSecTimeDigitized";
const std::string kSubChanged = "Exif.Photo.SubSecTime";
const std::string kOffsetOriginal = "Exif.Photo.OffsetTimeOriginal";
const std::string kOffsetChanged = "Exif.Photo.OffsetTime";
const char* const kDate = "2024:03:05 10:20:30";

CaptureRead ReadJpeg(const ExifTags& tags) {
    return ReadCaptureTimeFromBytes(testing::JpegWithExif(tags));
}

// A date that is blank, zero, malformed or outside 1601 to 9999 is none, and the next tag in line
// is tried; a few slips from the standard's spelling are forgiven.
TEST(ExifDates, WhichTextsAreDates) {
    const PinnedZone zone("UTC");
    const char* const kNotDates[] = {"",
                                     "0000:00:00 00:00:00",
                                     "    :  :     :  :  ",
                                     "    :  :     ",
                                     "2024:02:30 10:00:00",
                                     "2023:02:29 00:00:00",
                                     "2024:13:01 00:00:00",
                                     "2024:00:10 00:00:00",
                                     "2024:03:00 00:00:00",
                                     "2024:03:05 24:00:00",
                                     "2024:03:05 10:60:00",
                                     "2024:03:05 10:20:60",
                                     "1600:12:31 23:59:59",
                                     "10000:01:01 00:00:00",
                                     "2024:03:05",
                                     "2024:03:05 10:20",
                                     "2024:03:05 10:20:30:00",
                                     "2024/03/05 10:20:30",
                                     "2024:03-05 10:20:30",
                                     "2024:03:05 10-20-30",
                                     "+024:03:05 10:20:30",
                                     "2024:03:05 1a:20:30"};
    for (const char* text : kNotDates) {
        SCOPED_TRACE(std::string("\"") + text + "\"");
        testing::ExpectNone(ReadJpeg({{kOriginal, text}}), NoCapture::BadDate, "alone");
        const CaptureRead next = ReadJpeg({{kOriginal, text}, {kDigitized, kDate}});
        ASSERT_TRUE(next.time) << next;
        EXPECT_EQ(next.time->tag, CaptureTag::DateTimeDigitized);
    }
    const std::pair<const char*, const char*> kDates[] = {
        {"2024:03:05 10:20:30", "2024-03-05 10:20:30.000"},
        {"  2024:03:05 10:20:30   ", "2024-03-05 10:20:30.000"},
        {"2024-03-05 10:20:30", "2024-03-05 10:20:30.000"},
        {"2024:03:05T10:20:30", "2024-03-05 10:20:30.000"},
        {"2024:02:29 23:59:59", "2024-02-29 23:59:59.000"},
        {"1601:01:01 00:00:00", "1601-01-01 00:00:00.000"},
        {"9999:12:31 23:59:59", "9999-12-31 23:59:59.000"},
    };
    for (const auto& [text, shown] : kDates) {
        const CaptureRead read = ReadJpeg({{kOriginal, text}});
        ASSERT_TRUE(read.time) << text << ": " << read;
        EXPECT_EQ(TextOf(read.time->shown), shown);
    }
}

// A date stored with a byte type instead of ASCII still reads; a number type cannot hold one.
TEST(ExifDates, DateTextStoredAsBytes) {
    const PinnedZone zone("UTC");
    std::string bytes;  // "50 48 50 52 ...", as exiv2 reads bytes
    for (const char c : std::string(kDate)) {
        bytes += (bytes.empty() ? "" : " ") + std::to_string(int{c});
    }
    const CaptureRead undefined = ReadJpeg({{kOriginal, bytes, Exiv2::undefined}});
    ASSERT_TRUE(undefined.time) << undefined;
    EXPECT_EQ(TextOf(undefined.time->shown), "2024-03-05 10:20:30.000");
    testing::ExpectNone(ReadJpeg({{kOriginal, "2024 3 5", Exiv2::unsignedShort}}),
                        NoCapture::BadDate, "shorts");
}

TEST(ExifDates, TheOriginalComesFirstThenTheDigitizedThenTheLastChange) {
    const PinnedZone zone("UTC");
    // Each tag's date lies in the month of its place in line.
    const char* const kFirst = "2020:01:01 01:01:01";
    const char* const kSecond = "2020:02:02 02:02:02";
    const char* const kThird = "2020:03:03 03:03:03";
    const char* const kBad = "0000:00:00 00:00:00";
    const struct {
        ExifTags tags;
        std::optional<CaptureTag> chosen;
        NoCapture why = NoCapture::NoMetadata;
    } kCases[] = {
        {{{kOriginal, kFirst}, {kDigitized, kSecond}, {kChanged, kThird}},
         CaptureTag::DateTimeOriginal},
        {{{kChanged, kThird}, {kDigitized, kSecond}, {kOriginal, kFirst}},
         CaptureTag::DateTimeOriginal},
        {{{kOriginal, kBad}, {kDigitized, kSecond}, {kChanged, kThird}},
         CaptureTag::DateTimeDigitized},
        {{{kOriginal, kBad}, {kDigitized, kBad}, {kChanged, kThird}}, CaptureTag::DateTime},
        {{{kDigitized, kSecond}, {kChanged, kThird}}, CaptureTag::DateTimeDigitized},
        {{{kChanged, kThird}}, CaptureTag::DateTime},
        {{{kOriginal, kBad}, {kDigitized, kBad}, {kChanged, kBad}},
         std::nullopt,
         NoCapture::BadDate},
        {{{"Exif.Image.Make", "Canon"}, {kSubOriginal, "5"}}, std::nullopt, NoCapture::NoDate},
        {{}, std::nullopt, NoCapture::NoMetadata},
    };
    for (std::size_t i = 0; i < std::size(kCases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        const CaptureRead read = ReadJpeg(kCases[i].tags);
        if (!kCases[i].chosen) {
            testing::ExpectNone(read, kCases[i].why, "none");
            continue;
        }
        ASSERT_TRUE(read.time) << read;
        EXPECT_EQ(read.time->tag, *kCases[i].chosen);
        EXPECT_EQ(read.time->shown.month, static_cast<int>(*kCases[i].chosen) + 1);
    }
}

// Sub-seconds and offsets come from the tags that belong to the chosen date, never another's.
TEST(ExifDates, SubSecondsAndOffsetBelongToTheChosenDate) {
    const PinnedZone zone("UTC");
    const struct {
        ExifTags tags;
        long nanos;
        std::optional<std::int32_t> offset;  // empty: read as local time
    } kCases[] = {
        {{{kOriginal, kDate}, {kSubOriginal, "5"}, {kSubChanged, "9"}, {kOffsetChanged, "+01:00"}},
         500'000'000,
         std::nullopt},
        {{{kOriginal, "bad"},
          {kDigitized, kDate},
          {kSubOriginal, "5"},
          {kSubDigitized, "25"},
          {kOffsetOriginal, "+09:00"}},
         250'000'000,
         std::nullopt},
        {{{kChanged, kDate}, {kSubChanged, "75"}, {kOffsetChanged, "+01:00"}, {kSubOriginal, "1"}},
         750'000'000,
         3600},
        {{{kOriginal, kDate}, {kOffsetOriginal, "-03:30"}, {kOffsetChanged, "+01:00"}}, 0, -12600},
    };
    for (std::size_t i = 0; i < std::size(kCases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        const CaptureRead read = ReadJpeg(kCases[i].tags);
        ASSERT_TRUE(read.time) << read;
        EXPECT_EQ(read.time->shown.nanos, kCases[i].nanos);
        EXPECT_EQ(read.time->instant.tv_nsec, kCases[i].nanos);
        EXPECT_EQ(read.time->origin,
                  kCases[i].offset ? CaptureOrigin::ExifWithOffset : CaptureOrigin::Exif);
        EXPECT_EQ(read.time->utcOffset, kCases[i].offset.value_or(0));
    }
}

// With a well-formed offset tag the instant is exact; anything else there leaves local time.
TEST(ExifDates, AnOffsetTagMakesTheInstantExact) {
    const PinnedZone zone("Europe/Berlin");  // +01:00 on that date
    const struct {
        const char* offset;
        const char* utc;  // null: local time, +01:00
    } kCases[] = {
        {"+09:00", "2024-03-05 01:20:30.000"},
        {"-03:30", "2024-03-05 13:50:30.000"},
        {"+00:00", "2024-03-05 10:20:30.000"},
        {"+14:00", "2024-03-04 20:20:30.000"},
        {"-12:00", "2024-03-05 22:20:30.000"},
        {"+05:45", "2024-03-05 04:35:30.000"},
        {"   :  ", nullptr},
        {"", nullptr},
        {"+9:00", nullptr},
        {"+15:00", nullptr},
        {"+09:60", nullptr},
        {"09:00", nullptr},
        {"+09:00:00", nullptr},
        {"Z", nullptr},
    };
    for (const auto& sample : kCases) {
        SCOPED_TRACE(std::string("\"") + sample.offset + "\"");
        const CaptureRead read = ReadJpeg({{kOriginal, kDate}, {kOffsetOriginal, sample.offset}});
        ASSERT_TRUE(read.time) << read;
        EXPECT_EQ(TextOf(read.time->shown), "2024-03-05 10:20:30.000");
        EXPECT_EQ(UtcText(read.time->instant), sample.utc ? sample.utc : "2024-03-05 09:20:30.000");
        EXPECT_EQ(read.time->origin,
                  sample.utc ? CaptureOrigin::ExifWithOffset : CaptureOrigin::Exif);
    }
}

// Without an offset the camera's wall time is taken as local time here, by the rules in force at
// that date; the time shown is always the camera's own.
TEST(ExifDates, WithoutAnOffsetTheWallTimeIsLocal) {
    const struct {
        const char* zone;
        const char* date;
        const char* utc;
        std::int32_t utcOffset;
    } kCases[] = {
        {"Europe/Berlin", "2024:07:15 12:00:00", "2024-07-15 10:00:00.000", 7200},
        {"Europe/Berlin", "2024:01:15 12:00:00", "2024-01-15 11:00:00.000", 3600},
        // Inside the hour skipped in spring: moved forward by that hour.
        {"Europe/Berlin", "2024:03:31 02:30:00", "2024-03-31 01:30:00.000", 3600},
        // Inside the hour repeated in autumn: its first occurrence.
        {"Europe/Berlin", "2024:10:27 02:30:00", "2024-10-27 00:30:00.000", 7200},
        {"Asia/Tokyo", "2024:07:15 12:00:00", "2024-07-15 03:00:00.000", 9 * 3600},
        {"America/New_York", "2024:07:15 12:00:00", "2024-07-15 16:00:00.000", -4 * 3600},
    };
    for (const auto& sample : kCases) {
        SCOPED_TRACE(std::string(sample.zone) + " " + sample.date);
        const PinnedZone zone(sample.zone);
        const CaptureRead read = ReadJpeg({{kOriginal, sample.date}});
        ASSERT_TRUE(read.time) << read;
        EXPECT_EQ(read.time->origin, CaptureOrigin::Exif);
        EXPECT_EQ(UtcText(read.time->instant), sample.utc);
        EXPECT_EQ(read.time->utcOffset, sample.utcOffset);
        std::string shown = TextOf(read.time->shown).substr(0, 19);
        shown[4] = shown[7] = ':';
        EXPECT_EQ(shown, sample.date);
    }
}

// Sub-seconds are the digits of a fraction; shots of one second sort by instant in the order they
// were taken.
TEST(ExifDates, SubSecondsOrderShotsOfOneSecond) {
    const PinnedZone zone("Europe/Berlin");
    const struct {
        const char* text;
        long nanos;
    } kTaken[] = {
        // in the order taken
        {"", 0},
        {"   ", 0},
        {"x", 0},
        {"-5", 0},
        {"1.5", 0},
        {"000001", 1'000},
        {"007", 7'000'000},
        {"05", 50'000'000},
        {"1", 100'000'000},
        {"10001", 100'010'000},
        {"1234567891", 123'456'789},
        {"25  ", 250'000'000},
        {"5", 500'000'000},
        {"50", 500'000'000},
        {"999999999", 999'999'999},
    };
    long long previous = -1;
    for (const auto& shot : kTaken) {
        SCOPED_TRACE(std::string("\"") + shot.text + "\"");
        const CaptureRead read = ReadJpeg({{kOriginal, kDate}, {kSubOriginal, shot.text}});
        ASSERT_TRUE(read.time) << read;
        EXPECT_EQ(read.time->shown.nanos, shot.nanos);
        const long long instant = testing::Nanos(read.time->instant);
        EXPECT_LE(previous, instant);
        EXPECT_EQ(instant % 1'000'000'000, shot.nanos);
        previous = instant;
    }
}

}  // namespace
}  // namespace karvel
