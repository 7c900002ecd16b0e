#include "settings/PersistedSettings.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

#include "settings/NumberText.h"
#include "settings/clsIniFile.h"

namespace karvel {

namespace {

constexpr std::string_view kSettings = "Settings";
constexpr std::string_view kLVSettings = "LVSettings";
constexpr std::string_view kOption = "Option";

// Reads one number and hands it on only when it converts; otherwise the
// control keeps the value it has.
template <class Apply>
void RestoreNumber(const clsIniFile& ini, std::string_view section, std::string_view key,
                   const std::string& defaultText, Apply apply) {
    if (const std::optional<std::int16_t> number =
            NumberTextToInt16(ini.mGetString(section, key, defaultText))) {
        apply(static_cast<int>(*number));
    }
}

// The start number as the box holds it: the number rules of the other keys, but
// the range of a signed 32-bit value.
std::optional<std::int32_t> StartNumberFromText(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    // from_chars takes a "-" but no "+".
    if (text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-') return std::nullopt;
    }
    double value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    // The default rounding mode takes a half to the even neighbour, as the other keys do.
    const double whole = std::nearbyint(value);
    if (whole < std::numeric_limits<std::int32_t>::min() ||
        whole > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(whole);
}

}  // namespace

void RestorePlacement(SettingsWindow& window, const std::string& iniPath) {
    clsIniFile ini;
    ini.pFileName(iniPath);
    // Each default is read just before its step: an earlier step may have moved the window.
    RestoreNumber(ini, kSettings, "MainLeft", NumberText(window.WindowLeft()),
                  [&](int twips) { window.SetWindowLeft(twips); });
    RestoreNumber(ini, kSettings, "MainTop", NumberText(window.WindowTop()),
                  [&](int twips) { window.SetWindowTop(twips); });
    RestoreNumber(ini, kSettings, "MainWidth", NumberText(window.WindowWidth()), [&](int twips) {
        if (twips >= 0) window.SetWindowWidth(twips);
    });
    RestoreNumber(ini, kSettings, "MainHeight", NumberText(window.WindowHeight()), [&](int twips) {
        if (twips >= 0) window.SetWindowHeight(twips);
    });

    constexpr std::string_view kColumnKeys[] = {"ColWidth1", "ColWidth2", "ColWidth3"};
    const std::string kColumnDefaults[] = {"1600", "1600", "1500"};
    for (int column = 1; column <= 3; ++column) {
        const auto index = static_cast<std::size_t>(column - 1);
        RestoreNumber(ini, kLVSettings, kColumnKeys[index], kColumnDefaults[index], [&](int twips) {
            if (twips >= 0) window.SetColumnWidth(column, twips);
        });
    }
}

void RestoreOptions(SettingsWindow& window, const std::string& iniPath) {
    clsIniFile ini;
    ini.pFileName(iniPath);
    RestoreNumber(ini, kOption, "NextOption", "0", [&](int state) { window.SetOptState(state); });

    if (window.OptState() != 0) {
        // Through a number and back, so that a stored "007" shows as "7".
        if (const auto number = StartNumberFromText(ini.mGetString(kOption, "StartNo", "1"))) {
            window.SetStartNoText(std::to_string(*number));
        }
        RestoreNumber(ini, kOption, "Colummn", "2",
                      [&](int digits) { window.SetColText(std::to_string(digits)); });
        window.SetTypeText(ini.mGetString(kOption, "Type", "yymmdd"));
        RestoreNumber(ini, kOption, "TimeUpd", "1",
                      [&](int state) { window.SetTimeUpdState(state); });
    } else {
        window.SetStartNoText("1");
        window.SetColText("2");
        window.SetTypeText("yymmdd");
        window.SetTimeUpdState(1);
    }
}

void SaveSettings(SettingsWindow& window, const std::string& iniPath) {
    // A minimised or maximised window would store a placement the user never chose.
    if (window.State() == WindowState::Normal) {
        clsIniFile ini;
        ini.pFileName(iniPath);
        ini.mSetString(kSettings, "MainLeft", NumberText(window.WindowLeft()));
        ini.mSetString(kSettings, "MainTop", NumberText(window.WindowTop()));
        ini.mSetString(kSettings, "MainWidth", NumberText(window.WindowWidth()));
        ini.mSetString(kSettings, "MainHeight", NumberText(window.WindowHeight()));
        ini.mSetString(kLVSettings, "ColWidth1", NumberText(window.ColumnWidth(1)));
        ini.mSetString(kLVSettings, "ColWidth2", NumberText(window.ColumnWidth(2)));
        ini.mSetString(kLVSettings, "ColWidth3", NumberText(window.ColumnWidth(3)));
    }

    clsIniFile ini;
    ini.pFileName(iniPath);
    ini.mSetString(kOption, "StartNo", window.StartNoText());
    ini.mSetString(kOption, "Colummn", window.ColText());
    ini.mSetString(kOption, "Type", window.TypeText());
    ini.mSetString(kOption, "TimeUpd", std::to_string(window.TimeUpdState()));
    ini.mSetString(kOption, "NextOption", std::to_string(window.OptState()));
}

}  // namespace karvel
