#include "settings/SettingsPath.h"

#include <pwd.h>
#include <stdlib.h>
#include <unistd.h>

#include <vector>

namespace karvel {

namespace {

constexpr const char* kFileName = "Karvel.ini";

// The user's configuration folder; empty when not even the home folder is known.
std::string UserConfigFolder() {
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    const char* configHome = ::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && configHome[0] == '/') return configHome;
    const char* home = ::getenv("HOME");
    if (home != nullptr && home[0] != '\0') return std::string(home) + "/.config";

    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] != '\0') {
        return std::string(found->pw_dir) + "/.config";
    }
    return {};
}

}  // namespace

std::string SettingsFilePath(const std::string& programDir) {
    std::string folder = programDir;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    const std::string portable = (folder == "/" ? "" : folder) + "/" + kFileName;
    if (!folder.empty() && ::access(folder.c_str(), W_OK) == 0) return portable;

    const std::string config = UserConfigFolder();
    // Without any home the program's folder is still the best guess: reads work, writes fail.
    if (config.empty()) return portable;
    return config + "/Karvel/" + kFileName;
}

}  // namespace karvel
