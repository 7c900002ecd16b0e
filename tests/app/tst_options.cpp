// Every option change rebuilds the names of a listed batch at once.
#include <QCalendarWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QTreeView>

#include "app/OptionCheckBox.h"
#include "support/WindowTest.h"

using namespace karvel;
using namespace karvel::testing;

class OptionsTest : public WindowTest {
    Q_OBJECT
  private:
    QString AfterName(int row) const { return list_->model()->index(row, 1).data().toString(); }

    void DropTwo() {
        window_->TakeInPaths({fixture_->Dir().MakeFile("a.jpg"), fixture_->Dir().MakeFile("b")});
    }

  private slots:
    void init() {
        WindowTest::init();
        Child<QCalendarWidget>(*window_, "MonthView1")->setSelectedDate(QDate(2024, 3, 5));
    }

    void typingADigitRenumbersEveryRow() {
        DropTwo();
        QCOMPARE(AfterName(0), QStringLiteral("240305_01.jpg"));
        auto* box = Child<QLineEdit>(*window_, "TxtStartNo");
        box->setFocus();
        box->end(false);
        QTest::keyClick(box, Qt::Key_2);
        QCOMPARE(AfterName(0), QStringLiteral("240305_12.jpg"));
        QCOMPARE(AfterName(1), QStringLiteral("240305_13"));
        // An empty box is a passing state while typing: no name can be formed.
        box->clear();
        QCOMPARE(AfterName(0), QString());
    }

    void digitsPatternAndDateRebuildTheNames() {
        DropTwo();
        Child<QComboBox>(*window_, "CmbCol")->setCurrentText(QStringLiteral("4"));
        QCOMPARE(AfterName(0), QStringLiteral("240305_0001.jpg"));
        Child<QComboBox>(*window_, "CmbType")->setCurrentText(QStringLiteral("yyyymm"));
        QCOMPARE(AfterName(0), QStringLiteral("202403_0001.jpg"));
        Child<QCalendarWidget>(*window_, "MonthView1")->setSelectedDate(QDate(2025, 12, 31));
        QCOMPARE(AfterName(1), QStringLiteral("202512_0002"));
    }

    void pagingTheCalendarMovesTheSelection() {
        DropTwo();
        auto* calendar = Child<QCalendarWidget>(*window_, "MonthView1");
        calendar->setSelectedDate(QDate(2024, 1, 31));
        calendar->setCurrentPage(2024, 2);
        QCOMPARE(calendar->selectedDate(), QDate(2024, 2, 29));
        QCOMPARE(AfterName(0), QStringLiteral("240229_01.jpg"));
        // No date outside what a file stamp can hold.
        calendar->setSelectedDate(QDate(-4713, 1, 1));
        calendar->setSelectedDate(QDate(10000, 1, 1));
        QCOMPARE(calendar->minimumDate(), QDate(1601, 1, 1));
        QCOMPARE(calendar->maximumDate(), QDate(9999, 12, 31));
        QVERIFY(calendar->selectedDate().year() >= 1601 && calendar->selectedDate().year() <= 9999);
    }

    void checkBoxesDoNotRebuild() {
        DropTwo();
        window_->Targets().MutableRows()[0].AfterName = "marker";
        Child<OptionCheckBox>(*window_, "ChkTime")->click();
        Child<OptionCheckBox>(*window_, "ChkOpt")->click();
        QCOMPARE(window_->Targets().Rows()[0].AfterName, std::string("marker"));
    }

    void aClickTogglesACheckBoxBetweenOffAndOn() {
        auto* box = Child<OptionCheckBox>(*window_, "ChkOpt");
        QVERIFY(box->SetValue(2));
        box->click();
        QCOMPARE(box->Value(), 1);
        box->click();
        QCOMPARE(box->Value(), 0);
        QVERIFY(!box->SetValue(3));
        QCOMPARE(box->Value(), 0);
    }
};

QTEST_MAIN(OptionsTest)
#include "tst_options.moc"
