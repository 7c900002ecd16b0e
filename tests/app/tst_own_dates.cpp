// The files' own dates in the window: the source list is kept like the other options, the
// calendar rests while it is not used, and the start waits until every date is read.
#include <QCalendarWidget>
#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeView>

#include <filesystem>

#include "app/OptionCheckBox.h"
#include "support/WindowTest.h"

using namespace karvel;
using namespace karvel::testing;

class OwnDatesTest : public WindowTest {
    Q_OBJECT
  private:
    QString Cell(int row, int column, int role = Qt::DisplayRole) const {
        return list_->model()->index(row, column).data(role).toString();
    }
    QComboBox* Source() const { return Child<QComboBox>(*window_, "CmbDateFrom"); }
    // The window widens for the origin column: all four columns stand side by side.
    bool FourColumnsFit() const { return list_->header()->length() <= list_->viewport()->width(); }

  private slots:
    void theSourceListIsAnOptionLikeTheOthers() {
        QCOMPARE(Source()->count(), 3);
        QCOMPARE(Source()->itemText(1), QStringLiteral("撮影日時"));
        QCOMPARE(Source()->currentIndex(), 0);  // the calendar, at first start
        auto* calendar = Child<QCalendarWidget>(*window_, "MonthView1");
        QVERIFY(calendar->isEnabled());
        QVERIFY(list_->isColumnHidden(3));

        QVERIFY(list_->header()->length() + 100 > list_->viewport()->width());
        Source()->setCurrentIndex(1);
        QTRY_VERIFY(FourColumnsFit());
        Source()->setCurrentIndex(2);
        QVERIFY(!calendar->isEnabled());
        QVERIFY(!list_->isColumnHidden(3));
        Child<OptionCheckBox>(*window_, "ChkOpt")->SetValue(1);
        window_->close();
        QCOMPARE(fixture_->ReadIni("Option", "DateFrom"), std::string("2"));
        Reopen();
        QCOMPARE(Source()->currentIndex(), 2);
        QTRY_VERIFY(FourColumnsFit());
        QVERIFY(!Child<QCalendarWidget>(*window_, "MonthView1")->isEnabled());

        // Without carrying the options over, the calendar comes back.
        Child<OptionCheckBox>(*window_, "ChkOpt")->SetValue(0);
        window_->close();
        Reopen();
        QCOMPARE(Source()->currentIndex(), 0);
    }

    void startWaitsUntilEveryDateIsRead() {
        const std::string folder = fixture_->Dir().path();
        std::filesystem::copy_file(std::string(KARVEL_CAPTURE_SAMPLES) + "sample.jpg",
                                   folder + "photo.jpg");
        const std::string notes = fixture_->Dir().MakeFile("notes.txt");
        Source()->setCurrentIndex(1);
        auto* start = Child<QPushButton>(*window_, "BtnStart");
        window_->TakeInPaths({folder + "photo.jpg", notes});
        // The list is there at once; the names wait for the dates.
        QCOMPARE(list_->model()->rowCount(), 2);
        QVERIFY(window_->ReadingDates());
        QVERIFY(!start->isEnabled());
        QCOMPARE(Cell(1, 3), QStringLiteral("読込中"));

        QTRY_VERIFY(!window_->ReadingDates());
        QVERIFY(start->isEnabled());
        QCOMPARE(Cell(1, 1), QStringLiteral("240305_01.jpg"));
        QCOMPARE(Cell(1, 3), QStringLiteral("撮影日時"));
        QCOMPARE(Cell(0, 3), QStringLiteral("更新日時 (撮影日時なし)"));
        QVERIFY2(Cell(0, 3, Qt::ToolTipRole).contains(QStringLiteral("形式ではありません")),
                 qPrintable(Cell(0, 3, Qt::ToolTipRole)));

        // An option change names the rows again without reading any file.
        Source()->setCurrentIndex(0);
        QVERIFY(!window_->ReadingDates());
        Source()->setCurrentIndex(1);
        QVERIFY(!window_->ReadingDates());
        QCOMPARE(Cell(1, 1), QStringLiteral("240305_01.jpg"));
    }
};

QTEST_MAIN(OwnDatesTest)
#include "tst_own_dates.moc"
