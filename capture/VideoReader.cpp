#include "capture/VideoReader.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
}

#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <memory>
#include <mutex>

#include "capture/VideoTime.h"

namespace karvel {

namespace {

constexpr int kIoBufferBytes = 32 * 1024;

// A movie header lists every frame: some MiB for hours of video, never more than this.
constexpr std::uint64_t kReadBudget = 64 * 1024 * 1024;

// libavformat reads through this, a piece at a time: the media data is skipped, never read.
struct Cursor {
    BudgetedSource reads;
    std::uint64_t position = 0;
};

int ReadPacket(void* opaque, std::uint8_t* buffer, int size) {
    auto& cursor = *static_cast<Cursor*>(opaque);
    if (size <= 0) return 0;
    const auto got = cursor.reads.ReadAt(
        cursor.position, std::span<unsigned char>(buffer, static_cast<std::size_t>(size)));
    if (!got) return AVERROR(EIO);
    if (*got == 0) return AVERROR_EOF;
    cursor.position += *got;
    return static_cast<int>(*got);
}

std::int64_t Seek(void* opaque, std::int64_t offset, int whence) {
    auto& cursor = *static_cast<Cursor*>(opaque);
    const auto size = static_cast<std::int64_t>(cursor.reads.Size());
    std::int64_t base = 0;
    switch (whence & ~AVSEEK_FORCE) {
        case AVSEEK_SIZE:
            return size;
        case SEEK_SET:
            break;
        case SEEK_CUR:
            base = static_cast<std::int64_t>(cursor.position);
            break;
        case SEEK_END:
            base = size;
            break;
        default:
            return AVERROR(EINVAL);
    }
    if (offset < -base || offset > size - base) return AVERROR(EINVAL);
    cursor.position = static_cast<std::uint64_t>(base + offset);
    return base + offset;
}

struct FreeIo {
    void operator()(AVIOContext* io) const {
        av_freep(&io->buffer);
        avio_context_free(&io);
    }
};
struct CloseInput {
    void operator()(AVFormatContext* format) const { avformat_close_input(&format); }
};

CaptureRead Failed(NoCapture why) {
    return {std::nullopt, why};
}

const AVDictionaryEntry* CreationTime(const AVFormatContext& format) {
    if (const auto* entry = av_dict_get(format.metadata, "creation_time", nullptr, 0)) return entry;
    // Some writers leave the movie's header empty and date only its tracks.
    for (unsigned i = 0; i < format.nb_streams; ++i) {
        if (const auto* entry =
                av_dict_get(format.streams[i]->metadata, "creation_time", nullptr, 0)) {
            return entry;
        }
    }
    return nullptr;
}

// The errors libavformat logged on this thread since the count was last cleared. It reads a
// movie header cut short as if zeros followed, and says so only in its log.
thread_local int libavformatErrors = 0;

void CountLibavformatError(void* /*context*/, int level, const char* /*format*/,
                           std::va_list /*arguments*/) {
    if (level <= AV_LOG_ERROR) ++libavformatErrors;
}

void SetUpLibavformat() {
    static std::once_flag once;
    // Broken files are expected here and answered with a reason, not a line on stderr.
    std::call_once(once, [] { av_log_set_callback(CountLibavformatError); });
}

}  // namespace

CaptureRead ReadVideoCaptureTime(const ByteSource& source) {
    SetUpLibavformat();
    libavformatErrors = 0;
    Cursor cursor{BudgetedSource(source, kReadBudget)};
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferBytes));
    if (buffer == nullptr) return Failed(NoCapture::LibraryError);
    const std::unique_ptr<AVIOContext, FreeIo> io(
        avio_alloc_context(buffer, kIoBufferBytes, 0, &cursor, ReadPacket, nullptr, Seek));
    if (!io) {
        av_free(buffer);
        return Failed(NoCapture::LibraryError);
    }

    AVFormatContext* opening = avformat_alloc_context();
    if (opening == nullptr) return Failed(NoCapture::LibraryError);
    opening->pb = io.get();
    opening->flags |= AVFMT_FLAG_CUSTOM_IO;
    // The QuickTime demuxer reads MP4, M4V and 3GP too; naming it skips probing the other formats.
    // On failure the context is freed and set to null.
    if (avformat_open_input(&opening, nullptr, av_find_input_format("mov"), nullptr) < 0) {
        return Failed(cursor.reads.ReadFailed() ? NoCapture::Unreadable : NoCapture::LibraryError);
    }
    const std::unique_ptr<AVFormatContext, CloseInput> format(opening);
    if (libavformatErrors > 0) return Failed(NoCapture::LibraryError);

    const AVDictionaryEntry* created = CreationTime(*format);
    if (created == nullptr) return Failed(NoCapture::NoDate);
    return CaptureFromCreationTime(created->value);
}

}  // namespace karvel
