// The list view's model over the core's rows, checked by Qt's model tester.
#include <QAbstractItemModelTester>
#include <QtTest>

#include "app/TargetTableModel.h"

using namespace karvel;

class TargetModelTest : public QObject {
    Q_OBJECT
  private slots:
    void bulkChangesKeepTheModelConsistent() {
        TargetList list;
        TargetTableModel model(list);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);

        std::vector<TargetRow> rows(100'000);
        for (std::size_t i = 0; i < rows.size(); ++i) rows[i].BeforeName = "f" + std::to_string(i);
        model.ResetAround([&] { list.AssignRows(std::move(rows)); });
        QCOMPARE(resets.size(), 1);
        QCOMPARE(model.rowCount(), 100'000);
        QCOMPARE(model.index(99'999, 0).data().toString(), QStringLiteral("f99999"));

        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        list.MutableRows()[5].AfterName = "new";
        model.NamesChanged();
        QCOMPARE(changed.size(), 1);
        QCOMPARE(model.index(5, 1).data().toString(), QStringLiteral("new"));

        model.ResetAround([&] { list.AllClear(); });
        QCOMPARE(model.rowCount(), 0);
        model.NamesChanged();  // nothing to announce on an empty list
        QCOMPARE(changed.size(), 1);
    }

    void headersAndDisplayText() {
        TargetList list;
        list.AssignRows({{"\xe6\x97\xa5.txt", "x_01.txt", "24/03/05 14:07", false}});
        TargetTableModel model(list);
        QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Before Name"));
        QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("After Name"));
        QCOMPARE(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("更新日時"));
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("日.txt"));
        QCOMPARE(model.index(0, 2).data().toString(), QStringLiteral("24/03/05 14:07"));
    }
};

QTEST_MAIN(TargetModelTest)
#include "tst_target_model.moc"
