// Any bytes as a dropped path, as a file name to build a new name from, and as
// the naming options (lines: pattern, digits, start number, date "Y-M-D",
// then one file name per line).

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "naming/FNameEdit.h"
#include "naming/NewNames.h"
#include "naming/TextPieces.h"
#include "targets/RefreshNames.h"
#include "targets/TargetList.h"

namespace {

using namespace karvel;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

void CheckPathSplit(std::string_view input) {
    const FNameEdit pieces = cFNameEdit(input);
    const std::string_view dir = pieces.ifaDirName;
    const std::string_view file = pieces.ifaFileName;
    // Nothing is lost or added, blanks included.
    FUZZ_CHECK(std::string(dir) + std::string(file) == input);
    FUZZ_CHECK(dir.empty() || dir.back() == kPathSeparator);
    FUZZ_CHECK(file.find(kPathSeparator) == std::string_view::npos);
    FUZZ_CHECK(pieces.ifaFileSts1 == GetTextBeforeFirstDot(file));
    FUZZ_CHECK(pieces.ifaFileSts2 == GetTextFromFirstDot(file));
}

// `text` is "_", an optional "-", then at least `digits` digits that spell |number|.
void CheckSerial(std::string_view text, std::int64_t number, int digits) {
    FUZZ_CHECK(!text.empty() && text.front() == '_');
    text.remove_prefix(1);
    if (number < 0) {
        FUZZ_CHECK(!text.empty() && text.front() == '-');
        text.remove_prefix(1);
    }
    FUZZ_CHECK(!text.empty() && std::all_of(text.begin(), text.end(), IsDigit));
    FUZZ_CHECK(text.size() >= static_cast<std::size_t>(std::max(digits, 1)));
    std::uint64_t magnitude = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    FUZZ_CHECK(ec == std::errc{} && end == text.data() + text.size());
    const std::uint64_t expected =
        number < 0 ? 0 - static_cast<std::uint64_t>(number) : static_cast<std::uint64_t>(number);
    FUZZ_CHECK(magnitude == expected);
    // Zeros only pad: the serial is never longer than it must be.
    if (text.size() > 1)
        FUZZ_CHECK(text.size() <= static_cast<std::size_t>(digits) || text[0] != '0');
}

void CheckNewName(std::string_view name, std::int64_t number, int digits) {
    const std::string_view before = GetTextBeforeFirstDot(name);
    const std::string_view from = GetTextFromFirstDot(name);
    const std::string built = BuildNewName(name, number, digits);
    FUZZ_CHECK(built.size() >= name.size() + 2);
    FUZZ_CHECK(built.starts_with(before) && built.ends_with(from));
    CheckSerial(
        std::string_view(built).substr(before.size(), built.size() - before.size() - from.size()),
        number, digits);
}

void CheckNameAsWhole(std::string_view name) {
    const std::string_view before = GetTextBeforeFirstDot(name);
    const std::string_view from = GetTextFromFirstDot(name);
    FUZZ_CHECK(std::string(before) + std::string(from) == name);
    FUZZ_CHECK(before.find('.') == std::string_view::npos);
    FUZZ_CHECK(from.empty() || from.front() == '.');

    constexpr std::int64_t kNumbers[] = {0,
                                         1,
                                         -1,
                                         42,
                                         99999,
                                         100000,
                                         std::numeric_limits<std::int64_t>::max(),
                                         std::numeric_limits<std::int64_t>::min()};
    constexpr int kDigits[] = {0, 1, 3, 5, 25};
    for (const std::int64_t number : kNumbers) {
        for (const int digits : kDigits) CheckNewName(name, number, digits);
    }
}

template <typename Int>
std::optional<Int> WholeNumber(std::string_view text) {
    Int value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

// "Y-M-D" with each part a decimal int; 2024-03-05 when the line is no date.
CalendarDate DateFromLine(std::string_view line) {
    CalendarDate date{2024, 3, 5};
    int parts[3] = {};
    const char* at = line.data();
    const char* const end = line.data() + line.size();
    for (int i = 0; i < 3; ++i) {
        const auto [next, ec] = std::from_chars(at, end, parts[i]);
        if (ec != std::errc{}) return date;
        at = next;
        if (i < 2) {
            if (at == end || *at != '-') return date;
            ++at;
        }
    }
    return {parts[0], parts[1], parts[2]};
}

// The start number is blanks, at most one sign and decimal digits, nothing else.
void CheckStartNumber(std::string_view text) {
    const auto value = ParseStartNumber(text);
    if (!value) return;
    std::string_view digits = text.substr(text.find_first_not_of(" \t"));
    digits = digits.substr(0, digits.find_last_not_of(" \t") + 1);
    if (digits.front() == '+' || digits.front() == '-') digits.remove_prefix(1);
    FUZZ_CHECK(!digits.empty() && std::all_of(digits.begin(), digits.end(), IsDigit));
    FUZZ_CHECK(ParseStartNumber(std::to_string(*value)) == value);
}

void CheckRefresh(std::string_view input) {
    const std::vector<std::string_view> lines = Lines(input);
    const auto line = [&](std::size_t i) {
        return i < lines.size() ? std::string(lines[i]) : std::string();
    };
    const NamingOptions options{DateFromLine(line(3)), line(0), line(1), line(2)};
    CheckStartNumber(options.startNoText);

    // The digit and start lines taken as any numbers, not only the ones the window offers.
    const auto digits = WholeNumber<int>(lines.size() > 1 ? lines[1] : "");
    const auto number = WholeNumber<std::int64_t>(lines.size() > 2 ? lines[2] : "");
    std::vector<TargetRow> rows;
    for (std::size_t i = 4; i < lines.size(); ++i) {
        if (digits && number && *digits >= -64 && *digits <= 64)
            CheckNewName(lines[i], *number, *digits);
        rows.push_back({std::string(lines[i]), "x", "", false});
    }
    TargetList list;
    list.AssignRows(std::move(rows));
    const auto plan = PlanNames(options);
    FUZZ_CHECK(RefreshNewNames(list, options) == plan.has_value());
    if (!plan) {
        for (const TargetRow& row : list.Rows()) FUZZ_CHECK(row.AfterName.empty());
        return;
    }
    FUZZ_CHECK(plan->digits >= 1 && plan->digits <= 5);
    FUZZ_CHECK(plan->prefix.find('.') == std::string::npos);
    const CalendarDate& date = options.date;
    if (date.year >= 0 && date.year <= 9999 && date.month >= 1 && date.month <= 12 &&
        date.day >= 1 && date.day <= 31) {
        const std::size_t width = options.patternText.size();
        FUZZ_CHECK(plan->prefix.size() == width);
        FUZZ_CHECK(std::all_of(plan->prefix.begin(), plan->prefix.end(), IsDigit));
    }

    std::set<std::string> seen;
    std::int64_t serial = plan->startNumber;
    for (const TargetRow& row : list.Rows()) {
        FUZZ_CHECK(row.AfterName ==
                   BuildNewName(plan->prefix + std::string(GetTextFromFirstDot(row.BeforeName)),
                                serial, plan->digits));
        FUZZ_CHECK(seen.insert(row.AfterName).second);
        ++serial;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    CheckPathSplit(input);
    CheckNameAsWhole(input);
    CheckRefresh(input);
    return 0;
}
