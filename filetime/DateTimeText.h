#pragma once
// A calendar record as display text, chosen by a numeric format code.

#include <cstdint>
#include <string>

#include "filetime/FileTimes.h"

namespace karvel {

// The format codes. Hundreds: 0 plain numbers, 1 two-digit numbers. Tens: date with kanji units
// (1) or slashes (2). Units: no time (0), time with kanji units (1) or colons (2). 200 stands
// apart: short year, the rest two-digit, no seconds.
inline constexpr std::int16_t kDateTimeKanjiDate = 10;
inline constexpr std::int16_t kDateTimeKanjiDateKanjiTime = 11;
inline constexpr std::int16_t kDateTimeKanjiDateColonTime = 12;
inline constexpr std::int16_t kDateTimeSlashDate = 20;
inline constexpr std::int16_t kDateTimeSlashDateKanjiTime = 21;
inline constexpr std::int16_t kDateTimeSlashDateColonTime = 22;
inline constexpr std::int16_t kDateTimePaddedKanjiDate = 110;
inline constexpr std::int16_t kDateTimePaddedKanjiDateKanjiTime = 111;
inline constexpr std::int16_t kDateTimePaddedKanjiDateColonTime = 112;
inline constexpr std::int16_t kDateTimePaddedSlashDate = 120;
inline constexpr std::int16_t kDateTimePaddedSlashDateKanjiTime = 121;
inline constexpr std::int16_t kDateTimePaddedSlashDateColonTime = 122;
inline constexpr std::int16_t kDateTimeShortYearMinutes = 200;

// The text of `time` under `code`; empty for any other code. Day of week and milliseconds never
// show; fields out of their usual range are written by the same rules.
std::string FormatDateTimeText(const SYSTEMTIME& time, std::int16_t code);

}  // namespace karvel
