#include "naming/TextPieces.h"

namespace karvel {

std::string AddTrailingBackslash(std::string_view text) {
    std::string result(text);
    if (result.empty() || result.back() != kPathSeparator) result.push_back(kPathSeparator);
    return result;
}

std::string_view GetTextBeforeFirstDot(std::string_view text) {
    return text.substr(0, text.find('.'));
}

std::string_view GetTextFromFirstDot(std::string_view text) {
    const auto dot = text.find('.');
    return dot == std::string_view::npos ? std::string_view{} : text.substr(dot);
}

}  // namespace karvel
