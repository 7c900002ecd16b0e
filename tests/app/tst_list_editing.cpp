// Editing the list: sorting by a header click, the right-click menu, removing rows.
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTreeView>

#include "support/WindowTest.h"

using namespace karvel;
using namespace karvel::testing;

class ListEditingTest : public WindowTest {
    Q_OBJECT
  private:
    QMenu* popup_ = nullptr;

    QStringList Column(int column) const {
        QStringList texts;
        for (int row = 0; row < list_->model()->rowCount(); ++row) {
            texts << list_->model()->index(row, column).data().toString();
        }
        return texts;
    }

    QPoint RowCenter(int row) const {
        return list_->visualRect(list_->model()->index(row, 0)).center();
    }

    void dropThree() {
        const auto& dir = fixture_->Dir();
        window_->TakeInPaths({dir.MakeFile("b.jpg"), dir.MakeFile("a.jpg"), dir.MakeFile("c.jpg")});
    }

    void ClickHeader(int section) {
        QHeaderView* header = list_->header();
        const int x = header->sectionViewportPosition(section) + header->sectionSize(section) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }

  private slots:
    void init() {
        WindowTest::init();
        popup_ = Child<QMenu>(*window_, "MenuPOPUP");
        Child<QLineEdit>(*window_, "TxtStartNo")->setText(QStringLiteral("1"));
        Child<QComboBox>(*window_, "CmbCol")->setCurrentText(QStringLiteral("3"));
    }

    void cleanup() {
        popup_->hide();
        WindowTest::cleanup();
    }

    void headerClicksFollowTheOrderRules() {
        dropThree();
        ClickHeader(0);  // just dropped: ascending by name, so this turns descending
        QCOMPARE(Column(0), (QStringList{"c.jpg", "b.jpg", "a.jpg"}));
        QVERIFY(Column(1)[0].endsWith(QStringLiteral("_003.jpg")));
        ClickHeader(0);
        QCOMPARE(Column(0), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
        ClickHeader(1);
        QCOMPARE(window_->Targets().SortKey(), SortColumn::AfterName);
        QCOMPARE(window_->Targets().GetSortOrder(), SortOrder::Ascending);
    }

    void sortingKeepsTheSelectedRows() {
        dropThree();
        list_->selectionModel()->select(list_->model()->index(0, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        ClickHeader(0);
        const auto selected = list_->selectionModel()->selectedRows();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected[0].data().toString(), QStringLiteral("a.jpg"));
    }

    void removingTheSecondRowLeavesTheOthersNumbers() {
        dropThree();
        QTest::mouseClick(list_->viewport(), Qt::RightButton, {}, RowCenter(1));
        QTRY_VERIFY(popup_->isVisible());
        popup_->hide();
        Child<QAction>(*window_, "MenuDEL")->trigger();
        QCOMPARE(Column(0), (QStringList{"a.jpg", "c.jpg"}));
        QVERIFY(Column(1)[0].endsWith(QStringLiteral("_001.jpg")));
        QVERIFY(Column(1)[1].endsWith(QStringLiteral("_003.jpg")));
        QCOMPARE(Child<QLabel>(*window_, "StsBarCnt")->text(), QStringLiteral("2"));
    }

    void removingWithNothingSelectedRemovesNothing() {
        dropThree();
        list_->clearSelection();
        window_->MenuDEL_Click();
        QCOMPARE(list_->model()->rowCount(), 3);
        QCOMPARE(Child<QLabel>(*window_, "StsBarCnt")->text(), QStringLiteral("3"));
    }

    void removingEveryRowEmptiesTheList() {
        dropThree();
        list_->selectAll();
        window_->MenuDEL_Click();
        QCOMPARE(list_->model()->rowCount(), 0);
        QCOMPARE(Child<QLabel>(*window_, "LblDirName")->text(), QString());
        QCOMPARE(Child<QLabel>(*window_, "StsBarCnt")->text(), QString());
        QCOMPARE(Child<QLabel>(*window_, "StsBarText")->text(),
                 QStringLiteral("対象ﾌｧｲﾙをﾄﾞﾛｯﾌﾟして下さい"));
    }

    void deleteKeyRemovesTheSelectedRowsAsTheMenuItemDoes() {
        dropThree();
        list_->setFocus();
        list_->selectionModel()->select(
            list_->model()->index(0, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        list_->selectionModel()->select(list_->model()->index(2, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QTest::keyClick(list_, Qt::Key_Delete);
        QCOMPARE(Column(0), (QStringList{"b.jpg"}));
        QVERIFY(Column(1)[0].endsWith(QStringLiteral("_002.jpg")));
        QCOMPARE(Child<QLabel>(*window_, "StsBarCnt")->text(), QStringLiteral("1"));

        list_->selectAll();
        QTest::keyClick(list_, Qt::Key_Delete);
        QCOMPARE(list_->model()->rowCount(), 0);
        QCOMPARE(Child<QLabel>(*window_, "StsBarCnt")->text(), QString());
    }

    void menuKeysOpenTheMenuAtTheCurrentRow() {
        dropThree();
        list_->setFocus();
        list_->setCurrentIndex(list_->model()->index(1, 0));
        const QRect row = list_->visualRect(list_->model()->index(1, 0));
        for (const auto& [key, modifiers] :
             {std::pair{Qt::Key_Menu, Qt::NoModifier}, std::pair{Qt::Key_F10, Qt::ShiftModifier}}) {
            QTest::keyClick(list_, key, modifiers);
            QTRY_VERIFY(popup_->isVisible());
            const QPoint rowOnScreen = list_->viewport()->mapToGlobal(row.topLeft());
            QVERIFY(popup_->y() >= rowOnScreen.y() &&
                    popup_->y() <= rowOnScreen.y() + row.height());
            popup_->hide();
        }
        Child<QAction>(*window_, "MenuDEL")->trigger();
        QCOMPARE(Column(0), (QStringList{"a.jpg", "c.jpg"}));
    }

    void menuOpensOnlyForTheRightButtonOverRows() {
        QTest::mouseClick(list_->viewport(), Qt::RightButton, {}, QPoint(20, 20));
        QVERIFY(!popup_->isVisible());
        dropThree();
        QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, RowCenter(0));
        QTest::mouseClick(list_->viewport(), Qt::MiddleButton, {}, RowCenter(0));
        QVERIFY(!popup_->isVisible());
        QTest::mouseClick(list_->viewport(), Qt::RightButton, {}, RowCenter(2));
        QTRY_VERIFY(popup_->isVisible());
        const auto selected = list_->selectionModel()->selectedRows();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected[0].row(), 2);
    }
};

QTEST_MAIN(ListEditingTest)
#include "tst_list_editing.moc"
