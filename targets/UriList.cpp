#include "targets/UriList.h"
#include "text/Text.h"

#include <optional>

namespace karvel {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    return EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

// The still-escaped path of a local file URI, if it is one.
std::optional<std::string_view> LocalPathPart(std::string_view uri) {
    if (!StartsWithIgnoringCase(uri, "file:")) return std::nullopt;
    uri.remove_prefix(5);
    if (uri.starts_with("//")) {
        uri.remove_prefix(2);
        const auto slash = uri.find('/');
        if (slash == std::string_view::npos) return std::nullopt;
        const std::string_view host = uri.substr(0, slash);
        const bool local =
            host.empty() || (host.size() == 9 && StartsWithIgnoringCase(host, "localhost"));
        if (!local) return std::nullopt;
        uri.remove_prefix(slash);
    }
    if (!uri.starts_with('/')) return std::nullopt;
    // A query or fragment is not part of the path.
    return uri.substr(0, uri.find_first_of("?#"));
}

std::optional<std::string> PercentDecode(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            bytes.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
            i += 2;
        } else {
            bytes.push_back(text[i]);
        }
    }
    if (bytes.find('\0') != std::string::npos) return std::nullopt;
    return bytes;
}

}  // namespace

std::vector<std::string> FilePathsFromUriList(std::string_view uriList) {
    std::vector<std::string> paths;
    while (!uriList.empty()) {
        const auto end = uriList.find('\n');
        const std::string_view line = Trim(uriList.substr(0, end), " \t\r\n");
        uriList.remove_prefix(end == std::string_view::npos ? uriList.size() : end + 1);
        if (line.empty() || line.front() == '#') continue;
        const auto escaped = LocalPathPart(line);
        if (!escaped) continue;
        if (auto path = PercentDecode(*escaped)) paths.push_back(std::move(*path));
    }
    return paths;
}

}  // namespace karvel
