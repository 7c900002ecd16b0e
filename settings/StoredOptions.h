#pragma once
// The naming options as the settings file keeps them, and the rules by which a
// control refuses a stored value.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace karvel {

// The option controls' values; an absent one leaves its control as it is.
struct StoredOptions {
    std::optional<std::string> startNoText;  // the start-number box
    std::optional<std::string> colText;      // the digit list, empty without a selection
    std::optional<std::string> typeText;     // the pattern list, empty without a selection
    std::optional<int> timeUpd;              // the modified-date box: 0 off, 1 on, 2 greyed
    std::optional<int> optState;             // the carry-over box, as the modified-date box
    std::optional<int> dateFrom;  // the date-source list: 0 calendar, 1 taken, 2 modified

    friend bool operator==(const StoredOptions&, const StoredOptions&) = default;
};

// Check boxes take 0, 1 and 2 and refuse anything else.
constexpr bool IsCheckState(int state) {
    return state >= 0 && state <= 2;
}

// The start number as the box holds it: the number rules of the other keys (a
// fraction rounds, a half to the even neighbour), but the range of a signed 32-bit value.
std::optional<std::int32_t> StoredStartNumber(std::string_view text);

}  // namespace karvel
