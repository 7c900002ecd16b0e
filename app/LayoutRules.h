#pragma once
// The window's resize rule, in twips, apart from any widget.

#include <optional>

namespace karvel {

// Gap between the list's bottom and the option panel, plus the list's top.
inline constexpr double kListViTopAndGap = 400;

// The list's height for a client height, or nothing when it would be negative
// (the list then keeps the height it has).
inline std::optional<double> ListViHeightFor(double clientHeight, double stsBarHeight,
                                             double picture1Height) {
    const double height = clientHeight - (stsBarHeight + picture1Height + kListViTopAndGap);
    if (height < 0) return std::nullopt;
    return height;
}

}  // namespace karvel
