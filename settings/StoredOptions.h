#pragma once
// The naming options a new window would start with, read without a window: the same
// restore, over controls that accept and refuse values as the window's do.

#include <string>

namespace karvel {

struct StoredOptions {
    std::string startNoText;  // the start-number box
    std::string colText;      // the digit list, "1" to "5", empty without a selection
    std::string typeText;     // the pattern list, empty without a selection
    int timeUpd = 0;          // the modified-date box: 0 off, 1 on, 2 greyed
};

StoredOptions ReadStoredOptions(const std::string& iniPath);

}  // namespace karvel
