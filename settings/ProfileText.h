#pragma once
// The text of a profile file: "[section]" lines and "key=value" lines below
// them. Reads and changes work on the file's bytes directly, so that a change
// rewrites one line and keeps every other byte as it was (comments, unknown
// keys, other sections, line ends, a byte-order mark).
//
// Rules: blanks and tabs around names and values do not count; a section name
// runs to the last "]" of its line; a line without "=" is a key without value;
// lines beginning with ";" are comments; names match without regard to ASCII
// letter case; the first matching section and the first matching key in it
// are the ones read and changed. Lines are ended by CR LF, LF or a lone CR.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace karvel {

// A larger file is not taken for settings.
inline constexpr std::size_t kProfileMaxBytes = 1024 * 1024;

// True when `bytes` can be read as a profile: at most kProfileMaxBytes, valid
// UTF-8 and free of NUL bytes.
bool IsProfileText(std::string_view bytes);

// The value of `key` in `section`, without the blanks around it and without one
// pair of matching quotes ('...' or "...") around it. Nothing when `bytes` is
// no profile text or the section or key is missing.
std::optional<std::string> ProfileValue(std::string_view bytes, std::string_view section,
                                        std::string_view key);

// `bytes` with `key` in `section` set to `value`: the first matching key line
// gets the new value, a missing key is added after the last line of its
// section, a missing section is added at the end. New lines take the file's
// first line end (LF in a file without one). A value that would lose blanks or
// quotes on reading is written in double quotes, so that it reads back as given.
//
// Nothing when `bytes` is no profile text, when the result would not be one,
// or when the names or value would not read back: a line break or NUL byte
// anywhere, invalid UTF-8, or a key that is empty, holds "=" or begins with
// ";" or "[".
std::optional<std::string> WithProfileValue(std::string_view bytes, std::string_view section,
                                            std::string_view key, std::string_view value);

// The longest start of `text` of at most `maxBytes` bytes that does not end in
// the middle of a UTF-8 character.
std::string_view CutAtCharacter(std::string_view text, std::size_t maxBytes);

}  // namespace karvel
