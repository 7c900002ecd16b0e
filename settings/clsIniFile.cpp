#include "settings/clsIniFile.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "files/SmallFile.h"
#include "settings/ProfileText.h"

namespace karvel {

namespace {

std::string OverflowMessage(std::string_view section, std::string_view key, std::string_view text) {
    return "[" + std::string(section) + "] " + std::string(key) + "=" + std::string(text) +
           " does not fit a signed 16-bit integer";
}

}  // namespace

IniIntegerOverflow::IniIntegerOverflow(std::string_view section, std::string_view key,
                                       std::string_view text)
    : std::overflow_error(OverflowMessage(section, key, text)) {}

bool clsIniFile::mSetString(std::string_view strSection, std::string_view strKey,
                            std::string_view strValue) const {
    const SmallFile file = ReadSmallFile(fileName_, kProfileMaxBytes);
    // An unreadable file is left alone rather than replaced by one holding a single key.
    if (file.status == FileStatus::Unusable) return false;
    const std::optional<std::string> changed =
        WithProfileValue(file.bytes, strSection, strKey, strValue);
    if (!changed) return false;
    if (file.status == FileStatus::Read && *changed == file.bytes) return true;
    return ReplaceFileContent(fileName_, *changed);
}

std::string clsIniFile::mGetString(std::string_view strSection, std::string_view strKey,
                                   std::string_view strDefault) const {
    const SmallFile file = ReadSmallFile(fileName_, kProfileMaxBytes);
    if (file.status != FileStatus::Read) return std::string(strDefault);
    const std::optional<std::string> value = ProfileValue(file.bytes, strSection, strKey);
    if (!value || value->empty()) return std::string(strDefault);
    return std::string(CutAtCharacter(*value, kIniValueMaxBytes));
}

std::int16_t clsIniFile::mGetInteger(std::string_view strSection, std::string_view strKey,
                                     std::int16_t intDefault) const {
    const std::string text = mGetString(strSection, strKey);
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos) return intDefault;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t firstDigit = i;
    // Saturates beyond the range, so that any length of digits reads without overflow.
    std::int32_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = std::min<std::int32_t>(1'000'000, magnitude * 10 + (text[i] - '0'));
    }
    if (i == firstDigit) return intDefault;
    const std::int32_t value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        throw IniIntegerOverflow(strSection, strKey, text);
    }
    return static_cast<std::int16_t>(value);
}

}  // namespace karvel
