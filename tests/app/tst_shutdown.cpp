// Closing: "End" and the close box save the settings, the exit menu item does not.
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>

#include "support/WindowTest.h"

using namespace karvel;
using namespace karvel::testing;

class ShutdownTest : public QObject {
    Q_OBJECT
  private slots:
    void endButtonWritesAllTwelveKeys() {
        WindowFixture fixture;
        auto window = fixture.Open();
        window->show();
        Child<QLineEdit>(*window, "TxtStartNo")->setText(QStringLiteral("5"));
        Child<QComboBox>(*window, "CmbType")->setCurrentText(QStringLiteral("mmdd"));
        QTest::mouseClick(Child<QPushButton>(*window, "BtnEnd"), Qt::LeftButton);
        QVERIFY(!window->isVisible());

        for (const char* key : {"MainLeft", "MainTop", "MainWidth", "MainHeight"}) {
            QVERIFY2(fixture.ReadIni("Settings", key) != "<missing>", key);
        }
        for (const char* key : {"ColWidth1", "ColWidth2", "ColWidth3"}) {
            QVERIFY2(fixture.ReadIni("LVSettings", key) != "<missing>", key);
        }
        QCOMPARE(fixture.ReadIni("Option", "StartNo"), std::string("5"));
        QCOMPARE(fixture.ReadIni("Option", "Colummn"), std::string("2"));
        QCOMPARE(fixture.ReadIni("Option", "Type"), std::string("mmdd"));
        QCOMPARE(fixture.ReadIni("Option", "TimeUpd"), std::string("1"));
        QCOMPARE(fixture.ReadIni("Option", "NextOption"), std::string("0"));
        QCOMPARE(fixture.ReadIni("Settings", "MainWidth"),
                 std::to_string(static_cast<int>(window->Settings().placement.width.value_or(-1))));
    }

    void placementStaysTheSameOverRestarts() {
        for (const char* stored :
             {"", "[Settings]\nMainLeft=1500\nMainTop=1200\nMainWidth=6000\nMainHeight=9000\n"}) {
            WindowFixture fixture;
            if (*stored != '\0') fixture.WriteIni(stored);
            std::vector<std::string> first;
            for (int start = 1; start <= 4; ++start) {
                auto window = fixture.Open();
                window->show();
                QVERIFY(QTest::qWaitForWindowExposed(window.get()));
                QVERIFY2(window->frameGeometry().size() != window->geometry().size(),
                         "a framed window");
                window->close();
                std::vector<std::string> placement;
                for (const char* key : {"MainLeft", "MainTop", "MainWidth", "MainHeight"}) {
                    placement.push_back(fixture.ReadIni("Settings", key));
                }
                if (start == 1) first = placement;
                QCOMPARE(placement, first);
            }
            if (*stored != '\0') {
                QCOMPARE(first, (std::vector<std::string>{"1500", "1200", "6000", "9000"}));
            }
        }
    }

    void closeBoxSavesToo() {
        WindowFixture fixture;
        auto window = fixture.Open();
        window->show();
        window->close();
        QCOMPARE(fixture.ReadIni("Option", "StartNo"), std::string("1"));
    }

    void exitMenuItemSavesNothing() {
        WindowFixture fixture;
        auto window = fixture.Open();
        window->show();
        Child<QLineEdit>(*window, "TxtStartNo")->setText(QStringLiteral("5"));
        Child<QAction>(*window, "MenuEnd")->trigger();
        QVERIFY(!window->isVisible());
        QVERIFY(!fixture.IniExists());
    }

    void closingMinimisedOrMaximisedKeepsTheStoredPlacement() {
        for (const auto show : {&QWidget::showMinimized, &QWidget::showMaximized}) {
            WindowFixture fixture;
            fixture.WriteIni(
                "[Settings]\nMainLeft=1500\nMainTop=1200\nMainWidth=6000\nMainHeight=9000\n"
                "[LVSettings]\nColWidth1=2010\nColWidth2=990\nColWidth3=1500\n");
            auto window = fixture.Open();
            (window.get()->*show)();
            QTRY_VERIFY(window->isMinimized() || window->isMaximized());
            // A width changed meanwhile is not the user's placement either.
            Child<QTreeView>(*window, "ListVi")->header()->resizeSection(0, 50);
            Child<QLineEdit>(*window, "TxtStartNo")->setText(QStringLiteral("33"));
            window->close();
            QCOMPARE(fixture.ReadIni("Settings", "MainLeft"), std::string("1500"));
            QCOMPARE(fixture.ReadIni("Settings", "MainWidth"), std::string("6000"));
            QCOMPARE(fixture.ReadIni("LVSettings", "ColWidth1"), std::string("2010"));
            QCOMPARE(fixture.ReadIni("Option", "StartNo"), std::string("33"));
        }
    }
};

QTEST_MAIN(ShutdownTest)
#include "tst_shutdown.moc"
