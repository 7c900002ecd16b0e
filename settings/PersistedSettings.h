#pragma once
// The settings kept between two runs: the window's placement, the widths of
// the list's columns and the naming options, in the sections "Settings",
// "LVSettings" and "Option" of the settings file.

#include <array>
#include <optional>
#include <string>

#include "settings/StoredOptions.h"

namespace karvel {

// The window's outer left, top, width and height, and the widths of the list's
// columns 1 to 3, in twips; an absent value leaves the window as it is.
struct StoredPlacement {
    std::optional<double> left, top, width, height;
    std::array<std::optional<double>, 3> columnWidths;

    friend bool operator==(const StoredPlacement&, const StoredPlacement&) = default;
};

struct StoredSettings {
    StoredPlacement placement;
    StoredOptions options;
};

// Every value as its control would take it. A missing or empty position or size
// is absent; missing column widths are 1600, 1600 and 1500. With the carry-over
// box off (also when it refuses its stored state: it starts off) the options are
// the fixed "1", "2", "yymmdd" and on, otherwise the stored ones. The start
// number converts to a signed 32-bit number, as the box holds it, every other
// number to 16 bits. A value that does not convert, a negative size or a
// check-box state other than 0, 1 and 2 is absent; a text that is not one of its
// drop-down list's items is empty: the list is left without a selection.
StoredSettings LoadSettings(const std::string& iniPath);

// Close: every value present, the placement and column widths first, then the
// options; the window leaves its placement out while minimised or maximised. A
// failed write goes unnoticed; the next start reads the older values or the defaults.
void SaveSettings(const std::string& iniPath, const StoredSettings& settings);

}  // namespace karvel
