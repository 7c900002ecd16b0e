// Renders the window with three listed files to a PNG, for the README. Run it on an
// X display with a window manager to get the frame too; it shows what is on screen.
//   render_screenshot OUT.png                  the window at its first-start size
//   render_screenshot --large OUT.png          the window at 900 x 640
//   render_screenshot --confirmation OUT.png   the rename confirmation over the window
#include <QApplication>
#include <QCalendarWidget>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <cstdio>

#include "app/KarvelFm.h"
#include "app/QtTranslation.h"
#include "support/TempDir.h"

namespace {

// Lets the window manager frame and place what was just shown.
void Settle(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) QApplication::processEvents(QEventLoop::AllEvents, 20);
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
    if (args.isEmpty() || args.last().startsWith(QLatin1Char('-'))) {
        std::fputs("usage: render_screenshot [--large | --confirmation] OUT.png\n", stderr);
        return 2;
    }
    const QString out = args.last();
    karvel::LoadQtTranslation(app);

    karvel::testing::TempDir dir;
    karvel::KarvelFm window(dir.path() + "Karvel.ini");
    window.findChild<QCalendarWidget*>(QStringLiteral("MonthView1"))
        ->setSelectedDate(QDate(2024, 3, 5));
    if (large) {
        window.resize(900, 640);
        window.move(20, 20);
    }
    window.show();
    window.TakeInPaths(
        {dir.MakeFile("IMG_0231.jpg"), dir.MakeFile("memo.tar.gz"), dir.MakeFile("readme")});
    Settle(800);

    if (!confirmation) return SaveScreen(window.frameGeometry(), out) ? 0 : 1;

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
    return saved ? 0 : 1;
}
