// Layout: the resize rule, the docked panels, the status bar and the menus.
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableView>
#include <QTreeView>

#include "app/Twips.h"
#include "support/WindowTest.h"

using namespace karvel;
using namespace karvel::testing;

class LayoutTest : public QObject {
    Q_OBJECT
  private slots:
    void firstStartSizeGivesTheFirstStartList() {
        WindowFixture fixture;
        auto window = fixture.Open();
        const Twips twips(96);
        const QWidget* list = Child<QTreeView>(*window, "ListVi");
        // 7470 - (255 + 3435 + 400) = 3380 twips high, the full 5085 wide.
        QCOMPARE(list->width(), twips.ToPixels(5085));
        QCOMPARE(list->height(), twips.ToPixels(3380));
        QCOMPARE(list->pos(), QPoint(0, twips.ToPixels(360)));
        QCOMPARE(Child<QLabel>(*window, "LblDirName")->width(), twips.ToPixels(5085));
    }

    void panelsFollowTheBottomAndTheListItsRule() {
        WindowFixture fixture;
        auto window = fixture.Open();
        window->show();
        QWidget* client = window->centralWidget();
        auto* list = Child<QTreeView>(*window, "ListVi");
        auto* picture = Child<QWidget>(*window, "Picture1");
        auto* status = Child<QStatusBar>(*window, "StsBar");

        window->resize(600, window->height() + 100);
        QTRY_COMPARE(client->width(), 600);
        QCOMPARE(list->width(), 600);
        QCOMPARE(Child<QLabel>(*window, "LblDirName")->width(), 600);
        QCOMPARE(picture->width(), 600);
        QCOMPARE(status->geometry().bottom(), client->height() - 1);
        QCOMPARE(picture->geometry().bottom() + 1, status->y());
        QCOMPARE(list->height(), client->height() - (status->height() + picture->height() + 27));

        // Too short for the rule: the list keeps its last valid height.
        const int lastHeight = list->height();
        window->resize(600, 150);
        QTRY_COMPARE(client->width(), 600);
        QTRY_VERIFY(client->height() < 250);
        QCOMPARE(list->height(), lastHeight);
        QCOMPARE(status->geometry().bottom(), client->height() - 1);

        // Tall enough again: the rule resumes.
        window->resize(600, 700);
        QTRY_VERIFY(client->height() > 600);
        QCOMPARE(list->height(), client->height() - (status->height() + picture->height() + 27));
    }

    // Four panels in order; the row for files a drop left out is hidden until one does.
    void statusBarHasFourPanelsInOrder() {
        const QDate before = QDate::currentDate();  // the panel may show either side of midnight
        WindowFixture fixture;
        auto window = fixture.Open();
        auto* status = Child<QStatusBar>(*window, "StsBar");
        const auto panels = status->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
        QCOMPARE(panels.size(), 4);
        QStringList names;
        for (const QLabel* panel : panels) names << panel->objectName();
        QCOMPARE(names, (QStringList{"StsBarDate", "StsBarTime", "StsBarCnt", "StsBarText"}));
        QVERIFY(Child<QLabel>(*window, "StsBarLeftOut")->isHidden());
        const QString date = panels[0]->text();
        const auto shown = [](const QDate& day) {
            return day.toString(QStringLiteral("yyyy/MM/dd"));
        };
        QVERIFY2(date == shown(before) || date == shown(QDate::currentDate()), qPrintable(date));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d$"))
                    .match(panels[1]->text())
                    .hasMatch());
    }

    // At the first-start size: the status texts, every calendar column and a
    // five-digit start number are shown whole.
    void textsFitAtTheFirstStartSize() {
        WindowFixture fixture;
        auto window = fixture.Open();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));

        auto* status = Child<QStatusBar>(*window, "StsBar");
        auto* text = Child<QLabel>(*window, "StsBarText");
        QCOMPARE(text->geometry().right(), status->contentsRect().right());
        // A framed label sets its text in by half an "x".
        const int room = text->contentsRect().width() - 2 * text->margin() -
                         text->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
        for (const QString& message : {QStringLiteral("対象ﾌｧｲﾙをﾄﾞﾛｯﾌﾟして下さい"),
                                       QStringLiteral("Startボタンを押下してください"),
                                       QStringLiteral("ﾌｧｲﾙ情報取得中 ・・・")}) {
            QVERIFY2(text->fontMetrics().horizontalAdvance(message) <= room, qPrintable(message));
        }

        auto* calendar = Child<QCalendarWidget>(*window, "MonthView1");
        auto* days = calendar->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
        QVERIFY(days != nullptr);
        const int thirty = days->fontMetrics().horizontalAdvance(QStringLiteral("30"));
        for (int column = 0; column < 7; ++column) {
            QVERIFY(days->columnWidth(column) >= thirty + 4);
            QVERIFY(days->columnViewportPosition(column) + days->columnWidth(column) <=
                    days->viewport()->width());
        }

        // Unscrolled, the cursor after the last digit lies one text width from the first.
        auto* startNo = Child<QLineEdit>(*window, "TxtStartNo");
        startNo->setText(QStringLiteral("99999"));
        startNo->home(false);
        const int first = startNo->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
        startNo->end(false);
        QCOMPARE(startNo->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x() - first,
                 startNo->fontMetrics().horizontalAdvance(QStringLiteral("99999")));
    }

    // Each item with its shortcut, if any, after a tab.
    void menusHoldTheirItemsInOrder() {
        WindowFixture fixture;
        auto window = fixture.Open();
        const auto menus = window->menuBar()->actions();
        QCOMPARE(menus.size(), 2);
        QCOMPARE(menus[0]->text(), QStringLiteral("ﾌｧｲﾙ(&F)"));
        QCOMPARE(menus[1]->text(), QStringLiteral("ヘルプ(&H)"));
        const auto items = [](const QMenu* menu) {
            QStringList texts;
            for (const QAction* action : menu->actions()) {
                QString text = action->isSeparator() ? QStringLiteral("-") : action->text();
                if (!action->shortcut().isEmpty())
                    text += QLatin1Char('\t') + action->shortcut().toString();
                texts << text;
            }
            return texts;
        };
        QCOMPARE(items(menus[0]->menu()),
                 (QStringList{"ファイルを開く(&O)...\tCtrl+O", "-", "開始(&S)", "元に戻す(&U)", "-",
                              "常に最前面表示(&F)", "-", "終了(&C)"}));
        QCOMPARE(items(menus[1]->menu()),
                 (QStringList{"Karvel のヘルプ(&H)\tF1", "バージョン情報(&A)..."}));

        auto* popup = Child<QMenu>(*window, "MenuPOPUP");
        QCOMPARE(popup->title(), QStringLiteral("ポップアップ"));
        QCOMPARE(popup->actions().size(), 1);
        QCOMPARE(popup->actions()[0]->text(), QStringLiteral("対象から外す"));
        QVERIFY(!window->menuBar()->actions().contains(popup->menuAction()));
    }
};

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
