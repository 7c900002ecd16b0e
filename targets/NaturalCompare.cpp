#include "targets/NaturalCompare.h"

#include "text/Text.h"

namespace karvel {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

unsigned char Fold(char c) {
    return static_cast<unsigned char>(AsciiLower(c));
}

// Compares two digit runs by value: leading zeros skipped, then length, then digits.
int CompareNumbers(std::string_view a, std::string_view b) {
    const auto skipZeros = [](std::string_view s) {
        const auto first = s.find_first_not_of('0');
        return first == std::string_view::npos ? std::string_view{} : s.substr(first);
    };
    const auto x = skipZeros(a);
    const auto y = skipZeros(b);
    if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
    const int digits = x.compare(y);
    if (digits != 0) return digits < 0 ? -1 : 1;
    // Equal values: fewer leading zeros first, so the order stays total.
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return 0;
}

std::string_view DigitRun(std::string_view s, std::size_t from) {
    std::size_t end = from;
    while (end < s.size() && IsDigit(s[end])) ++end;
    return s.substr(from, end - from);
}

}  // namespace

int NaturalCompare(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const auto x = DigitRun(a, i);
            const auto y = DigitRun(b, j);
            if (const int c = CompareNumbers(x, y); c != 0) return c;
            i += x.size();
            j += y.size();
            continue;
        }
        const auto x = Fold(a[i]);
        const auto y = Fold(b[j]);
        if (x != y) return x < y ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

void AppendNaturalKey(std::string& out, std::string_view text) {
    // A fixed-width count, so that one run's encoding never ends inside another's.
    const auto appendCount = [&out](std::size_t count) {
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back(static_cast<char>((count >> shift) & 0xff));
    };
    for (std::size_t i = 0; i < text.size();) {
        if (!IsDigit(text[i])) {
            out.push_back(static_cast<char>(Fold(text[i])));
            ++i;
            continue;
        }
        // A run: any digit orders the same against a letter; then the value by its length
        // and digits, then the zeros in front.
        const auto run = DigitRun(text, i);
        const auto first = run.find_first_not_of('0');
        const auto value = first == std::string_view::npos ? std::string_view{} : run.substr(first);
        out.push_back('0');
        appendCount(value.size());
        out.append(value);
        appendCount(run.size());
        i += run.size();
    }
}

}  // namespace karvel
