#pragma once
// The small text routines shared by the path splitter and the name builder.
// Names are byte strings: the separator and the dot are single bytes that never
// occur inside a multi-byte UTF-8 character, so byte-wise splitting is exact.

#include <string>
#include <string_view>

namespace karvel {

// The one path separator of the program.
inline constexpr char kPathSeparator = '/';

// Returns `text` ending in exactly one more separator unless it already ends in one.
std::string AddTrailingBackslash(std::string_view text);

// The part of `text` before its first dot (all of it when there is no dot).
std::string_view GetTextBeforeFirstDot(std::string_view text);

// The part of `text` from its first dot, the dot included (empty when there is no dot).
std::string_view GetTextFromFirstDot(std::string_view text);

}  // namespace karvel
