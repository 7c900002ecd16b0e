#include "cli/CommandLine.h"

#include <algorithm>
#include <array>
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
