#include "settings/ProfileText.h"

#include "text/Text.h"

#include <cstdint>

namespace karvel {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool SameName(std::string_view a, std::string_view b) {
    return EqualsIgnoringAsciiCase(a, b);
}

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<std::uint8_t>(text[i]);
        std::size_t length = 0;
        std::uint32_t code = 0;
        std::uint32_t least = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            code = lead & 0x1Fu;
            least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0Fu;
            least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            code = lead & 0x07u;
            least = 0x10000;
        } else {
            return false;
        }
        if (text.size() - i < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<std::uint8_t>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        // Overlong forms, UTF-16 surrogates and code points beyond Unicode are no text.
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

bool HasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// One line of the body: its content and the line end that follows it.
struct Line {
    std::size_t begin = 0;  // offset of the content in the body
    std::string_view content;
    std::string_view end;  // "\r\n", "\n", "\r", or empty for an unended last line

    std::size_t Next() const { return begin + content.size() + end.size(); }
};

Line LineAt(std::string_view body, std::size_t begin) {
    Line line;
    line.begin = begin;
    const auto stop = body.find_first_of("\r\n", begin);
    if (stop == std::string_view::npos) {
        line.content = body.substr(begin);
        return line;
    }
    line.content = body.substr(begin, stop - begin);
    const bool crlf = body[stop] == '\r' && stop + 1 < body.size() && body[stop + 1] == '\n';
    line.end = body.substr(stop, crlf ? 2 : 1);
    return line;
}

enum class LineKind { Blank, Comment, Section, Key };

struct LineMeaning {
    LineKind kind = LineKind::Blank;
    std::string_view name;   // section or key name, without blanks around it
    std::string_view value;  // a key's value, without blanks around it
    // Bytes of the content kept when a key's value is replaced, and whether
    // they already end in (or go past) the "=".
    std::size_t keep = 0;
    bool hasEquals = false;
};

LineMeaning Classify(std::string_view content) {
    LineMeaning meaning;
    const auto lead = content.find_first_not_of(kSpaceAndTab);
    if (lead == std::string_view::npos) return meaning;
    const std::string_view text = Trim(content);
    if (text.front() == ';') {
        meaning.kind = LineKind::Comment;
        return meaning;
    }
    if (text.front() == '[') {
        const auto close = text.rfind(']');
        if (close != std::string_view::npos) {
            meaning.kind = LineKind::Section;
            meaning.name = Trim(text.substr(1, close - 1));
            return meaning;
        }
    }
    meaning.kind = LineKind::Key;
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) {
        meaning.name = text;
        meaning.keep = lead + text.size();
        return meaning;
    }
    meaning.name = Trim(text.substr(0, equals));
    const std::string_view rest = text.substr(equals + 1);
    meaning.value = Trim(rest);
    meaning.hasEquals = true;
    meaning.keep = lead + equals + 1;
    if (!meaning.value.empty()) meaning.keep += rest.find_first_not_of(kSpaceAndTab);
    return meaning;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// What a value must look like in the file to read back as `value`.
std::string StoredValue(std::string_view value) {
    const bool edgeBlank =
        !value.empty() && (kSpaceAndTab.find(value.front()) != std::string_view::npos ||
                           kSpaceAndTab.find(value.back()) != std::string_view::npos);
    if (edgeBlank || Unquote(value).size() != value.size()) {
        return "\"" + std::string(value) + "\"";
    }
    return std::string(value);
}

std::string_view FirstLineEnd(std::string_view body) {
    const Line first = LineAt(body, 0);
    return first.end.empty() ? std::string_view("\n") : first.end;
}

std::size_t BomLength(std::string_view bytes) {
    return bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark ? kByteOrderMark.size() : 0;
}

}  // namespace

bool IsProfileText(std::string_view bytes) {
    return bytes.size() <= kProfileMaxBytes && bytes.find('\0') == std::string_view::npos &&
           IsValidUtf8(bytes);
}

