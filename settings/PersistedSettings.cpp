#include "settings/PersistedSettings.h"

#include <cstdint>
#include <string_view>

#include "naming/DatePrefix.h"
#include "naming/NewNames.h"
#include "settings/NumberText.h"
#include "settings/clsIniFile.h"

namespace karvel {

namespace {

constexpr std::string_view kSettings = "Settings";
constexpr std::string_view kLVSettings = "LVSettings";
constexpr std::string_view kOption = "Option";

// A stored number that converts to 16 bits; a missing or empty one reads as `fallback`.
std::optional<int> Number(const clsIniFile& ini, std::string_view section, std::string_view key,
                          std::string_view fallback = "") {
    const std::optional<std::int16_t> number =
        NumberTextToInt16(ini.mGetString(section, key, fallback));
    if (!number) return std::nullopt;
    return *number;
}

std::optional<double> Size(std::optional<int> twips) {
    if (!twips || *twips < 0) return std::nullopt;
    return *twips;
}

std::optional<int> CheckState(std::optional<int> state) {
    if (!state || !IsCheckState(*state)) return std::nullopt;
    return state;
}

// A drop-down list shows a text only when it is one of its items.
std::string Listed(std::string text, bool listed) {
    return listed ? text : std::string();
}

StoredPlacement ReadPlacement(const clsIniFile& ini) {
    return {Number(ini, kSettings, "MainLeft"),
            Number(ini, kSettings, "MainTop"),
            Size(Number(ini, kSettings, "MainWidth")),
            Size(Number(ini, kSettings, "MainHeight")),
            {Size(Number(ini, kLVSettings, "ColWidth1", "1600")),
             Size(Number(ini, kLVSettings, "ColWidth2", "1600")),
             Size(Number(ini, kLVSettings, "ColWidth3", "1500"))}};
}

StoredOptions ReadOptions(const clsIniFile& ini) {
    const std::optional<int> optState = CheckState(Number(ini, kOption, "NextOption", "0"));
    if (optState.value_or(0) == 0) return {"1", "2", "yymmdd", 1, optState};

    StoredOptions options;
    options.optState = optState;
    // Through a number and back, so that a stored "007" shows as "7".
    if (const auto number = StoredStartNumber(ini.mGetString(kOption, "StartNo", "1"))) {
        options.startNoText = std::to_string(*number);
    }
    if (const auto digits = Number(ini, kOption, "Colummn", "2")) {
        const std::string text = std::to_string(*digits);
        options.colText = Listed(text, IsDigitCountText(text));
    }
    const std::string type = ini.mGetString(kOption, "Type", "yymmdd");
    options.typeText = Listed(type, DatePatternFromText(type).has_value());
    options.timeUpd = CheckState(Number(ini, kOption, "TimeUpd", "1"));
    return options;
}

}  // namespace

StoredSettings LoadSettings(const std::string& iniPath) {
    clsIniFile ini;
    ini.pFileName(iniPath);
    return {ReadPlacement(ini), ReadOptions(ini)};
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
