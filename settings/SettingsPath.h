#pragma once
// Where the settings file lives.

#include <string>

namespace karvel {

// The settings file: "Karvel.ini" in the program's folder when that folder can
// be written (a portable install), otherwise "Karvel/Karvel.ini" in the user's
// configuration folder ($XDG_CONFIG_HOME, by default ~/.config); the first
// save creates the folders it lacks.
std::string SettingsFilePath(const std::string& programDir);

}  // namespace karvel
