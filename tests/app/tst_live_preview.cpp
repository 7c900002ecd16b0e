// Conflict marks that follow the list's folder between drops: a name taken or freed
// after the drop, bursts of changes, and the watch pausing for a run.
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "app/FolderWatch.h"
#include "app/MessageBox.h"
#include "support/RunDoubles.h"
#include "support/WindowTest.h"

using namespace karvel;
using namespace karvel::testing;

class LivePreviewTest : public WindowTest {
    Q_OBJECT
  private:
    FolderWatch* watch_ = nullptr;

    QModelIndex AfterCell(int row) const { return list_->model()->index(row, 1); }
    bool Marked(int row) const { return AfterCell(row).data(Qt::ForegroundRole).isValid(); }
    std::string AfterName(int row) const {
        return AfterCell(row).data(Qt::DisplayRole).toString().toStdString();
    }

  private slots:
    void init() {
        WindowTest::init();
        watch_ = Child<FolderWatch>(*window_, "FolderWatch");
    }

    void aNameTakenAfterTheDropIsMarkedUntilItIsFreed() {
        const auto& dir = fixture_->Dir();
        window_->TakeInPaths({dir.MakeFile("a.jpg"), dir.MakeFile("b.jpg")});
        list_->selectionModel()->select(AfterCell(1),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        // Options renumber without reading the folder, and a quiet folder costs nothing.
        Child<QLineEdit>(*window_, "TxtStartNo")->setText(QStringLiteral("7"));
        QVERIFY(!Marked(0));
        QVERIFY(!watch_->Pending());
        QCOMPARE(window_->FolderReReads(), 0u);

        const std::string taken = dir.MakeFile(AfterName(0));
        QTRY_VERIFY_WITH_TIMEOUT(Marked(0), 1000);
        QCOMPARE(AfterCell(0).data(Qt::ToolTipRole).toString(),
                 QString::fromStdString(AfterName(0)) +
                     QStringLiteral("\n同じ名前のファイルが既に存在します"));
        QVERIFY(!Marked(1));
        QVERIFY(list_->selectionModel()->isRowSelected(1));
        QVERIFY(!list_->selectionModel()->isRowSelected(0));

        std::filesystem::remove(taken);
        QTRY_VERIFY_WITH_TIMEOUT(!Marked(0), 1000);
        QTRY_VERIFY(!watch_->Pending());
        QVERIFY(list_->selectionModel()->isRowSelected(1));
    }

    void aBurstOfChangesIsReadAFewTimes() {
        const auto& dir = fixture_->Dir();
        window_->TakeInPaths({dir.MakeFile("a.jpg")});
        const std::string lastName = AfterName(0);

        // Another program fills the folder while the window goes on; its last file
        // takes the row's name, so the marks must have seen the end of the burst.
        std::atomic<long long> burstMs{-1};
        std::thread writer([&] {
            const auto start = std::chrono::steady_clock::now();
            char name[32];
            for (int i = 0; i < 10'000; ++i) {
                std::snprintf(name, sizeof name, "burst-%05d.txt", i);
                dir.MakeFile(name);
            }
            dir.MakeFile(lastName);
            burstMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::steady_clock::now() - start)
                          .count();
        });
        QTRY_VERIFY_WITH_TIMEOUT(burstMs >= 0 && Marked(0), 30'000);
        writer.join();
        QTRY_VERIFY(!watch_->Pending());

        // One read per interval of the burst, and one for the changes of its last interval.
        const std::size_t reReads = window_->FolderReReads();
        qInfo("10001 files in %lld ms, %zu reads of the folder", burstMs.load(), reReads);
        QVERIFY(reReads >= 1);
        QVERIFY(reReads <= static_cast<std::size_t>(burstMs / 200) + 2);
        // Quiet again: nothing more is read.
        QTest::qWait(300);
        QCOMPARE(window_->FolderReReads(), reReads);
    }

    void theWatchFollowsTheList() {
        const auto& dir = fixture_->Dir();
        const std::vector<std::string> files{dir.MakeFile("a.jpg"), dir.MakeFile("b.jpg")};
        std::filesystem::create_directory(dir.path() + "sub");
        const struct {
            const char* what;
            std::function<void()> act;
            bool watched;
        } steps[] = {
            {"drop", [&] { window_->TakeInPaths(files); }, true},
            {"drop of a folder only", [&] { window_->TakeInPaths({dir.path() + "sub"}); }, false},
            {"drop again", [&] { window_->TakeInPaths(files); }, true},
            {"ALL Clear", [&] { Child<QPushButton>(*window_, "BtnALLClear")->click(); }, false},
            {"drop again", [&] { window_->TakeInPaths(files); }, true},
            {"every row removed",
             [&] {
                 list_->selectAll();
                 window_->MenuDEL_Click();
             },
             false},
        };
        for (const auto& step : steps) {
            step.act();
            QVERIFY2(watch_->Watching() == step.watched, step.what);
        }
    }

    void aRunStopsTheWatchForGood() {
        auto fileSystem = std::make_unique<ScriptedFileSystem>();
        ScriptedFileSystem& disk = *fileSystem;
        window_->SetRunFileSystem(std::move(fileSystem));
        const auto& dir = fixture_->Dir();
        window_->TakeInPaths({dir.MakeFile("a.jpg"), dir.MakeFile("b.jpg")});
        dir.MakeFile(AfterName(1));
        QTRY_VERIFY_WITH_TIMEOUT(Marked(1), 1000);
        const std::size_t before = window_->FolderReReads();

        // The run's own renames reach the folder's watch neither then nor later.
        bool watchedDuringRun = true;
        disk.beforeRename = [&](const std::string&) {
            watchedDuringRun = watch_->Watching() || watch_->Pending();
        };
        MessageBox::SetNextAnswer(MessageAnswer::Yes);  // the warning of the marked row
        MessageBox::SetNextAnswer(MessageAnswer::Yes);
        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        window_->BtnStart_Click();  // renames row 0, stops at row 1's taken name
        QVERIFY(!watchedDuringRun);
        // The list now asks for a new drop: no row is marked any more, and nothing the
        // folder does can mark one.
        QVERIFY(!Marked(1));
        QVERIFY(!watch_->Watching());
        dir.MakeFile("later.jpg");
        QTest::qWait(300);
        QCOMPARE(window_->FolderReReads(), before);
    }
};

QTEST_MAIN(LivePreviewTest)
#include "tst_live_preview.moc"
