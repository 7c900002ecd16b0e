// The After Name cell of a row the run would stop at: its colour, its sign and its tooltip.
#include <QApplication>
#include <QBrush>
#include <QComboBox>
#include <QHelpEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QToolTip>
#include <QTreeView>

#include <filesystem>

#include "app/MessageBox.h"
#include "support/WindowTest.h"

using namespace karvel;
using namespace karvel::testing;

class ConflictMarksTest : public WindowTest {
    Q_OBJECT
  private:
    QVariant Cell(int row, int column, int role) const {
        return list_->model()->index(row, column).data(role);
    }
    // A name cell's tooltip is its whole name; a marked one says why under it.
    QString TipOf(int row, int column, const char* reason = nullptr) const {
        const QString name = Cell(row, column, Qt::DisplayRole).toString();
        return reason == nullptr ? name : name + QLatin1Char('\n') + QString::fromUtf8(reason);
    }

  private slots:
    void aTakenNameWarnsInItsCellOnly() {
        const auto& dir = fixture_->Dir();
        const std::vector<std::string> paths{dir.MakeFile("a.jpg"), dir.MakeFile("b.jpg")};
        window_->TakeInPaths(paths);
        QVERIFY(!Cell(0, 1, Qt::ForegroundRole).isValid());
        dir.MakeFile(Cell(0, 1, Qt::DisplayRole).toString().toStdString());
        window_->TakeInPaths(paths);

        QCOMPARE(Cell(0, 1, Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::darkRed));
        QVERIFY(!Cell(0, 1, Qt::DecorationRole).value<QIcon>().isNull());
        QCOMPARE(Cell(0, 1, Qt::ToolTipRole).toString(),
                 TipOf(0, 1, "同じ名前のファイルが既に存在します"));
        for (const auto& [row, column] : {std::pair{0, 0}, {0, 2}, {1, 1}}) {
            QVERIFY(!Cell(row, column, Qt::ForegroundRole).isValid());
            QVERIFY(!Cell(row, column, Qt::DecorationRole).isValid());
            if (column == 2) {
                QVERIFY(!Cell(row, column, Qt::ToolTipRole).isValid());
            } else {
                QCOMPARE(Cell(row, column, Qt::ToolTipRole).toString(), TipOf(row, column));
            }
        }

        // Numbered past the taken name, the row is clean again and the view is told.
        QSignalSpy changed(list_->model(), &QAbstractItemModel::dataChanged);
        Child<QLineEdit>(*window_, "TxtStartNo")->setText(QStringLiteral("5"));
        QVERIFY(!Cell(0, 1, Qt::ForegroundRole).isValid());
        QVERIFY(!Cell(0, 1, Qt::DecorationRole).isValid());
        QCOMPARE(Cell(0, 1, Qt::ToolTipRole).toString(), TipOf(0, 1));
        QVERIFY(!changed.isEmpty());
        for (const int role : {Qt::ForegroundRole, Qt::DecorationRole, Qt::ToolTipRole})
            QVERIFY(changed.last().at(2).value<QList<int>>().contains(role));
    }

    // A name the narrow first-start columns cut is whole in its cell's tooltip, as shown.
    void aCutNameIsWholeInItsTooltip() {
        Child<QComboBox>(*window_, "CmbType")->setCurrentText(QStringLiteral("yyyymmdd"));
        Child<QComboBox>(*window_, "CmbCol")->setCurrentText(QStringLiteral("5"));
        const std::string before = "DSC_20261208_夕焼けの海岸と灯台.jpg";
        window_->TakeInPaths({fixture_->Dir().MakeFile(before)});
        const QString after = Cell(0, 1, Qt::DisplayRole).toString();
        QVERIFY(after.endsWith(QStringLiteral("_00001.jpg")));
        for (const auto& [column, name] :
             {std::pair{0, QString::fromStdString(before)}, std::pair{1, after}}) {
            const QModelIndex cell = list_->model()->index(0, column);
            const QRect rect = list_->visualRect(cell);
            QVERIFY2(list_->fontMetrics().horizontalAdvance(name) > rect.width(),
                     qPrintable(name));  // cut on screen
            QHelpEvent help(QEvent::ToolTip, rect.center(),
                            list_->viewport()->mapToGlobal(rect.center()));
            QApplication::sendEvent(list_->viewport(), &help);
            QTRY_COMPARE(QToolTip::text(), name);
            QToolTip::hideText();
        }
    }

    // Renumbering a folder already named so: every row waits for the one below, none is marked.
    void renumberingMarksNoRow() {
        const auto& dir = fixture_->Dir();
        window_->TakeInPaths({dir.MakeFile("probe.jpg")});
        const std::string first =
            Cell(0, 1, Qt::DisplayRole).toString().toStdString();  // "<date>_01.jpg"
        const std::string prefix = first.substr(0, first.find('_') + 1);
        std::filesystem::remove(dir.path() + "probe.jpg");
        window_->TakeInPaths({dir.MakeFile("0new.jpg"), dir.MakeFile(prefix + "01.jpg"),
                              dir.MakeFile(prefix + "02.jpg")});
        for (int row = 0; row < 3; ++row) {
            QVERIFY(!Cell(row, 1, Qt::DecorationRole).isValid());
            QCOMPARE(Cell(row, 1, Qt::ToolTipRole).toString(), TipOf(row, 1));
        }
    }

    // A row known to stop the run is named before the question; No changes nothing.
    void aKnownStopIsToldFirst() {
        const auto& dir = fixture_->Dir();
        const std::vector<std::string> paths{dir.MakeFile("a.jpg"), dir.MakeFile("b.jpg"),
                                             dir.MakeFile("c.jpg")};
        window_->TakeInPaths(paths);
        const QString taken = Cell(1, 1, Qt::DisplayRole).toString();
        dir.MakeFile(taken.toStdString(), "unlisted");
        window_->TakeInPaths(paths);
        MessageBox::SetNextAnswer(MessageAnswer::No);
        window_->BtnStart_Click();
        QCOMPARE(MessageBox::Count(), 1);
        QCOMPARE(MessageBox::Last()->icon, MessageIcon::WarningQuestion);
        QCOMPARE(MessageBox::Last()->text,
                 QStringLiteral(
                     "2 行目で処理が中断します  同じ名前のファイルが既に存在します\r( b.jpg > ") +
                     taken +
                     QStringLiteral(" )\r\n中断までに変換されるのは 1 File です  開始しますか？"));
        for (const std::string& path : paths) QVERIFY(std::filesystem::exists(path));
        QCOMPARE(Child<QLabel>(*window_, "StsBarText")->text(),
                 QStringLiteral("Startボタンを押下してください"));
    }
};

QTEST_MAIN(ConflictMarksTest)
#include "tst_conflict_marks.moc"
