#include "cli/CommandLine.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "rename/RunMessages.h"
#include "targets/AbsolutePaths.h"
#include "texts/CommandTexts.h"
#include "texts/FillText.h"

namespace karvel {

namespace {

struct OptionText {
    std::string_view name;
    std::string_view value;  // empty: a flag
    std::string_view help;
};

constexpr std::array<OptionText, 20> kOptions = {{
    {"--help", "", kHelpHelp},
    {"--version", "", kHelpVersion},
    {"--batch", "", kHelpBatch},
    {"--date", kValueDate, kHelpDate},
    {"--date-from", kValueDateFrom, kHelpDateFrom},
    {"--pattern", kValuePattern, kHelpPattern},
    {"--digits", kValueNumber, kHelpDigits},
    {"--start", kValueNumber, kHelpStart},
    {"--sort", kValueSort, kHelpSort},
    {"--midnight", "", kHelpMidnight},
    {"--keep-time", "", kHelpKeepTime},
    {"--dry-run", "", kHelpDryRun},
    {"--verbose", "", kHelpVerbose},
    {"--yes", "", kHelpYes},
    {"--files-from", kValueFilesFrom, kHelpFilesFrom},
    {"--null", "", kHelpNull},
    {"--no-undo", "", kHelpNoUndo},
    {"--undo", "", kHelpUndo},
    {"--list", "", kHelpList},
    {"--forget", "", kHelpForget},
}};

// Qt's options for any window (and the X11 platform's), which Qt takes out of the window
// program's arguments. Qt reads them with one dash or two; only -style and -stylesheet also
// as "-style=fusion", and -qmljsdebugger only so.
struct QtOption {
    std::string_view name;
    bool takesValue;
};
constexpr std::array<QtOption, 21> kQtOptions = {{
    {"-platform", true},
    {"-platformpluginpath", true},
    {"-platformtheme", true},
    {"-plugin", true},
    {"-qwindowgeometry", true},
    {"-geometry", true},
    {"-qwindowicon", true},
    {"-icon", true},
    {"-qwindowtitle", true},
    {"-title", true},
    {"-session", true},
    {"-style", true},
    {"-stylesheet", true},
    {"-display", true},
    {"-name", true},
    {"-visual", true},
    {"-reverse", false},
    {"-widgetcount", false},
    {"-nograb", false},
    {"-dograb", false},
    {"-qmljsdebugger", false},
}};

// The Qt option `argument` is, if any: its name with one dash, and whether the value is
// the next argument.
std::optional<QtOption> FindQtOption(std::string_view argument) {
    std::string_view name = argument.starts_with("--") ? argument.substr(1) : argument;
    const std::size_t equals = name.find('=');
    const bool joined = equals != std::string_view::npos;
    if (joined) name = name.substr(0, equals);
    for (const QtOption& option : kQtOptions) {
        if (option.name != name) continue;
        if (name == "-qmljsdebugger") return joined ? std::optional(option) : std::nullopt;
        if (!joined) return option;
        if (name == "-style" || name == "-stylesheet") return QtOption{option.name, false};
        return std::nullopt;
    }
    return std::nullopt;
}

const OptionText* FindOption(std::string_view name) {
    for (const OptionText& option : kOptions) {
        if (option.name == name) return &option;
    }
    return nullptr;
}

CommandLine Exit(int status, std::string output, std::string error = {}) {
    CommandLine line;
    line.mode = CommandLine::Mode::Exit;
    line.exitStatus = status;
    line.output = std::move(output);
    line.error = std::move(error);
    return line;
}

}  // namespace

std::string HelpText() {
    std::string text(kHelpUsage);
    for (const OptionText& option : kOptions) {
        std::string head = "  " + std::string(option.name);
        if (!option.value.empty()) head += " <" + std::string(option.value) + ">";
        head.resize(std::max<std::size_t>(head.size() + 2, 24), ' ');
        std::string help(option.help);
        for (std::size_t at = help.find('\n'); at != std::string::npos;
             at = help.find('\n', at + 1)) {
            help.insert(at + 1, std::string(24, ' '));
        }
        text += head + help + "\n";
    }
    return text;
}

CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const std::optional<std::string>& currentFolder) {
    CommandLine line;
    std::vector<std::string> set;  // options given, by name
    std::optional<std::string> date, sort, dateFrom;
    BatchRequest& request = line.batch;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument == "-" || !argument.starts_with('-')) {
            // File arguments stay the bytes given: names need not be valid in any encoding.
            if (auto path = AbsolutePath(argument, currentFolder)) {
                line.files.push_back(std::move(*path));
            } else {
                line.unresolved.push_back(argument);
            }
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (const auto qt = FindQtOption(argument)) {
            line.qtOptions.push_back(argument);
            if (qt->takesValue) {
                if (i + 1 == arguments.size())
                    return Exit(2, {}, "missing value after '" + ShownName(argument) + "'");
                line.qtOptions.push_back(arguments[++i]);
            }
            if (qt->name == "-platform") line.qtPlatformGiven = true;
            continue;
        }
        std::string name = argument;
        std::optional<std::string> value;
        if (const auto equals = argument.find('=');
            argument.starts_with("--") && equals != std::string::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
        }
        if (name == "-h" || name == "-?") name = "--help";
        if (name == "-v") name = "--version";
        const OptionText* option = FindOption(name);
        if (option == nullptr) return Exit(2, {}, FillText(kUnknownOption, {ShownName(argument)}));
        if (option->value.empty() && value)
            return Exit(2, {}, FillText(kOptionTakesNoValue, {name}));
        if (!option->value.empty() && !value) {
            if (i + 1 == arguments.size()) return Exit(2, {}, FillText(kMissingValue, {name}));
            value = arguments[++i];
        }
        set.push_back(name);
        if (name == "--help") return Exit(0, HelpText());
        if (name == "--version") return Exit(0, FillText(kVersionLine, {KARVEL_VERSION}));
        if (name == "--date") date = value;
        if (name == "--date-from") dateFrom = value;
        if (name == "--pattern") request.pattern = value;
        if (name == "--digits") request.digits = value;
        if (name == "--start") request.start = value;
        if (name == "--sort") sort = value;
        if (name == "--files-from") line.filesFrom = value;
    }
    const auto given = [&set](std::string_view name) {
        return std::ranges::find(set, name) != set.end();
    };

    if (!given("--batch")) {
        if (!set.empty()) return Exit(2, {}, std::string(kNeedsBatch));
        return line;
    }
    if (!line.qtOptions.empty()) {
        return Exit(2, {},
                    "'" + ShownName(line.qtOptions.front()) + "' is for the window, not --batch");
    }
    if (!line.unresolved.empty()) {
        return Exit(2, {}, FillText(kRelativePath, {ShownName(line.unresolved.front())}));
    }
    line.mode = CommandLine::Mode::Batch;
    if (date) {
        request.date = ParseIsoDate(*date);
        if (!request.date) return Exit(2, {}, FillText(kBadDate, {ShownName(*date)}));
    }
    if (dateFrom) {
        request.dateFrom = DateSourceFromWord(*dateFrom);
        if (!request.dateFrom)
            return Exit(2, {}, FillText(kUnknownDateSource, {ShownName(*dateFrom)}));
        if (date && *request.dateFrom != DateSource::Calendar)
            return Exit(2, {}, std::string(kDateOnlyWithCalendar));
    }
    // A date given is the calendar's.
    if (date && !dateFrom) request.dateFrom = DateSource::Calendar;
    if (sort) {
        request.sort = ParseBatchSort(*sort);
        if (!request.sort) return Exit(2, {}, FillText(kUnknownOrder, {ShownName(*sort)}));
    }
    if (given("--midnight") && given("--keep-time")) {
        return Exit(2, {}, std::string(kMidnightOrKeepTime));
    }
    if (given("--midnight")) request.midnight = true;
    if (given("--keep-time")) request.midnight = false;
    request.dryRun = given("--dry-run");
    request.verbose = given("--verbose");
    request.assumeYes = given("--yes");
    request.noUndo = given("--no-undo");
    request.files = line.files;
    line.nullSeparated = given("--null");
    if (line.nullSeparated && !line.filesFrom) return Exit(2, {}, std::string(kNullNeedsFilesFrom));
    line.undo = given("--undo");
    line.list = given("--list");
    line.forget = given("--forget");
    if ((line.list || line.forget) && !line.undo)
        return Exit(2, {}, std::string(kListForgetNeedUndo));
    if (line.list && line.forget) return Exit(2, {}, std::string(kListOrForget));
    if (line.undo && (!line.files.empty() || line.filesFrom || request.date || dateFrom ||
                      request.pattern || request.digits || request.start || request.midnight ||
                      request.dryRun || sort || request.noUndo)) {
        return Exit(2, {}, std::string(kUndoTakesNothing));
    }
    return line;
}

}  // namespace karvel
