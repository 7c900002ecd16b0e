#include "capture/ExivReader.h"

#include <exiv2/exiv2.hpp>

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "capture/ExifDates.h"

namespace karvel {

namespace {

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

}  // namespace

ExivImageRead ReadImageWithExiv2(std::span<const unsigned char> bytes) {
    if (!FitsExiv2(bytes)) return {LibraryError(), false};
    try {
        // Reads the bytes where they are: exiv2's memory source copies only when written to.
        const auto image = Exiv2::ImageFactory::open(bytes.data(), static_cast<long>(bytes.size()));
        if (image.get() == nullptr) return {LibraryError(), false};
        bool clean = true;
        try {
            image->readMetadata();
        } catch (...) {
            clean = false;
        }
        CaptureRead read = ChooseExifCapture(CollectDates(image->exifData()));
        if (!read.time && !clean) read.why = NoCapture::LibraryError;
        return {read, clean};
    } catch (...) {
        return {LibraryError(), false};
    }
}

CaptureRead ReadExifBlock(std::span<const unsigned char> tiff) {
    if (tiff.size() > std::numeric_limits<std::uint32_t>::max()) return LibraryError();
    try {
        Exiv2::ExifData exif;
        Exiv2::ExifParser::decode(exif, tiff.data(), static_cast<std::uint32_t>(tiff.size()));
        return ChooseExifCapture(CollectDates(exif));
    } catch (...) {
        return LibraryError();
    }
}

}  // namespace karvel
