// The start-number box takes digits and backspace only, beeping at the rest.
#include <QClipboard>
#include <QLineEdit>

#include "app/Beep.h"
#include "support/WindowTest.h"

using namespace karvel;
using namespace karvel::testing;

class StartNoFilterTest : public WindowTest {
    Q_OBJECT
  private:
    QLineEdit* box_ = nullptr;

  private slots:
    void init() {
        WindowTest::init();
        box_ = Child<QLineEdit>(*window_, "TxtStartNo");
        box_->setFocus();
        box_->end(false);
        Beep::ResetCount();
    }

    void digitsAndBackspacePass() {
        QTest::keyClicks(box_, QStringLiteral("20"));
        QCOMPARE(box_->text(), QStringLiteral("120"));
        QTest::keyClick(box_, Qt::Key_Backspace);
        QCOMPARE(box_->text(), QStringLiteral("12"));
        QCOMPARE(Beep::Count(), 0);
    }

    void everyOtherCharacterIsDroppedWithABeep() {
        QTest::keyClick(box_, Qt::Key_A);
        QTest::keyClick(box_, Qt::Key_Minus);
        QTest::keyClick(box_, Qt::Key_Space);
        QTest::keyClick(box_, Qt::Key_Plus);
        QTest::keyClick(box_, Qt::Key_Return);
        QKeyEvent fullWidthDigit(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("１"));
        QApplication::sendEvent(box_, &fullWidthDigit);  // not a digit here
        QCOMPARE(box_->text(), QStringLiteral("1"));
        QCOMPARE(Beep::Count(), 6);
    }

    void pasteShortcutIsDroppedButTheMenuPastes() {
        QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
        QTest::keyClick(box_, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box_->text(), QStringLiteral("1"));
        QCOMPARE(Beep::Count(), 1);
        box_->paste();  // what the box's own context menu does
        QCOMPARE(box_->text(), QStringLiteral("1abc"));
    }

    void keysWithoutCharactersAreNotFiltered() {
        QTest::keyClick(box_, Qt::Key_Home);
        QTest::keyClick(box_, Qt::Key_Delete);
        QCOMPARE(box_->text(), QString());
        QTest::keyClick(box_, Qt::Key_Left);
        QCOMPARE(Beep::Count(), 0);
    }
};

QTEST_MAIN(StartNoFilterTest)
#include "tst_start_no_filter.moc"
