#pragma once
// What the list says of each row's own date: where it came from, and why a file that was
// asked for its capture time gave none.

#include <string_view>

#include "targets/OwnDate.h"
#include "texts/DateTexts.h"

namespace karvel {

constexpr std::string_view DateOriginText(DateOrigin origin) {
    switch (origin) {
        case DateOrigin::Taken:
            return kDateSourceTaken;
        case DateOrigin::Modified:
            return kDateSourceModified;
        case DateOrigin::ModifiedInstead:
            break;
    }
    return kDateOriginModifiedInstead;
}

// Why there was no capture time: the row's tooltip.
constexpr std::string_view NoCaptureText(NoCaptureWhy why) {
    switch (why) {
        case NoCaptureWhy::None:
            return {};
        case NoCaptureWhy::NoMetadata:
            return kNoCaptureMetadata;
        case NoCaptureWhy::NoDate:
            return kNoCaptureDate;
        case NoCaptureWhy::BadDate:
            return kNoCaptureBadDate;
        case NoCaptureWhy::Unreadable:
            return kNoCaptureUnreadable;
        case NoCaptureWhy::NotRegularFile:
            return kNoCaptureNotRegular;
        case NoCaptureWhy::UnknownFormat:
            return kNoCaptureUnknownFormat;
        case NoCaptureWhy::LibraryError:
            break;
    }
    return kNoCaptureLibraryError;
}

}  // namespace karvel
