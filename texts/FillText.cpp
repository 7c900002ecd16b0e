#include "texts/FillText.h"

namespace karvel {

std::string FillText(std::string_view pattern, std::initializer_list<std::string_view> values) {
    std::string text;
    text.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}' &&
            pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const auto at = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (at < values.size()) {
                text += values.begin()[at];
                i += 2;
                continue;
            }
        }
        text += pattern[i];
    }
    return text;
}

}  // namespace karvel
