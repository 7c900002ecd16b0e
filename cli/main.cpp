// The karvel command: batch mode, --help and --version run here without any GUI
// library; the window is a separate program started in this one's place.
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/CaptureDates.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleHost.h"
#include "rename/PosixRunFileSystem.h"
#include "rename/RunHistory.h"
#include "rename/RunMessages.h"
#include "rename/UndoRun.h"
#include "settings/SettingsPath.h"
#include "targets/AbsolutePaths.h"
#include "texts/CommandTexts.h"
#include "texts/FillText.h"

namespace {

// Qt aborts with a long message when no display can be reached; say it in one line.
bool DisplayAvailable() {
    const auto isSet = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return isSet("QT_QPA_PLATFORM") || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
}

// KARVEL_INI names the settings file outright; otherwise the usual place. An installed
// program never keeps its settings beside itself, even when root could write there.
std::string SettingsFile() {
    const char* chosen = std::getenv("KARVEL_INI");
    if (chosen != nullptr && *chosen != '\0') return chosen;
    const std::string programFolder = karvel::ProgramFolder();
    const bool installed = programFolder == KARVEL_INSTALL_BINDIR || programFolder == "/usr/bin" ||
                           programFolder == "/usr/local/bin" || programFolder == "/bin";
    return karvel::SettingsFilePath(installed ? std::string() : programFolder);
}

karvel::CalendarDate Today() {
    const time_t now = ::time(nullptr);
    tm local{};
    ::localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

int Usage(const std::string& problem) {
    std::cerr << karvel::FillText(karvel::kUsageLine, {problem});
    return karvel::kExitUsage;
}

int RunUndo(const karvel::CommandLine& line, karvel::PosixRunFileSystem& fileSystem) {
    const std::string stateFolder = karvel::StateFolder();
    if (line.list) {
        std::cout << karvel::HistoryText(stateFolder, fileSystem) << std::flush;
        return karvel::kExitRenamed;
    }
    if (line.forget) {
        const karvel::ForgetOutcome forgot = karvel::ForgetLastRun(stateFolder);
        if (forgot.forgotten) return karvel::kExitRenamed;
        std::cerr << karvel::FillText(karvel::kProblemLine, {karvel::TerminalText(forgot.problem)});
        return karvel::kExitNotRenamed;
    }
    karvel::ConsoleHost host(std::cin, std::cerr, line.batch.assumeYes);
    const karvel::UndoResult result = karvel::UndoLastRun(stateFolder, host, fileSystem);
    if (line.batch.verbose && !fileSystem.Kind().keepsInodes) {
        std::cerr << karvel::FillText(karvel::kInodesNotKept, {fileSystem.Kind().type});
    }
    return result == karvel::UndoResult::Completed ? karvel::kExitRenamed : karvel::kExitNotRenamed;
}

int RunBatch(karvel::CommandLine& line) {
    karvel::CatchStopSignals();
    karvel::PosixRunFileSystem fileSystem;
    if (line.undo) return RunUndo(line, fileSystem);
    if (line.filesFrom) {
        auto listed =
            karvel::ReadPathList(*line.filesFrom, line.nullSeparated, karvel::CurrentFolder());
        if (listed.problem) return Usage(*listed.problem);
        line.batch.files.insert(line.batch.files.end(),
                                std::make_move_iterator(listed.paths.begin()),
                                std::make_move_iterator(listed.paths.end()));
    }
    if (const auto problem = karvel::CheckBatchRequest(line.batch)) return Usage(*problem);

    // Without --no-undo a run that cannot keep its journal is refused.
    karvel::StateRecords records(karvel::StateFolder(), !line.batch.noUndo);
    return karvel::RunBatch(line.batch, SettingsFile(), Today(), {std::cin, std::cout, std::cerr},
                            fileSystem, &records);
}

// The window program beside this one (a build) or in the package's own folder.
std::string WindowProgram() {
    const std::string folder = karvel::ProgramFolder();
    for (const std::string& candidate :
         {folder + "/karvel-window", folder + "/../" KARVEL_WINDOW_SUBDIR "/karvel-window"}) {
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

}  // namespace

int main(int argc, char* argv[]) {
    karvel::CommandLine line = karvel::ParseCommandLine(
        std::vector<std::string>(argv + std::min(argc, 1), argv + argc), karvel::CurrentFolder());

    switch (line.mode) {
        case karvel::CommandLine::Mode::Exit:
            std::cout << line.output;
            return line.error.empty() ? line.exitStatus : Usage(line.error);
        case karvel::CommandLine::Mode::Batch:
            return RunBatch(line);
        case karvel::CommandLine::Mode::Window:
            break;
    }

    if (!line.qtPlatformGiven && !DisplayAvailable()) {
        std::cerr << karvel::kNoDisplay;
        return 1;
    }
    const std::string window = WindowProgram();
    if (window.empty()) {
        std::cerr << karvel::kNoWindowProgram;
        return 1;
    }
    // The settings file is told by where this program lies, not the window's.
    ::setenv("KARVEL_INI", SettingsFile().c_str(), 1);
    std::vector<char*> arguments(argv, argv + argc);
    arguments[0] = const_cast<char*>(window.c_str());
    arguments.push_back(nullptr);
    ::execv(window.c_str(), arguments.data());
    std::perror(std::string(karvel::kCannotStartWindow).c_str());
    return 1;
}
