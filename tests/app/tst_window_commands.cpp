// Window commands: always on top.
#include <QAction>
#include <QWindow>

#include "support/WindowTest.h"

using namespace karvel;
using namespace karvel::testing;

class WindowCommandsTest : public WindowTest {
    Q_OBJECT
  private slots:
    void stayOnTopTogglesWithoutMovingTheWindow() {
        const QRect before = window_->geometry();
        auto* item = Child<QAction>(*window_, "MenuChkOpt1");
        QVERIFY(!item->isChecked());

        window_->MenuChkOpt1_Click();
        QVERIFY(item->isChecked());
        QVERIFY(window_->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(window_->geometry(), before);
        QVERIFY(window_->isVisible());

        window_->MenuChkOpt1_Click();
        QVERIFY(!item->isChecked());
        QVERIFY(!window_->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(window_->geometry(), before);
    }
};

QTEST_MAIN(WindowCommandsTest)
#include "tst_window_commands.moc"
