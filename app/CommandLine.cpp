#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <array>
#include <string_view>

#include "rename/RunMessages.h"
#include "targets/AbsolutePaths.h"

namespace karvel {

namespace {

// The options that take a value; their values are never file arguments.
constexpr std::array<std::string_view, 5> kValueOptions = {"--date", "--pattern", "--digits",
                                                           "--start", "--files-from"};

// File arguments straight from the bytes: Qt's own list would lose names that are not
// valid in the locale's encoding.
void TakeFileArguments(const std::vector<std::string>& arguments,
                       const std::optional<std::string>& currentFolder, CommandLine& line) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && argument.size() > 1 && argument.starts_with('-')) {
            if (std::ranges::find(kValueOptions, argument) != kValueOptions.end()) ++i;
            continue;
        }
        if (auto path = AbsolutePath(argument, currentFolder)) {
            line.files.push_back(std::move(*path));
        } else {
            line.unresolved.push_back(argument);
        }
    }
}

// The value of a value option as the bytes given: "--name VALUE" or "--name=VALUE".
std::optional<std::string> RawValue(const std::vector<std::string>& arguments, std::string_view name) {
    std::optional<std::string> found;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--") break;
        if (argument == name && i + 1 < arguments.size()) {
            found = arguments[++i];
        } else if (argument.size() > name.size() && argument.starts_with(name) &&
                   argument[name.size()] == '=') {
            found = argument.substr(name.size() + 1);
        } else if (std::ranges::find(kValueOptions, argument) != kValueOptions.end()) {
            ++i;
        }
    }
    return found;
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

CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const std::optional<std::string>& currentFolder) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Renames files to the date of your choice and a serial number, keeping their extensions.\n"
        "Without --batch the window opens with the FILEs in its list."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption batch(QStringLiteral("batch"),
                                   QStringLiteral("Rename without a window."));
    const QCommandLineOption date(QStringLiteral("date"),
                                  QStringLiteral("The date of the new names (default: today)."),
                                  QStringLiteral("YYYY-MM-DD"));
    const QCommandLineOption pattern(QStringLiteral("pattern"),
                                     QStringLiteral("yyyymmdd, yymmdd, mmdd, yyyymm or yymm."),
                                     QStringLiteral("PATTERN"));
    const QCommandLineOption digits(QStringLiteral("digits"),
                                    QStringLiteral("Digits of the serial number, 1 to 5."),
                                    QStringLiteral("N"));
    const QCommandLineOption start(QStringLiteral("start"),
                                   QStringLiteral("The first serial number."), QStringLiteral("N"));
    const QCommandLineOption midnight(QStringLiteral("midnight"),
                                      QStringLiteral("The modified time becomes 00:00:00."));
    const QCommandLineOption keepTime(QStringLiteral("keep-time"),
                                      QStringLiteral("The modified time of day stays."));
    const QCommandLineOption dryRun(QStringLiteral("dry-run"),
                                    QStringLiteral("Print old name, new name and modified time of "
                                                   "each file, tab-separated; change nothing."));
    const QCommandLineOption yes(QStringLiteral("yes"),
                                 QStringLiteral("Start without asking for confirmation."));
    const QCommandLineOption filesFrom(
        QStringLiteral("files-from"),
        QStringLiteral("Also read the files from LIST, one a line (- for standard input)."),
        QStringLiteral("LIST"));
    const QCommandLineOption undo(QStringLiteral("undo"),
                                  QStringLiteral("Take the last run back: old names and stamps."));
    const QCommandLineOption verbose(QStringLiteral("verbose"),
                                     QStringLiteral("After a run, tell how the folder renamed."));
    const QCommandLineOption nullSeparated(QStringLiteral("null"),
                                           QStringLiteral("LIST is separated by NUL characters."));
    for (const auto* option : {&batch, &date, &pattern, &digits, &start, &midnight, &keepTime,
                               &dryRun, &yes, &filesFrom, &nullSeparated, &undo, &verbose}) {
        parser.addOption(*option);
    }
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Files to rename."),
                                 QStringLiteral("[FILE...]"));

    QStringList qtArguments{QStringLiteral("karvel")};
    for (const std::string& argument : arguments) qtArguments << QString::fromLocal8Bit(argument);
    if (!parser.parse(qtArguments)) return Exit(2, {}, parser.errorText().toStdString());
    if (parser.isSet(help)) {
        // Without an application object Qt cannot know the program's name.
        return Exit(0, parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("karvel")).toStdString());
    }
    if (parser.isSet(version)) {
        return Exit(0, "karvel " + QCoreApplication::applicationVersion().toStdString() + "\n");
    }

    CommandLine line;
    TakeFileArguments(arguments, currentFolder, line);
    const bool batchOnly = parser.isSet(date) || parser.isSet(pattern) || parser.isSet(digits) ||
                           parser.isSet(start) || parser.isSet(midnight) || parser.isSet(keepTime) ||
                           parser.isSet(dryRun) || parser.isSet(yes) || parser.isSet(filesFrom) ||
                           parser.isSet(nullSeparated) || parser.isSet(undo) ||
                           parser.isSet(verbose);
    if (!parser.isSet(batch)) {
        if (batchOnly) return Exit(2, {}, "these options need --batch");
        return line;
    }

    if (!line.unresolved.empty()) {
        return Exit(2, {}, "cannot use the relative path \"" + ShownName(line.unresolved.front()) +
                               "\": the current folder cannot be read");
    }
    line.mode = CommandLine::Mode::Batch;
    BatchRequest& request = line.batch;
    const auto value = [&parser](const QCommandLineOption& option) -> std::optional<std::string> {
        if (!parser.isSet(option)) return std::nullopt;
        return parser.value(option).toStdString();
    };
    if (const auto text = value(date)) {
        request.date = ParseIsoDate(*text);
        if (!request.date) return Exit(2, {}, "bad date \"" + *text + "\" (use YYYY-MM-DD)");
    }
    request.pattern = value(pattern);
    request.digits = value(digits);
    request.start = value(start);
    if (parser.isSet(midnight) && parser.isSet(keepTime)) {
        return Exit(2, {}, "--midnight and --keep-time exclude each other");
    }
    if (parser.isSet(midnight)) request.midnight = true;
    if (parser.isSet(keepTime)) request.midnight = false;
    request.dryRun = parser.isSet(dryRun);
    request.verbose = parser.isSet(verbose);
    request.assumeYes = parser.isSet(yes);
    request.files = line.files;
    if (parser.isSet(filesFrom)) line.filesFrom = RawValue(arguments, "--files-from");
    line.nullSeparated = parser.isSet(nullSeparated);
    if (line.nullSeparated && !line.filesFrom) return Exit(2, {}, "--null needs --files-from");
    line.undo = parser.isSet(undo);
    if (line.undo && (!line.files.empty() || line.filesFrom || request.date || request.pattern ||
                      request.digits || request.start || request.midnight || request.dryRun)) {
        return Exit(2, {}, "--undo takes no files and no naming options");
    }
    return line;
}

}  // namespace karvel
