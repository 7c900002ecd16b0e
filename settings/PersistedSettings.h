#pragma once
// The settings kept between two runs: the window's placement, the widths of
// the list's columns and the naming options, in the sections "Settings",
// "LVSettings" and "Option" of the settings file.

#include <string>

#include "settings/SettingsWindow.h"

namespace karvel {

// Start-up, before the option lists are filled: the window's left, top, width
// and height, then the widths of columns 1 to 3. A missing or empty value
// keeps the window's own placement and gives the columns 1600, 1600 and 1500;
// a value that is no 16-bit number, or a negative size, is skipped and the
// window keeps what it has.
void RestorePlacement(SettingsWindow& window, const std::string& iniPath);

// Start-up, once the option lists hold their items: the state of the
// carry-over box, and then either the stored start number, digit count, date
// pattern and modified-date box, or the fixed "1", "2", "yymmdd" and on.
// The start number converts to a signed 32-bit number, as the box holds it,
// every other value to 16 bits. A stored value that does not convert, or that
// its control refuses, is skipped and the control keeps what it has.
void RestoreOptions(SettingsWindow& window, const std::string& iniPath);

// Close: the placement and column widths only while the window is neither
// minimised nor maximised, then always the five options. A failed write goes
// unnoticed; the next start reads the older values or the defaults.
void SaveSettings(SettingsWindow& window, const std::string& iniPath);

}  // namespace karvel
