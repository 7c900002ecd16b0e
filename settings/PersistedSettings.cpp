#include "settings/PersistedSettings.h"

#include <cstdint>
#include <string_view>

#include "naming/DatePrefix.h"
#include "naming/DateSource.h"
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
    if (optState.value_or(0) == 0) return {"1", "2", "yymmdd", 1, optState, 0};

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
    if (const auto from = Number(ini, kOption, "DateFrom"); from && DateSourceFromIndex(*from))
        options.dateFrom = *from;
    return options;
}

}  // namespace

StoredSettings LoadSettings(const std::string& iniPath) {
    clsIniFile ini;
    ini.pFileName(iniPath);
    return {ReadPlacement(ini), ReadOptions(ini)};
}

void SaveSettings(const std::string& iniPath, const StoredSettings& settings) {
    const StoredPlacement& placement = settings.placement;
    {
        clsIniFile ini;
        ini.pFileName(iniPath);
        const auto twips = [&ini](std::string_view section, std::string_view key,
                                  const std::optional<double>& value) {
            if (value) ini.mSetString(section, key, NumberText(*value));
        };
        twips(kSettings, "MainLeft", placement.left);
        twips(kSettings, "MainTop", placement.top);
        twips(kSettings, "MainWidth", placement.width);
        twips(kSettings, "MainHeight", placement.height);
        twips(kLVSettings, "ColWidth1", placement.columnWidths[0]);
        twips(kLVSettings, "ColWidth2", placement.columnWidths[1]);
        twips(kLVSettings, "ColWidth3", placement.columnWidths[2]);
    }

    const StoredOptions& options = settings.options;
    clsIniFile ini;
    ini.pFileName(iniPath);
    const auto text = [&ini](std::string_view key, const std::optional<std::string>& value) {
        if (value) ini.mSetString(kOption, key, *value);
    };
    const auto state = [&ini](std::string_view key, const std::optional<int>& value) {
        if (value) ini.mSetString(kOption, key, std::to_string(*value));
    };
    text("StartNo", options.startNoText);
    text("Colummn", options.colText);
    text("Type", options.typeText);
    state("TimeUpd", options.timeUpd);
    state("NextOption", options.optState);
    state("DateFrom", options.dateFrom);
}

}  // namespace karvel
