// Window commands: always on top.
#include <QAction>
#include <QWindow>

#include "WindowFixture.h"

using namespace karvel;
using namespace karvel::testing;

class WindowCommandsTest : public QObject {
    Q_OBJECT
  private slots:
    void stayOnTopTogglesWithoutMovingTheWindow() {
        WindowFixture fixture;
        auto window = fixture.Open();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QRect before = window->geometry();
        auto* item = Child<QAction>(*window, "MenuChkOpt1");
        QVERIFY(!item->isChecked());

        window->MenuChkOpt1_Click();
        QVERIFY(item->isChecked());
        QVERIFY(window->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(window->geometry(), before);
        QVERIFY(window->isVisible());

        window->MenuChkOpt1_Click();
        QVERIFY(!item->isChecked());
        QVERIFY(!window->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(window->geometry(), before);
    }
};

QTEST_MAIN(WindowCommandsTest)
#include "tst_window_commands.moc"
