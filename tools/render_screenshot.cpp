// Renders the window with three listed files to a PNG, for the README. Run it on an
// X display with a window manager to get the frame too; it shows what is on screen.
//   render_screenshot OUT.png                  the window at its first-start size
//   render_screenshot --large OUT.png          the window at 900 x 640
//   render_screenshot --confirmation OUT.png   the rename confirmation over the window
// With --folder DIR the files are made in DIR (created if need be) and removed again after,
// so that the list shows a folder as a user's would be; otherwise in a temporary one.
#include <QApplication>
#include <QCalendarWidget>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/KarvelFm.h"
#include "app/QtTranslation.h"

namespace {

// Lets the window manager frame and place what was just shown.
void Settle(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Creates `name` in `folder`, holding a byte, and returns its path.
std::string MakeFile(const std::string& folder, const char* name) {
    const std::string path = folder + name;
    std::ofstream(path, std::ios::binary) << 'x';
    return path;
}

// The screen's pixels under `area`, frames included.
bool SaveScreen(const QRect& area, const QString& path) {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).save(path);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    const bool large = args.contains(QStringLiteral("--large"));
    const bool confirmation = args.contains(QStringLiteral("--confirmation"));
    const qsizetype folderAt = args.indexOf(QStringLiteral("--folder"));
    if (args.isEmpty() || args.last().startsWith(QLatin1Char('-')) ||
        (folderAt >= 0 && folderAt + 2 >= args.size())) {
        std::fputs("usage: render_screenshot [--large | --confirmation] [--folder DIR] OUT.png\n",
                   stderr);
        return 2;
    }
    const QString out = args.last();
    karvel::LoadQtTranslation(app);

    const QTemporaryDir temp;
    if (!temp.isValid()) {
        std::fputs("render_screenshot: no temporary folder\n", stderr);
        return 1;
    }
    const QString folder = folderAt >= 0 ? QDir::cleanPath(args[folderAt + 1]) : temp.path();
    // The folders made here, deepest first, to remove again.
    QStringList made;
    for (QString missing = folder; !QDir(missing).exists(); missing = QFileInfo(missing).path())
        made << missing;
    if (!QDir().mkpath(folder)) {
        std::fputs("render_screenshot: cannot make the folder\n", stderr);
        return 1;
    }
    const std::string dir = folder.toStdString() + "/";
    karvel::KarvelFm window(temp.path().toStdString() + "/Karvel.ini");
    window.findChild<QCalendarWidget*>(QStringLiteral("MonthView1"))
        ->setSelectedDate(QDate(2024, 3, 5));
    if (large) {
        window.resize(900, 640);
        window.move(20, 20);
    }
    window.show();
    const std::vector<std::string> files{MakeFile(dir, "IMG_0231.jpg"), MakeFile(dir, "memo.txt"),
                                         MakeFile(dir, "\u6d77.jpg" /* a Japanese name */)};
    window.TakeInPaths(files);
    Settle(800);
    // The files and a folder made for them go again once the picture is taken.
    const auto tidy = [&] {
        for (const std::string& file : files) std::remove(file.c_str());
        for (const QString& path : made) QDir().rmdir(path);
    };

    if (!confirmation) {
        const bool saved = SaveScreen(window.frameGeometry(), out);
        tidy();
        return saved ? 0 : 1;
    }

    bool saved = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        poll.stop();
        Settle(800);
        saved = SaveScreen(window.frameGeometry().united(box->frameGeometry()), out);
        box->done(QMessageBox::No);
    });
    poll.start(50);
    window.BtnStart_Click();
    tidy();
    return saved ? 0 : 1;
}
