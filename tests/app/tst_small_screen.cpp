// A small screen at a large scale factor (run at QT_SCALE_FACTOR=2 on a 1600 x 1000 or a
// 1366 x 768 screen):
// the first window and a stored placement off every screen come up whole on it.
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QTreeView>

#include "support/WindowTest.h"

using namespace karvel;
using namespace karvel::testing;

class SmallScreenTest : public QObject {
    Q_OBJECT
  private:
    // The window's frame, its status bar and the list all lie on the screen's free area.
    static void ExpectWholeOnScreen(KarvelFm& window) {
        const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2(room.contains(window.frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(window.frameGeometry().x())
                                .arg(window.frameGeometry().y())
                                .arg(window.frameGeometry().width())
                                .arg(window.frameGeometry().height())));
        auto* status = Child<QStatusBar>(window, "StsBar");
        const QRect bar(status->mapToGlobal(QPoint(0, 0)), status->size());
        QVERIFY(room.contains(bar));
        QCOMPARE(status->geometry().bottom(), window.centralWidget()->height() - 1);
        auto* list = Child<QTreeView>(window, "ListVi");
        QVERIFY(list->height() > 0);
        QVERIFY(list->geometry().bottom() < Child<QWidget>(window, "Picture1")->y());
    }

  private slots:
    void theScreenIsSmallAndScaled() {
        const QScreen* screen = QGuiApplication::primaryScreen();
        QCOMPARE(screen->devicePixelRatio(), 2.0);
        QVERIFY(screen->geometry().height() <= 500);
    }

    void theFirstWindowFits() {
        WindowFixture fixture;
        auto window = fixture.Open();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        ExpectWholeOnScreen(*window);
        // Only as much smaller as the screen needs: the first-start width is kept.
        QCOMPARE(window->centralWidget()->width(), 339);
    }

    // Left of, below, and far beyond the screen; and larger than it.
    void aStoredPlacementOffTheScreenComesBack() {
        for (const char* placement :
             {"MainLeft=-40000\nMainTop=1200\nMainWidth=5085\nMainHeight=6000\n",
              "MainLeft=600\nMainTop=30000\nMainWidth=5085\nMainHeight=6000\n",
              "MainLeft=90000\nMainTop=-90000\nMainWidth=5085\nMainHeight=6000\n",
              "MainLeft=0\nMainTop=0\nMainWidth=20000\nMainHeight=20000\n"}) {
            WindowFixture fixture;
            fixture.WriteIni(std::string("[Settings]\n") + placement);
            auto window = fixture.Open();
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
            ExpectWholeOnScreen(*window);
        }
    }

    // A placement that lies on the screen stays where it was put.
    void aStoredPlacementOnTheScreenStays() {
        WindowFixture fixture;
        fixture.WriteIni(
            "[Settings]\nMainLeft=1500\nMainTop=600\nMainWidth=6000\nMainHeight=4500\n");
        auto window = fixture.Open();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(window->frameGeometry().topLeft(), QPoint(100, 40));
        const StoredPlacement placement = window->Settings().placement;
        QCOMPARE(placement.width.value_or(-1), 6000.0);
        QCOMPARE(placement.height.value_or(-1), 4500.0);
    }
};

QTEST_MAIN(SmallScreenTest)
#include "tst_small_screen.moc"
