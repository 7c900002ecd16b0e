#include "settings/StoredOptions.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "text/Text.h"

namespace karvel {

std::optional<std::int32_t> StoredStartNumber(std::string_view text) {
    text = Trim(text);
    if (text.empty()) return std::nullopt;
    // from_chars takes a "-" but no "+".
    if (text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-') return std::nullopt;
    }
    double value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    // The default rounding mode takes a half to the even neighbour, as the other keys do.
    const double whole = std::nearbyint(value);
    if (whole < std::numeric_limits<std::int32_t>::min() ||
        whole > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(whole);
}

}  // namespace karvel
