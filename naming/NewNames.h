#pragma once
// The new name of every row: date prefix, "_", zero-padded serial, old extension.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "naming/DatePrefix.h"
#include "naming/DateSource.h"

namespace karvel {

// The digit list's items, in the order it shows them.
inline constexpr std::array<std::string_view, 5> kDigitCountTexts = {"1", "2", "3", "4", "5"};

// Whether `text` is exactly one of the digit list's items.
bool IsDigitCountText(std::string_view text);

// The option values the names are built from, as the window's controls hold them.
struct NamingOptions {
    CalendarDate date;
    std::string patternText;                   // the pattern list's text
    std::string digitsText;                    // the digit list's text, "1" to "5"
    std::string startNoText;                   // the start-number box's text
    DateSource source = DateSource::Calendar;  // with another, `date` is not used
};

// What the options mean once read; absent when they cannot form a name.
struct NamePlan {
    std::string prefix;  // of the calendar's date
    DatePattern pattern = DatePattern::yymmdd;
    int digits = 0;
    std::int64_t startNumber = 0;
};

std::optional<NamePlan> PlanNames(const NamingOptions& options);

// The start-number text as a signed 32-bit decimal (blanks around it and a sign
// allowed, leading zeros count for nothing).
std::optional<std::int32_t> ParseStartNumber(std::string_view text);

// `name` before its first dot, "_", `number` padded to `digits` (a count below one pads
// nothing), `name` from its first dot.
std::string BuildNewName(std::string_view name, std::int64_t number, int digits);

// Appends `base`, "_", `number` padded to `digits` and `extension` to `out`.
void AppendNewName(std::string& out, std::string_view base, std::int64_t number, int digits,
                   std::string_view extension);

}  // namespace karvel
