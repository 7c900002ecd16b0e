#include "capture/MediaKind.h"

#include <libheif/heif.h>

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace karvel {

namespace {

struct Signature {
    std::size_t offset;
    std::string_view bytes;
    MediaKind kind;
};

using namespace std::string_view_literals;

constexpr Signature kSignatures[] = {
    {0, "\xFF\xD8\xFF"sv, MediaKind::Jpeg},
    {0, "\x89PNG\r\n\x1A\n"sv, MediaKind::ExifImage},
    {0, "II*\0"sv, MediaKind::ExifImage},  // TIFF, CR2, NEF, ARW, DNG, PEF, ...
    {0, "MM\0*"sv, MediaKind::ExifImage},
    {0, "IIRO"sv, MediaKind::ExifImage},  // ORF
    {0, "IIRS"sv, MediaKind::ExifImage},
    {0, "MMOR"sv, MediaKind::ExifImage},
    {0, "IIU\0"sv, MediaKind::ExifImage},  // RW2
    {0, "FUJIFILMCCD-RAW "sv, MediaKind::ExifImage},
    // QuickTime files older than the ftyp box open with one of these.
    {4, "moov"sv, MediaKind::QuickTime},
    {4, "mdat"sv, MediaKind::QuickTime},
    {4, "wide"sv, MediaKind::QuickTime},
    {4, "free"sv, MediaKind::QuickTime},
    {4, "skip"sv, MediaKind::QuickTime},
    {4, "pnot"sv, MediaKind::QuickTime},
};

bool HasAt(std::span<const unsigned char> head, std::size_t offset, std::string_view bytes) {
    if (head.size() < offset + bytes.size()) return false;
    return std::equal(bytes.begin(), bytes.end(),
                      head.begin() + static_cast<std::ptrdiff_t>(offset),
                      [](char a, unsigned char b) { return static_cast<unsigned char>(a) == b; });
}

MediaKind IsoMediaKind(std::span<const unsigned char> head) {
    // libheif's own test knows the HEIF brands, AVIF's included.
    const int length = static_cast<int>(std::min<std::size_t>(head.size(), 4096));
    const heif_filetype_result heif = heif_check_filetype(head.data(), length);
    if (heif == heif_filetype_yes_supported || heif == heif_filetype_yes_unsupported) {
        return MediaKind::Heif;
    }
    if (HasAt(head, 8, "crx ")) return MediaKind::ExifImage;  // CR3, exiv2's BMFF reader
    return MediaKind::QuickTime;
}

}  // namespace

MediaKind SniffMediaKind(std::span<const unsigned char> head) {
    if (HasAt(head, 4, "ftyp")) return IsoMediaKind(head);
    if (HasAt(head, 0, "RIFF") && HasAt(head, 8, "WEBP")) return MediaKind::ExifImage;
    for (const Signature& signature : kSignatures) {
        if (HasAt(head, signature.offset, signature.bytes)) return signature.kind;
    }
    return MediaKind::Unknown;
}

}  // namespace karvel
