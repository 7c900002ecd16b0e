#pragma once
// Numbers as the settings file holds them: plain decimal text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace karvel {

// Reads a number text as a signed 16-bit value. Blanks and tabs around the
// number, a sign and a fractional part are accepted; a fraction rounds to the
// nearest integer, a half to the even neighbour (1600.5 gives 1600, 1601.5
// gives 1602). Text that is no number, or a result outside -32768 to 32767,
// gives nothing.
std::optional<std::int16_t> NumberTextToInt16(std::string_view text);

// Writes `value` as a single-precision number in plain decimal text: at most 7
// significant digits, a "-" when negative, a "." only when the value is not
// whole, never an exponent ("1440", "-3000", "1440.5", "0.0001"). A value that
// is not finite has no number text: the result is empty.
std::string NumberText(double value);

}  // namespace karvel
