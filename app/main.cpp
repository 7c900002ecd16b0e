#include <QApplication>
#include <QTimer>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/KarvelFm.h"
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

std::string CurrentFolder() {
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr && errno == ERANGE) {
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

// File arguments as the exact bytes given, made absolute against the current folder.
std::vector<std::string> FileArguments(int argc, char* argv[]) {
    std::vector<std::string> files;
    const std::string cwd = CurrentFolder();
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && argument.starts_with('-')) continue;
        files.push_back(argument.starts_with('/') ? argument : cwd + "/" + argument);
    }
    return files;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!DisplayAvailable()) {
        std::fputs("karvel: no display available (DISPLAY and WAYLAND_DISPLAY are not set)\n",
                   stderr);
        return 1;
    }
    const std::vector<std::string> files = FileArguments(argc, argv);
    QApplication app(argc, argv);
    const std::string programDir = QCoreApplication::applicationDirPath().toStdString();
    karvel::KarvelFm window(karvel::SettingsFilePath(programDir));
    window.show();
    // Files named on the command line come in like a drop once the window is up.
    if (!files.empty()) QTimer::singleShot(0, &window, [&window, &files] { window.TakeInPaths(files); });
    return QApplication::exec();
}
