#include "filetime/CaptureModule.h"

#include "capture/CaptureTime.h"

extern "C" __attribute__((visibility("default"))) void karvel_read_capture_date(
    int folderFd, const char* name, KarvelCaptureDate* out) {
    const karvel::CaptureRead read = karvel::ReadCaptureTimeAt(folderFd, name);
    *out = {};
    if (!read.time) {
        out->why = static_cast<int>(read.why);
        return;
    }
    out->found = 1;
    out->year = read.time->shown.year;
    out->month = read.time->shown.month;
    out->day = read.time->shown.day;
    out->seconds = read.time->instant.tv_sec;
    out->nanos = read.time->instant.tv_nsec;
}
