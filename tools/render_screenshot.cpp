// Renders the window with three listed files to a PNG, for the README.
#include <QApplication>
#include <QCalendarWidget>
#include <QPixmap>

#include <cstdio>
#include <fstream>

#include "app/KarvelFm.h"
#include "support/TempDir.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: render_screenshot OUT.png\n", stderr);
        return 2;
    }
    karvel::testing::TempDir dir;
    karvel::KarvelFm window(dir.path() + "Karvel.ini");
    window.findChild<QCalendarWidget*>(QStringLiteral("MonthView1"))->setSelectedDate(QDate(2024, 3, 5));
    window.show();
    window.TakeInPaths({dir.MakeFile("IMG_0231.jpg"), dir.MakeFile("memo.tar.gz"), dir.MakeFile("readme")});
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
