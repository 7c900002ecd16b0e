#include <QApplication>
#include <QTimer>

#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/KarvelFm.h"
#include "app/QtTranslation.h"
#include "rename/ConsoleHost.h"
#include "rename/PosixRunFileSystem.h"
#include "rename/RunJournal.h"
#include "rename/RunMessages.h"
#include "rename/UndoRun.h"
#include "targets/AbsolutePaths.h"
#include "settings/PersistedSettings.h"

namespace {

// Qt aborts with a long message when no display can be reached; say it in one line.
bool DisplayAvailable() {
    const auto isSet = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return isSet("QT_QPA_PLATFORM") || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
}

std::string ProgramFolder() {
    std::vector<char> buffer(4096);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0) return {};
    const std::string program(buffer.data(), static_cast<std::size_t>(length));
    return program.substr(0, program.rfind('/'));
}

// KARVEL_INI names the settings file outright; otherwise the usual place. An installed
// program never keeps its settings beside itself, even when root could write there.
std::string SettingsFile() {
    const char* chosen = std::getenv("KARVEL_INI");
    if (chosen != nullptr && *chosen != '\0') return chosen;
    const std::string programFolder = ProgramFolder();
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
    std::cerr << "karvel: " << problem << "\nTry 'karvel --help' for more information.\n";
    return karvel::kExitUsage;
}

int RunBatch(karvel::CommandLine& line) {
    karvel::CatchStopSignals();
    karvel::PosixRunFileSystem fileSystem;
    if (line.undo) {
        karvel::ConsoleHost host(std::cin, std::cerr, line.batch.assumeYes);
        return karvel::UndoLastRun(karvel::JournalFilePath(), host, fileSystem) ==
                       karvel::UndoResult::Completed
                   ? karvel::kExitRenamed
                   : karvel::kExitNotRenamed;
    }
    if (line.filesFrom) {
        auto listed = karvel::ReadPathList(*line.filesFrom, line.nullSeparated, karvel::CurrentFolder());
        if (listed.problem) return Usage(*listed.problem);
        line.batch.files.insert(line.batch.files.end(), std::make_move_iterator(listed.paths.begin()),
                                std::make_move_iterator(listed.paths.end()));
    }
    if (const auto problem = karvel::CheckBatchRequest(line.batch)) return Usage(*problem);

    karvel::JournalFile journal(karvel::JournalFilePath());
    return karvel::RunBatch(line.batch, SettingsFile(), Today(), {std::cin, std::cout, std::cerr},
                            fileSystem, &journal);
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("karvel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KARVEL_VERSION));
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

    if (!DisplayAvailable()) {
        std::fputs("karvel: no display available (DISPLAY and WAYLAND_DISPLAY are not set)\n",
                   stderr);
        return 1;
    }
    for (const std::string& path : line.unresolved) {
        std::cerr << "karvel: the current folder cannot be read; left out: " << karvel::ShownName(path) << '\n';
    }
    QApplication app(argc, argv);
    karvel::LoadQtTranslation(app);
    karvel::KarvelFm window(SettingsFile());
    window.show();
    // Files named on the command line come in like a drop once the window is up.
    const std::vector<std::string>& files = line.files;
    if (!files.empty()) QTimer::singleShot(0, &window, [&window, &files] { window.TakeInPaths(files); });
    return QApplication::exec();
}
