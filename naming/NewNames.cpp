#include "naming/NewNames.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "naming/TextPieces.h"
#include "text/Text.h"

namespace karvel {

// Appends base, "_", the padded serial and the extension to `out`.
void AppendNewName(std::string& out, std::string_view base, std::int64_t number, int digits,
                   std::string_view extension) {
    char buffer[24];
    const std::uint64_t magnitude =
        number < 0 ? 0 - static_cast<std::uint64_t>(number) : static_cast<std::uint64_t>(number);
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, magnitude);
    const auto length = static_cast<std::size_t>(end - buffer);
    // A count below one pads nothing; cast as it stands it would ask for 2^64 zeros.
    const auto width = static_cast<std::size_t>(std::max(digits, 0));

    out.append(base);
    out.push_back('_');
    if (number < 0) out.push_back('-');
    if (length < width) out.append(width - length, '0');
    out.append(buffer, length);
    out.append(extension);
}

bool IsDigitCountText(std::string_view text) {
    return std::ranges::find(kDigitCountTexts, text) != kDigitCountTexts.end();
}

namespace {

std::optional<int> ParseDigitCount(std::string_view text) {
    text = Trim(text);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || value < 1 || value > 5) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<std::int32_t> ParseStartNumber(std::string_view text) {
    text = Trim(text);
    // from_chars takes a minus but no plus; either sign once, never both.
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-')) return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<NamePlan> PlanNames(const NamingOptions& options) {
    const auto pattern = DatePatternFromText(options.patternText);
    const auto digits = ParseDigitCount(options.digitsText);
    const auto start = ParseStartNumber(options.startNoText);
    // Stamps only reach from 1601 to 9999; a date outside forms no name.
    const bool dateInRange = options.date.year >= kFirstYear && options.date.year <= kLastYear;
    if (!pattern || !digits || !start) return std::nullopt;
    if (options.source != DateSource::Calendar) return NamePlan{{}, *pattern, *digits, *start};
    if (!dateInRange) return std::nullopt;
    return NamePlan{FormatDatePrefix(options.date, *pattern), *pattern, *digits, *start};
}

std::string BuildNewName(std::string_view name, std::int64_t number, int digits) {
    std::string out;
    AppendNewName(out, GetTextBeforeFirstDot(name), number, digits, GetTextFromFirstDot(name));
    return out;
}

}  // namespace karvel
