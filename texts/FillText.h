#pragma once
// A text of the catalogue with its values put in: {1} to {9} stand for the values in
// order. One pass, so a value that holds "{2}" (a file name may) stays as it is.

#include <initializer_list>
#include <string>
#include <string_view>

namespace karvel {

std::string FillText(std::string_view pattern, std::initializer_list<std::string_view> values);

}  // namespace karvel
