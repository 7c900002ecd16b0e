// The window program, started by the karvel command with the same arguments.
#include <QApplication>
#include <QTimer>

#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/KarvelFm.h"
#include "app/QtTranslation.h"
#include "cli/CommandLine.h"
#include "rename/RunMessages.h"
#include "settings/SettingsPath.h"
#include "targets/AbsolutePaths.h"
#include "texts/CommandTexts.h"
#include "texts/FillText.h"

int main(int argc, char* argv[]) {
    // Qt takes its own options (-style, -platform, -reverse, ...) out of the arguments before
    // "--"; after it everything is a file, whatever it looks like.
    int qtArgc = argc;
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--") {
            qtArgc = i;
            break;
        }
    }
    const std::vector<std::string> afterOptions(argv + qtArgc, argv + argc);
    QApplication app(qtArgc, argv);
    std::vector<std::string> arguments(argv + std::min(qtArgc, 1), argv + qtArgc);
    arguments.insert(arguments.end(), afterOptions.begin(), afterOptions.end());
    const karvel::CommandLine line = karvel::ParseCommandLine(arguments, karvel::CurrentFolder());
    if (line.mode != karvel::CommandLine::Mode::Window) {
        std::cerr << karvel::kWindowNeedsCommand;
        return 2;
    }
    for (const std::string& path : line.unresolved) {
        std::cerr << karvel::FillText(karvel::kUnreadableFolderLeftOut, {karvel::ShownName(path)});
    }
    const char* settings = std::getenv("KARVEL_INI");
    QCoreApplication::setApplicationName(QStringLiteral("karvel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KARVEL_VERSION));
    karvel::LoadQtTranslation(app);
    karvel::KarvelFm window(
        settings != nullptr && *settings != '\0' ? settings : karvel::SettingsFilePath({}));
    window.show();
    // Files named on the command line come in like a drop once the window is up.
    const std::vector<std::string>& files = line.files;
    if (!files.empty())
        QTimer::singleShot(0, &window, [&window, &files] { window.TakeInPaths(files); });
    return QApplication::exec();
}
