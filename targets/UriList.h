#pragma once
// Reads the file paths out of a dropped text/uri-list, byte for byte.

#include <string>
#include <string_view>
#include <vector>

namespace karvel {

// Every local file:// URI of the list as the exact bytes of its path (percent
// escapes decoded), in the list's order. Comments, other schemes, remote hosts
// and paths that could not be handed to the system (a NUL byte) are left out.
std::vector<std::string> FilePathsFromUriList(std::string_view uriList);

}  // namespace karvel
