#pragma once

#include <string_view>

namespace karvel {

// Orders texts the way a file manager does: ASCII letters without regard to case,
// runs of digits by their numeric value ("IMG_2" before "IMG_10"). Returns <0, 0, >0.
int NaturalCompare(std::string_view a, std::string_view b);

}  // namespace karvel
