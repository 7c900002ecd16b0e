// Start-up: defaults on the first start, stored settings on later ones.
#include <QCalendarWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>

#include "app/OptionCheckBox.h"
#include "support/WindowTest.h"

using namespace karvel;
using namespace karvel::testing;

namespace {

// Stored twips pass through whole pixels: equal to within half a pixel.
bool Near(std::optional<double> actual, double expected) {
    return actual && std::abs(*actual - expected) <= 8;
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
  private slots:
    void firstStartUsesEveryDefault() {
        const QDate before = QDate::currentDate();  // the start may fall either side of midnight
        WindowFixture fixture;
        auto window = fixture.Open();

        QCOMPARE(window->windowTitle(), QStringLiteral("Karvel   Ver. " KARVEL_VERSION));
        QVERIFY(window->windowTitle().startsWith(QStringLiteral("Karvel   Ver. 0.")));
        const auto columns = window->Settings().placement.columnWidths;
        QVERIFY(Near(columns[0], 1600));
        QVERIFY(Near(columns[1], 1600));
        QVERIFY(Near(columns[2], 1500));
        QCOMPARE(Child<QLineEdit>(*window, "TxtStartNo")->text(), QStringLiteral("1"));
        QCOMPARE(Child<QComboBox>(*window, "CmbCol")->currentText(), QStringLiteral("2"));
        QCOMPARE(Child<QComboBox>(*window, "CmbType")->currentText(), QStringLiteral("yymmdd"));
        QCOMPARE(Child<OptionCheckBox>(*window, "ChkTime")->Value(), 1);
        QCOMPARE(Child<OptionCheckBox>(*window, "ChkOpt")->Value(), 0);
        const QDate selected = Child<QCalendarWidget>(*window, "MonthView1")->selectedDate();
        QVERIFY2(selected == before || selected == QDate::currentDate(),
                 qPrintable(selected.toString(Qt::ISODate)));
        QCOMPARE(Child<QTreeView>(*window, "ListVi")->model()->rowCount(), 0);
        QCOMPARE(Child<QLabel>(*window, "LblDirName")->text(), QString());
        QCOMPARE(Child<QLabel>(*window, "StsBarText")->text(),
                 QStringLiteral("対象ﾌｧｲﾙをﾄﾞﾛｯﾌﾟして下さい"));
        QCOMPARE(Child<QLabel>(*window, "StsBarCnt")->text(), QString());

        // The first-start client size (5085 x 7470 twips), centred on the screen.
        const QWidget* client = window->centralWidget();
        QCOMPARE(client->width(), 339);
        QCOMPARE(client->height(), 498);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(std::abs(window->frameGeometry().center().x() - screen.center().x()) <= 1);
        QVERIFY2(!fixture.IniExists(), "starting writes nothing");
    }

    void storedPlacementAndOptionsAreApplied() {
        WindowFixture fixture;
        fixture.WriteIni(
            "[Settings]\nMainLeft=1500\nMainTop=1200\nMainWidth=6000\nMainHeight=9000\n"
            "[LVSettings]\nColWidth1=2010\nColWidth2=990\nColWidth3=0\n"
            "[Option]\nStartNo=007\nColummn=4\nType=yyyymm\nTimeUpd=0\nNextOption=1\n");
        auto window = fixture.Open();

        const StoredPlacement placement = window->Settings().placement;
        QCOMPARE(placement.left.value_or(-1), 1500.0);
        QCOMPARE(placement.top.value_or(-1), 1200.0);
        QCOMPARE(placement.width.value_or(-1), 6000.0);
        QCOMPARE(placement.height.value_or(-1), 9000.0);
        QCOMPARE(placement.columnWidths[0].value_or(-1), 2010.0);
        QCOMPARE(placement.columnWidths[1].value_or(-1), 990.0);
        QCOMPARE(placement.columnWidths[2].value_or(-1), 0.0);
        QCOMPARE(Child<QLineEdit>(*window, "TxtStartNo")->text(), QStringLiteral("7"));
        QCOMPARE(Child<QComboBox>(*window, "CmbCol")->currentText(), QStringLiteral("4"));
        QCOMPARE(Child<QComboBox>(*window, "CmbType")->currentText(), QStringLiteral("yyyymm"));
        QCOMPARE(Child<OptionCheckBox>(*window, "ChkTime")->Value(), 0);
        QCOMPARE(Child<OptionCheckBox>(*window, "ChkOpt")->Value(), 1);
    }

    void greyedCarryOverStillAppliesTheOptions() {
        WindowFixture fixture;
        fixture.WriteIni("[Option]\nStartNo=12\nColummn=3\nType=mmdd\nTimeUpd=2\nNextOption=2\n");
        auto window = fixture.Open();
        QCOMPARE(Child<OptionCheckBox>(*window, "ChkOpt")->checkState(), Qt::PartiallyChecked);
        QCOMPARE(Child<QLineEdit>(*window, "TxtStartNo")->text(), QStringLiteral("12"));
        QCOMPARE(Child<QComboBox>(*window, "CmbType")->currentText(), QStringLiteral("mmdd"));
        QCOMPARE(Child<OptionCheckBox>(*window, "ChkTime")->Value(), 2);
    }

    void refusedStoredValuesLeaveTheControlsAsTheyWere() {
        WindowFixture fixture;
        fixture.WriteIni(
            "[LVSettings]\nColWidth1=abc\n"
            "[Option]\nStartNo=abc\nColummn=9\nType=ddmmyy\nTimeUpd=5\nNextOption=1\n");
        auto window = fixture.Open();
        QVERIFY2(Near(window->Settings().placement.columnWidths[0], 4000), "the first-start width");
        QCOMPARE(Child<QLineEdit>(*window, "TxtStartNo")->text(), QStringLiteral("Text1"));
        QCOMPARE(Child<QComboBox>(*window, "CmbCol")->currentIndex(), -1);
        QCOMPARE(Child<QComboBox>(*window, "CmbCol")->currentText(), QString());
        QCOMPARE(Child<QComboBox>(*window, "CmbType")->currentText(), QString());
        QCOMPARE(Child<OptionCheckBox>(*window, "ChkTime")->Value(), 0);
    }

    void carryOverOffIgnoresStoredOptions() {
        WindowFixture fixture;
        fixture.WriteIni("[Option]\nStartNo=50\nColummn=5\nType=yymm\nTimeUpd=0\nNextOption=0\n");
        auto window = fixture.Open();
        QCOMPARE(Child<QLineEdit>(*window, "TxtStartNo")->text(), QStringLiteral("1"));
        QCOMPARE(Child<QComboBox>(*window, "CmbCol")->currentText(), QStringLiteral("2"));
        QCOMPARE(Child<QComboBox>(*window, "CmbType")->currentText(), QStringLiteral("yymmdd"));
        QCOMPARE(Child<OptionCheckBox>(*window, "ChkTime")->Value(), 1);
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
