// The rename run from the window: the start button and menu, the lock while it runs,
// and a close that comes in during a run.
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeView>

#include "app/MessageBox.h"
#include "support/RunDoubles.h"
#include "support/WindowTest.h"

using namespace karvel;
using namespace karvel::testing;

namespace {

const QString kDropPrompt = QStringLiteral("対象ﾌｧｲﾙをﾄﾞﾛｯﾌﾟして下さい");

}  // namespace

class RenameRunTest : public WindowTest {
    Q_OBJECT
  private:
    ScriptedFileSystem* fileSystem_ = nullptr;

    bool Exists(const std::string& name) const {
        return std::filesystem::exists(fixture_->Dir().path() + name);
    }

    QString StatusText() const { return Child<QLabel>(*window_, "StsBarText")->text(); }

    void DropThree() {
        const auto& dir = fixture_->Dir();
        window_->TakeInPaths({dir.MakeFile("c.jpg"), dir.MakeFile("a.jpg"), dir.MakeFile("b.jpg")});
    }

  private slots:
    void init() {
        WindowTest::init();
        auto fileSystem = std::make_unique<ScriptedFileSystem>();
        fileSystem_ = fileSystem.get();
        window_->SetRunFileSystem(std::move(fileSystem));
        Child<QLineEdit>(*window_, "TxtStartNo")->setText(QStringLiteral("1"));
        Child<QComboBox>(*window_, "CmbCol")->setCurrentText(QStringLiteral("2"));
        Child<QComboBox>(*window_, "CmbType")->setCurrentText(QStringLiteral("yymmdd"));
        Child<QCalendarWidget>(*window_, "MonthView1")->setSelectedDate(QDate(2024, 3, 5));
    }

