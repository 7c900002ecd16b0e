#include "capture/HeifReader.h"

#include <libheif/heif.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "capture/ExivReader.h"

namespace karvel {

namespace {

// An Exif block is at most a few hundred KiB; a larger size is a broken file asking for memory.
constexpr std::size_t kMaxExifBlock = 16 * 1024 * 1024;

// The boxes before the image data and the Exif item are all libheif reads here.
constexpr std::uint64_t kReadBudget = 16 * 1024 * 1024;

// libheif reads through this, a piece at a time: the image data is never read.
struct Cursor {
    BudgetedSource reads;
    std::uint64_t position = 0;
};

Cursor& CursorOf(void* userdata) {
    return *static_cast<Cursor*>(userdata);
}

int64_t Position(void* userdata) {
    return static_cast<int64_t>(CursorOf(userdata).position);
}

int Read(void* data, size_t size, void* userdata) {
    Cursor& cursor = CursorOf(userdata);
    const auto got = cursor.reads.ReadAt(
        cursor.position, std::span<unsigned char>(static_cast<unsigned char*>(data), size));
    if (!got || *got != size) return 1;
    cursor.position += size;
    return 0;
}

int Seek(int64_t position, void* userdata) {
    Cursor& cursor = CursorOf(userdata);
    if (position < 0 || static_cast<std::uint64_t>(position) > cursor.reads.Size()) return 1;
    cursor.position = static_cast<std::uint64_t>(position);
    return 0;
}

heif_reader_grow_status WaitForFileSize(int64_t size, void* userdata) {
    return size < 0 || static_cast<std::uint64_t>(size) > CursorOf(userdata).reads.Size()
               ? heif_reader_grow_status_size_beyond_eof
               : heif_reader_grow_status_size_reached;
}

constexpr heif_reader kReader = {1, Position, Read, Seek, WaitForFileSize};

struct FreeContext {
    void operator()(heif_context* context) const { heif_context_free(context); }
};
struct ReleaseHandle {
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};

CaptureRead Failed(NoCapture why) {
    return {std::nullopt, why};
}

// The Exif block opens with the distance from its fifth byte to the TIFF header.
CaptureRead ReadExifItem(std::span<const unsigned char> item) {
    if (item.size() < 4) return Failed(NoCapture::LibraryError);
    const std::uint32_t skip = std::uint32_t{item[0]} << 24 | std::uint32_t{item[1]} << 16 |
                               std::uint32_t{item[2]} << 8 | item[3];
    if (skip > item.size() - 4) return Failed(NoCapture::LibraryError);
    return ReadExifBlock(item.subspan(4 + skip));
}

void SetUpLibheif() {
    static std::once_flag once;
    std::call_once(once, [] { heif_init(nullptr); });
}

}  // namespace

CaptureRead ReadHeifCaptureTime(const ByteSource& source) {
    SetUpLibheif();
    Cursor cursor{BudgetedSource(source, kReadBudget)};
    const std::unique_ptr<heif_context, FreeContext> context(heif_context_alloc());
    if (!context) return Failed(NoCapture::LibraryError);
    const heif_error opened =
        heif_context_read_from_reader(context.get(), &kReader, &cursor, nullptr);
    if (opened.code != heif_error_Ok) {
        return Failed(cursor.reads.ReadFailed() ? NoCapture::Unreadable : NoCapture::LibraryError);
    }

    heif_image_handle* primary = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &primary).code != heif_error_Ok) {
        return Failed(NoCapture::LibraryError);
    }
    const std::unique_ptr<heif_image_handle, ReleaseHandle> handle(primary);

    heif_item_id exifId = 0;
    if (heif_image_handle_get_list_of_metadata_block_IDs(handle.get(), "Exif", &exifId, 1) < 1) {
        return Failed(NoCapture::NoMetadata);
    }
    const std::size_t size = heif_image_handle_get_metadata_size(handle.get(), exifId);
    if (size > kMaxExifBlock) return Failed(NoCapture::LibraryError);
    std::vector<unsigned char> item(size);
    if (heif_image_handle_get_metadata(handle.get(), exifId, item.data()).code != heif_error_Ok) {
        return Failed(cursor.reads.ReadFailed() ? NoCapture::Unreadable : NoCapture::LibraryError);
    }
    return ReadExifItem(item);
}

}  // namespace karvel