std::optional<std::string> ProfileValue(std::string_view bytes, std::string_view section,
                                        std::string_view key) {
    if (!IsProfileText(bytes)) return std::nullopt;
    const std::string_view sectionName = Trim(section);
    const std::string_view keyName = Trim(key);
    if (keyName.empty()) return std::nullopt;
    const std::string_view body = bytes.substr(BomLength(bytes));

    bool inSection = false;
    for (std::size_t at = 0; at < body.size();) {
        const Line line = LineAt(body, at);
        at = line.Next();
        const LineMeaning meaning = Classify(line.content);
        if (meaning.kind == LineKind::Section) {
            if (inSection) break;  // only the first matching section counts
            inSection = SameName(meaning.name, sectionName);
        } else if (inSection && meaning.kind == LineKind::Key && SameName(meaning.name, keyName)) {
            return std::string(Unquote(meaning.value));
        }
    }
    return std::nullopt;
}

std::optional<std::string> WithProfileValue(std::string_view bytes, std::string_view section,
                                            std::string_view key, std::string_view value) {
    const std::string_view sectionName = Trim(section);
    const std::string_view keyName = Trim(key);
    const bool storable = !HasLineBreakOrNul(section) && !HasLineBreakOrNul(key) &&
                          !HasLineBreakOrNul(value) && IsValidUtf8(section) && IsValidUtf8(key) &&
                          IsValidUtf8(value) && !keyName.empty() &&
                          keyName.find('=') == std::string_view::npos && keyName.front() != ';' &&
                          keyName.front() != '[';
    if (!storable || !IsProfileText(bytes)) return std::nullopt;

    const std::size_t bom = BomLength(bytes);
    const std::string_view body = bytes.substr(bom);
    const std::string_view lineEnd = FirstLineEnd(body);
    const std::string stored = StoredValue(value);

    std::string result;
    bool sectionFound = false;
    bool keyFound = false;
    std::size_t insertAt = 0;         // in the body: after the section's last non-blank line
    bool insertAfterUnended = false;  // that line is the body's last and has no line end
    bool inSection = false;
    for (std::size_t at = 0; at < body.size() && !keyFound;) {
        const Line line = LineAt(body, at);
        at = line.Next();
        const LineMeaning meaning = Classify(line.content);
        if (meaning.kind == LineKind::Section) {
            if (inSection) break;
            inSection = SameName(meaning.name, sectionName);
            sectionFound = inSection;
        } else if (!inSection) {
            continue;
        } else if (meaning.kind == LineKind::Key && SameName(meaning.name, keyName)) {
            keyFound = true;
            result.reserve(bytes.size() + stored.size() + 1);
            result.append(bytes.substr(0, bom + line.begin));
            result.append(line.content.substr(0, meaning.keep));
            if (!meaning.hasEquals) result.push_back('=');
            result.append(stored);
            result.append(bytes.substr(bom + line.begin + line.content.size()));
            break;
        }
        if (inSection && meaning.kind != LineKind::Blank) {
            insertAt = line.Next();
            insertAfterUnended = line.end.empty();
        }
    }

    if (keyFound) {
        // Already built above.
    } else if (sectionFound) {
        const std::string newLine = std::string(keyName) + "=" + stored;
        result.append(bytes.substr(0, bom + insertAt));
        if (insertAfterUnended) {
            // The file ends without a line end, and keeps doing so.
            result.append(lineEnd);
            result.append(newLine);
        } else {
            result.append(newLine);
            result.append(lineEnd);
        }
        result.append(bytes.substr(bom + insertAt));
    } else {
        result.append(bytes);
        if (!body.empty()) {
            const char last = body.back();
            if (last != '\n' && last != '\r') result.append(lineEnd);
            // A blank line before the new section, unless the file ends in one.
            std::size_t lastLine = 0;
            for (std::size_t at = 0; at < body.size();) {
                lastLine = at;
                at = LineAt(body, at).Next();
            }
            if (Classify(LineAt(body, lastLine).content).kind != LineKind::Blank) {
                result.append(lineEnd);
            }
        }
        result.append("[").append(sectionName).append("]").append(lineEnd);
        result.append(keyName).append("=").append(stored).append(lineEnd);
    }

    if (result.size() > kProfileMaxBytes) return std::nullopt;
    return result;
}

std::string_view CutAtCharacter(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t cut = maxBytes;
    // Step back while the first byte left out continues the character before it.
    while (cut > 0 && (static_cast<std::uint8_t>(text[cut]) & 0xC0) == 0x80) --cut;
    return text.substr(0, cut);
}

}  // namespace karvel
