#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "app/KarvelFm.h"

namespace {

// Qt aborts with a long message when no display can be reached; say it in one line.
bool DisplayAvailable() {
    const auto isSet = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return isSet("QT_QPA_PLATFORM") || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!DisplayAvailable()) {
        std::fputs("karvel: no display available (DISPLAY and WAYLAND_DISPLAY are not set)\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    karvel::KarvelFm window;
    window.show();
    return QApplication::exec();
}
