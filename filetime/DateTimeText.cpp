#include "filetime/DateTimeText.h"

#include <cstdlib>

#include "texts/ListTexts.h"

namespace karvel {

namespace {

void AppendPlain(std::string& out, int value) {
    out += std::to_string(value);
}

// At least two digits; a wider value keeps all of them.
void AppendTwoDigits(std::string& out, int value) {
    const std::string digits = std::to_string(std::abs(value));
    if (value < 0) out.push_back('-');
    if (digits.size() < 2) out.push_back('0');
    out += digits;
}

// The last two characters of the year's plain text, padded to two.
void AppendShortYear(std::string& out, int year) {
    const std::string text = std::to_string(year);
    if (text.size() < 2) out.push_back('0');
    out += text.substr(text.size() < 2 ? 0 : text.size() - 2);
}

}  // namespace

std::string FormatDateTimeText(const SYSTEMTIME& time, std::int16_t code) {
    std::string out;
    if (code == kDateTimeShortYearMinutes) {
        AppendShortYear(out, time.wYear);
        out += '/';
        AppendTwoDigits(out, time.wMonth);
        out += '/';
        AppendTwoDigits(out, time.wDay);
        out += ' ';
        AppendTwoDigits(out, time.wHour);
        out += ':';
        AppendTwoDigits(out, time.wMinute);
        return out;
    }

    if (code < kDateTimeKanjiDate || code > kDateTimePaddedSlashDateColonTime) return out;
    const int padding = code / 100;
    const int dateStyle = code / 10 % 10;
    const int timeStyle = code % 10;
    if (dateStyle < 1 || dateStyle > 2 || timeStyle > 2) return out;

    const auto append = [&out, padding](int value) {
        padding == 1 ? AppendTwoDigits(out, value) : AppendPlain(out, value);
    };
    const bool kanjiDate = dateStyle == 1;
    append(time.wYear);
    out += kanjiDate ? kYearUnit : "/";
    append(time.wMonth);
    out += kanjiDate ? kMonthUnit : "/";
    append(time.wDay);
    if (kanjiDate) out += kDayUnit;
    if (timeStyle == 0) return out;

    const bool kanjiTime = timeStyle == 1;
    out += ' ';
    append(time.wHour);
    out += kanjiTime ? kHourUnit : ":";
    append(time.wMinute);
    out += kanjiTime ? kMinuteUnit : ":";
    append(time.wSecond);
    if (kanjiTime) out += kSecondUnit;
    return out;
}

}  // namespace karvel
