#pragma once

#include <string>
#include <string_view>

namespace karvel {

// Orders texts the way a file manager does: ASCII letters without regard to case,
// runs of digits by their numeric value ("IMG_2" before "IMG_10"). Returns <0, 0, >0.
int NaturalCompare(std::string_view a, std::string_view b);

// Appends bytes for `text` whose plain byte order is NaturalCompare's order: a list sorts
// by comparing these, made once per row, instead of walking both texts at every step.
void AppendNaturalKey(std::string& out, std::string_view text);

}  // namespace karvel
