#include "capture/ExivReader.h"

#include <exiv2/exiv2.hpp>

#include <cstdint>
#include <limits>
#include <mutex>
#include <string>
#include <string_view>

#include "capture/ExifDates.h"
#include "capture/SourceIo.h"

namespace karvel {

namespace {

// The errors exiv2 reported on this thread since the count was last cleared. It reports, without
// throwing, directories that point past the end of the bytes: a truncated file.
thread_local int exiv2Errors = 0;

void CountExiv2Error(int level, const char* /*message*/) {
    if (level >= Exiv2::LogMsg::error) ++exiv2Errors;
}

// exiv2 leaves the XMP toolkit's locking to its callers.
void LockXmp(void* mutex, bool lock) {
    auto* const xmpMutex = static_cast<std::mutex*>(mutex);
    lock ? xmpMutex->lock() : xmpMutex->unlock();
}

void SetUpExiv2() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Broken files are expected here and answered with a reason, not a line on stderr.
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::error);
        Exiv2::LogMsg::setHandler(CountExiv2Error);
        static std::mutex xmpMutex;
        Exiv2::XmpParser::initialize(LockXmp, &xmpMutex);
        // Without it this exiv2 takes CR3 for an unknown format.
        Exiv2::enableBMFF(true);
    });
}

enum class Part { Date, SubSeconds, Offset };

// The tags that make up the three dates, by number and by the IFD that holds them.
struct DateTag {
    std::uint16_t number;
    std::string_view group;
    std::size_t date;  // index into ExifDates::tags
    Part part;
};

constexpr DateTag kDateTags[] = {
    {0x9003, "Photo", 0, Part::Date},        // DateTimeOriginal
    {0x9291, "Photo", 0, Part::SubSeconds},  // SubSecTimeOriginal
    {0x9011, "Photo", 0, Part::Offset},      // OffsetTimeOriginal
    {0x9004, "Photo", 1, Part::Date},        // DateTimeDigitized
    {0x9292, "Photo", 1, Part::SubSeconds},  // SubSecTimeDigitized
    {0x9012, "Photo", 1, Part::Offset},      // OffsetTimeDigitized
    {0x0132, "Image", 2, Part::Date},        // DateTime
    {0x9290, "Photo", 2, Part::SubSeconds},  // SubSecTime
    {0x9010, "Photo", 2, Part::Offset},      // OffsetTime
};

// The tag's bytes as text. Dates are ASCII, but some writers store them as bytes or UNDEFINED;
// any other type gives no text, which reads as a broken date.
std::string TextOf(const Exiv2::Exifdatum& datum) {
    switch (datum.typeId()) {
        case Exiv2::asciiString:
        case Exiv2::undefined:
        case Exiv2::unsignedByte:
        case Exiv2::signedByte: {
            std::string text(static_cast<std::size_t>(datum.size()), '\0');
            datum.copy(reinterpret_cast<Exiv2::byte*>(text.data()), Exiv2::littleEndian);
            return text;
        }
        default:
            return {};
    }
}

ExifDates CollectDates(const Exiv2::ExifData& exif) {
    ExifDates dates;
    dates.anyTag = !exif.empty();
    for (const Exiv2::Exifdatum& datum : exif) {
        for (const DateTag& tag : kDateTags) {
            if (datum.tag() != tag.number || datum.groupName() != tag.group) continue;
            ExifDateTexts& texts = dates.tags[tag.date];
            switch (tag.part) {
                case Part::Date:
                    if (!texts.dateTime) texts.dateTime = TextOf(datum);
                    break;
                case Part::SubSeconds:
                    if (texts.subSeconds.empty()) texts.subSeconds = TextOf(datum);
                    break;
                case Part::Offset:
                    if (texts.offset.empty()) texts.offset = TextOf(datum);
                    break;
            }
        }
    }
    return dates;
}

CaptureRead LibraryError() {
    return {std::nullopt, NoCapture::LibraryError};
}

// exiv2 counts its buffers in longs.
bool FitsExiv2(std::span<const unsigned char> bytes) {
    return bytes.size() <= static_cast<std::size_t>(std::numeric_limits<long>::max());
}

// The capture time of what exiv2 decoded. Where it found damage in the Exif, the part it could not
// read may have held the original date: a later choice would stand in for it. Where it gave up
// after the Exif block, that block is whole.
CaptureRead CaptureOf(const Exiv2::ExifData& exif, bool damaged, bool gaveUp) {
    CaptureRead read = ChooseExifCapture(CollectDates(exif));
    if (read.time && damaged && read.time->tag != CaptureTag::DateTimeOriginal) read.time.reset();
    if (!read.time && (damaged || gaveUp)) read.why = NoCapture::LibraryError;
    return read;
}

// Reads the image `open` gives.
template <typename Open>
ExivImageRead ReadOpened(const Open& open) {
    SetUpExiv2();
    exiv2Errors = 0;
    try {
        const auto image = open();
        if (image.get() == nullptr) return {LibraryError(), true, false};
        ExivImageRead read;
        try {
            image->readMetadata();
        } catch (...) {
            read.gaveUp = true;
        }
        read.reportedErrors = exiv2Errors > 0;
        read.read = CaptureOf(image->exifData(), read.reportedErrors, read.gaveUp);
        return read;
    } catch (...) {
        return {LibraryError(), true, exiv2Errors > 0};
    }
}

}  // namespace

ExivImageRead ReadImageWithExiv2(std::span<const unsigned char> bytes) {
    if (!FitsExiv2(bytes)) return {LibraryError(), true, false};
    // Reads the bytes where they are: exiv2's memory source copies only when written to.
    return ReadOpened(
        [&] { return Exiv2::ImageFactory::open(bytes.data(), static_cast<long>(bytes.size())); });
}

ExivImageRead ReadImageWithExiv2(const ByteSource& source) {
    if (source.Size() > static_cast<std::uint64_t>(std::numeric_limits<long>::max())) {
        return {LibraryError(), true, false};
    }
    bool readFailed = false;
    ExivImageRead read = ReadOpened([&] {
// exiv2 0.27 takes its sources in a std::auto_ptr, which C++11 deprecated.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        Exiv2::BasicIo::AutoPtr io(new SourceIo(source, readFailed));
#pragma GCC diagnostic pop
        return Exiv2::ImageFactory::open(io);
    });
    if (!read.read.time && readFailed) read.read.why = NoCapture::Unreadable;
    return read;
}

CaptureRead ReadExifBlock(std::span<const unsigned char> tiff) {
    if (tiff.size() > std::numeric_limits<std::uint32_t>::max()) return LibraryError();
    SetUpExiv2();
    exiv2Errors = 0;
    try {
        Exiv2::ExifData exif;
        Exiv2::ExifParser::decode(exif, tiff.data(), static_cast<std::uint32_t>(tiff.size()));
        return CaptureOf(exif, exiv2Errors > 0, false);
    } catch (...) {
        return LibraryError();
    }
}

}  // namespace karvel
