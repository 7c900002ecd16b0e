#pragma once
// Named values in one profile file ("[section]" and "key=value" lines).
// Every call goes to the file: nothing is cached between calls.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace karvel {

// A stored number that does not fit the signed 16-bit result of mGetInteger.
class IniIntegerOverflow : public std::overflow_error {
  public:
    IniIntegerOverflow(std::string_view section, std::string_view key, std::string_view text);
};

class clsIniFile {
  public:
    // The path of the profile file; empty until set.
    const std::string& pFileName() const { return fileName_; }
    void pFileName(std::string strNewFileName) { fileName_ = std::move(strNewFileName); }

    // Stores `strValue` under `strKey` in `strSection`, creating the file (and
    // missing folders above it) when needed. The file is replaced as a whole,
    // so a crash never leaves it torn. False, with the file as it was, when
    // the value holds a line break, when the names or value cannot be stored
    // (see WithProfileValue), when the present file is no readable profile
    // text, or when the file cannot be written.
    bool mSetString(std::string_view strSection, std::string_view strKey,
                    std::string_view strValue) const;

    // The stored value cut to its first 255 bytes (never inside a character),
    // or `strDefault` when the file, section or key is missing, the value is
    // empty, or the file is no profile text (not UTF-8, or over 1 MiB).
    [[nodiscard]] std::string mGetString(std::string_view strSection, std::string_view strKey,
                                         std::string_view strDefault = "") const;

    // The stored value read as a decimal integer: blanks, a sign and the
    // leading digits count, anything after them does not ("12px" gives 12).
    // `intDefault` when mGetString would give its default or the value does
    // not begin with a number. Throws IniIntegerOverflow when the number lies
    // outside -32768 to 32767.
    [[nodiscard]] std::int16_t mGetInteger(std::string_view strSection, std::string_view strKey,
                                           std::int16_t intDefault = 0) const;

  private:
    std::string fileName_;
};

// The longest value mGetString gives, in bytes.
inline constexpr std::size_t kIniValueMaxBytes = 255;

}  // namespace karvel
