#include "capture/LibrarySetup.h"

#include <libheif/heif.h>
#include <exiv2/exiv2.hpp>

extern "C" {
#include <libavutil/log.h>
}

#include <mutex>

namespace karvel {

namespace {

// exiv2 leaves the XMP toolkit's locking to its callers.
void LockXmp(void* mutex, bool lock) {
    auto* const xmpMutex = static_cast<std::mutex*>(mutex);
    lock ? xmpMutex->lock() : xmpMutex->unlock();
}

}  // namespace

void SetUpCaptureLibraries() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Broken files are expected here and answered with a reason, not a line on stderr.
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        av_log_set_level(AV_LOG_QUIET);

        static std::mutex xmpMutex;
        Exiv2::XmpParser::initialize(LockXmp, &xmpMutex);
        // Without it this exiv2 takes CR3 for an unknown format.
        Exiv2::enableBMFF(true);
        heif_init(nullptr);
    });
}

}  // namespace karvel
