#pragma once
// Dates and times written as text by cameras and muxers: "2024:03:05 14:07:09" and the like.

#include <cstdint>
#include <optional>
#include <string_view>

#include "capture/CaptureTime.h"

namespace karvel {

// The years a capture time may lie in; anything else is a broken clock or a placeholder.
inline constexpr int kFirstCaptureYear = 1601;
inline constexpr int kLastCaptureYear = 9999;

// "YYYY?MM?DD?HH:MM:SS", where each `?` of the date is one of `dateSeparators` and the one between
// date and time one of `middle`. Empty unless it names a real date and time between the first and
// the last capture year. Nothing may follow; `nanos` is left 0.
std::optional<WallClock> ParseClockText(std::string_view text, std::string_view dateSeparators,
                                        std::string_view middle);

// Decimal digits after a decimal point as nanoseconds: "5" is half a second; digits past the
// ninth are dropped. Empty unless all are digits and there is at least one.
std::optional<long> ParseFraction(std::string_view digits);

// The seconds since 1970 the fields name when read as UTC.
std::int64_t SecondsAsUtc(const WallClock& clock);

// `text` up to its first NUL, without blanks at either end: how cameras pad their texts.
std::string_view TrimPadding(std::string_view text);

}  // namespace karvel