    void startButtonRenamesEveryFileAndAsksForNewOnes() {
        DropThree();
        MessageBox::SetNextAnswer(MessageAnswer::Yes);
        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        QTest::mouseClick(Child<QPushButton>(*window_, "BtnStart"), Qt::LeftButton);

        QCOMPARE(MessageBox::Count(), 2);
        QCOMPARE(MessageBox::Last()->text, QStringLiteral("変換処理が正常終了しました"));
        QVERIFY(Exists("240305_01.jpg") && Exists("240305_02.jpg") && Exists("240305_03.jpg"));
        QVERIFY(!Exists("a.jpg"));
        QCOMPARE(StatusText(), kDropPrompt);
        QCOMPARE(Child<QLabel>(*window_, "StsBarCnt")->text(), QStringLiteral("3"));
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(!Child<QProgressBar>(*window_, "RunProgress")->isVisible());
        QVERIFY(Child<QPushButton>(*window_, "BtnStart")->isEnabled());
        auto* list = Child<QTreeView>(*window_, "ListVi");
        QCOMPARE(list->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(list->selectionModel()->selectedRows().front().row(), 2);
        // The rows still show the names they had.
        QCOMPARE(list->model()->index(0, 0).data().toString(), QStringLiteral("a.jpg"));

        // Right after a run the start command asks for new files.
        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        window_->BtnStart_Click();
        QCOMPARE(MessageBox::Last()->text, kDropPrompt);
        QCOMPARE(MessageBox::Last()->icon, MessageIcon::Warning);
    }

    // A row known to stop the run: its warning is the one question, and its Yes runs.
    void aKnownStopIsTheOnlyQuestion() {
        DropThree();
        fixture_->Dir().MakeFile("240305_02.jpg", "unlisted");
        window_->TakeInPaths({fixture_->Dir().path() + "a.jpg", fixture_->Dir().path() + "b.jpg",
                              fixture_->Dir().path() + "c.jpg"});
        std::vector<MessageBox::Shown> shown;
        MessageBox::WhenShown(
            [&shown](const MessageBox::Shown& message) { shown.push_back(message); });
        MessageBox::SetNextAnswer(MessageAnswer::Yes);
        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        QTest::mouseClick(Child<QPushButton>(*window_, "BtnStart"), Qt::LeftButton);

        QCOMPARE(shown.size(), std::size_t{2});
        QCOMPARE(shown[0].icon, MessageIcon::WarningQuestion);
        QVERIFY(shown[0].text.startsWith(QStringLiteral("2 行目で処理が中断します")));
        QCOMPARE(shown[1].icon, MessageIcon::Error);
        QCOMPARE(shown[1].text,
                 QStringLiteral("変換後のファイル名称は既に存在します  処理を中断します\r"
                                "( b.jpg > 240305_02.jpg )"));
        QVERIFY(Exists("240305_01.jpg") && Exists("b.jpg") && Exists("c.jpg"));
    }

    // While it runs the progress strip leaves every panel's text whole; at the run's last
    // message it is gone already.
    void theProgressLeavesTheStatusTextWholeAndEndsWithTheRun() {
        DropThree();
        auto* progress = Child<QProgressBar>(*window_, "RunProgress");
        auto* status = Child<QWidget>(*window_, "StsBar");
        auto* text = Child<QLabel>(*window_, "StsBarText");
        const int textWidth = text->width();
        bool looked = false;
        fileSystem_->beforeRename = [&](const std::string&) {
            if (looked) return;
            looked = true;
            QVERIFY(progress->isVisible());
            QVERIFY(!progress->geometry().intersects(status->geometry()));
            QVERIFY(progress->geometry().bottom() < status->y());
            QCOMPARE(text->width(), textWidth);
            QVERIFY(text->fontMetrics().horizontalAdvance(text->text()) <
                    text->contentsRect().width());
        };
        std::vector<bool> visibleAtMessage;
        MessageBox::WhenShown(
            [&](const MessageBox::Shown&) { visibleAtMessage.push_back(progress->isVisible()); });
        MessageBox::SetNextAnswer(MessageAnswer::Yes);
        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        window_->BtnStart_Click();
        QVERIFY(looked);
        QCOMPARE(MessageBox::Last()->text, QStringLiteral("変換処理が正常終了しました"));
        QCOMPARE(visibleAtMessage, (std::vector<bool>{false, false}));
        QVERIFY(!progress->isVisible());
    }

    void menuItemAsksTheSameAndNoChangesNothing() {
        DropThree();
        MessageBox::SetNextAnswer(MessageAnswer::No);
        Child<QAction>(*window_, "MenuStart")->trigger();
        QCOMPARE(MessageBox::Count(), 1);
        QCOMPARE(MessageBox::Last()->icon, MessageIcon::Question);
        QCOMPARE(MessageBox::Last()->text,
                 QStringLiteral("3 File の ReName を開始します  よろしいですか？"));
        QVERIFY(Exists("a.jpg") && Exists("b.jpg") && Exists("c.jpg"));
        QCOMPARE(StatusText(), QStringLiteral("Startボタンを押下してください"));
        QVERIFY(fileSystem_->calls.empty());
    }

    void withoutUsableNamesNothingStarts() {
        DropThree();
        Child<QLineEdit>(*window_, "TxtStartNo")->clear();
        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        window_->BtnStart_Click();
        QCOMPARE(MessageBox::Count(), 1);
        QCOMPARE(MessageBox::Last()->text, QStringLiteral("変換後のファイル名称を作成できません"));
        QVERIFY(Exists("a.jpg"));
    }

    void everythingThatCouldChangeTheListIsLockedDuringTheRun() {
        DropThree();
        const auto& dir = fixture_->Dir();
        bool checked = false;
        fileSystem_->beforeRename = [&](const std::string&) {
            if (checked) return;
            checked = true;
            for (const char* name : {"BtnStart", "BtnALLClear"}) {
                QVERIFY(!Child<QPushButton>(*window_, name)->isEnabled());
            }
            QVERIFY(!Child<QLineEdit>(*window_, "TxtStartNo")->isEnabled());
            QVERIFY(!Child<QComboBox>(*window_, "CmbType")->isEnabled());
            QVERIFY(!Child<QCheckBox>(*window_, "ChkTime")->isEnabled());
            QVERIFY(!Child<QAction>(*window_, "MenuStart")->isEnabled());
            QVERIFY(!Child<QTreeView>(*window_, "ListVi")->header()->sectionsClickable());
            QVERIFY(Child<QProgressBar>(*window_, "RunProgress")->isVisible());
            QVERIFY(QApplication::overrideCursor() != nullptr);
            // Drops, clearing, sorting and removal are refused while the run goes on.
            DropFiles(Child<QTreeView>(*window_, "ListVi")->viewport(),
                      {dir.MakeFile("other.jpg")});
            window_->BtnALLClear_Click();
            window_->ListVi_ColumnClick(1);
            window_->MenuDEL_Click();
            QCOMPARE(window_->Targets().RowCount(), std::size_t{3});
            QCOMPARE(window_->Targets().Rows()[0].BeforeName, std::string("a.jpg"));
        };
        MessageBox::SetNextAnswer(MessageAnswer::Yes);
        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        window_->BtnStart_Click();
        QVERIFY(checked);
        QVERIFY(Exists("240305_03.jpg"));
        QVERIFY(Child<QLineEdit>(*window_, "TxtStartNo")->isEnabled());
        QVERIFY(Child<QTreeView>(*window_, "ListVi")->header()->sectionsClickable());
    }

    void aCloseDuringTheRunStopsAfterTheCurrentFileAndSaves() {
        DropThree();
        int renames = 0;
        fileSystem_->beforeRename = [&](const std::string&) {
            if (++renames == 2) window_->close();
        };
        MessageBox::SetNextAnswer(MessageAnswer::Yes);
        window_->BtnStart_Click();

        QVERIFY(Exists("240305_01.jpg") && Exists("240305_02.jpg"));
        QVERIFY(Exists("c.jpg"));
        QCOMPARE(MessageBox::Count(), 1);  // no success message for a stopped run
        QVERIFY(!window_->isVisible());
        QVERIFY(fixture_->IniExists());
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void endDuringTheRunStopsAndSavesNothing() {
        DropThree();
        fileSystem_->beforeRename = [&](const std::string&) {
            Child<QAction>(*window_, "MenuEnd")->trigger();
        };
        MessageBox::SetNextAnswer(MessageAnswer::Yes);
        window_->BtnStart_Click();

        QVERIFY(Exists("240305_01.jpg") && Exists("b.jpg") && Exists("c.jpg"));
        QVERIFY(!window_->isVisible());
        QVERIFY(!fixture_->IniExists());
    }
};

QTEST_MAIN(RenameRunTest)
#include "tst_rename_run.moc"
