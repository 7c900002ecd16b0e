// Any bytes as the text/uri-list of a drop.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "targets/UriList.h"

namespace {

using karvel::FilePathsFromUriList;

// A file URI that names `path`, every byte outside the unreserved set escaped.
std::string FileUri(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || c == '/' || c == '-' || c == '.' ||
                           c == '_' || c == '~';
        if (plain) {
            uri.push_back(c);
        } else {
            uri.push_back('%');
            uri.push_back(kHex[byte >> 4]);
            uri.push_back(kHex[byte & 0x0F]);
        }
    }
    return uri;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view list(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> paths = FilePathsFromUriList(list);

    for (const std::string& path : paths) {
        FUZZ_CHECK(!path.empty() && path.front() == '/');
        FUZZ_CHECK(path.find('\0') == std::string::npos);
        // Decoding only ever shortens the text.
        FUZZ_CHECK(path.size() <= list.size());
    }

    // Every line stands alone: decoding line by line gives the same paths.
    std::vector<std::string> lineByLine;
    for (std::string_view rest = list; !rest.empty();) {
        const auto end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        for (std::string& path : FilePathsFromUriList(line)) lineByLine.push_back(std::move(path));
    }
    FUZZ_CHECK(lineByLine == paths);

    // The paths written back as a list, as a file manager would, read back unchanged.
    std::string written;
    for (const std::string& path : paths) written += FileUri(path) + "\r\n";
    FUZZ_CHECK(FilePathsFromUriList(written) == paths);
    return 0;
}
