// Undo of the last run from the window's menu.
#include <QAction>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>

#include <fstream>

#include "app/MessageBox.h"
#include "support/WindowTest.h"

using namespace karvel;
using namespace karvel::testing;

class UndoTest : public WindowTest {
    Q_OBJECT
  private:
    bool Exists(const std::string& name) const {
        return std::filesystem::exists(fixture_->Dir().path() + name);
    }
    QAction* Undo() const { return Child<QAction>(*window_, "MenuUndo"); }

    // The same options in every window, so that names are known ahead.
    void SetOptions() {
        Child<QLineEdit>(*window_, "TxtStartNo")->setText(QStringLiteral("1"));
        Child<QComboBox>(*window_, "CmbCol")->setCurrentText(QStringLiteral("2"));
        Child<QCalendarWidget>(*window_, "MonthView1")->setSelectedDate(QDate(2024, 3, 5));
    }

  private slots:
    void init() {
        WindowTest::init();
        SetOptions();
    }

    void undoIsOfferedOnlyAfterARunThatRenamed() {
        QVERIFY(!Undo()->isEnabled());
        const auto& dir = fixture_->Dir();
        dir.MakeFile("240305_01.jpg", "taken");
        window_->TakeInPaths({dir.MakeFile("a.jpg")});
        MessageBox::SetNextAnswer(MessageAnswer::Yes);
        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        window_->BtnStart_Click();  // stops at the taken name: nothing renamed
        QVERIFY(!Undo()->isEnabled());
    }

    // The question names the run it takes back, not the folder the window shows now, and
    // counts only the files it will restore.
    void theQuestionNamesTheRunsFolderAndTime() {
        const auto& dir = fixture_->Dir();
        const std::string folder = dir.path() + "写真/";
        std::filesystem::create_directory(folder);
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) std::ofstream(folder + name) << name;
        window_->TakeInPaths({folder + "a.jpg", folder + "b.jpg", folder + "c.jpg"});
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        MessageBox::SetNextAnswer(MessageAnswer::Yes);
        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        window_->BtnStart_Click();
        QVERIFY(Exists("写真/240305_03.jpg"));
        std::ofstream(folder + "240305_02.jpg", std::ios::app) << " edited since";
        window_->TakeInPaths({dir.MakeFile("elsewhere.jpg")});  // the window shows another folder

        MessageBox::SetNextAnswer(MessageAnswer::No);
        Undo()->trigger();
        QCOMPARE(MessageBox::Count(), 3);
        QCOMPARE(MessageBox::Last()->icon, MessageIcon::Question);
        const QStringList lines = MessageBox::Last()->text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QStringLiteral("フォルダー: ") + QString::fromStdString(folder));
        QVERIFY2(lines[1].startsWith(QStringLiteral("実行日時: ")), qPrintable(lines[1]));
        const QDateTime started =
            QDateTime::fromString(lines[1].mid(6), QStringLiteral("yyyy/MM/dd HH:mm:ss"));
        QVERIFY2(started >= before && started <= QDateTime::currentDateTime(),
                 qPrintable(lines[1]));
        QCOMPARE(lines[2],
                 QStringLiteral("2 File の名前と更新日時を元に戻します  よろしいですか？"));
        QVERIFY(Exists("写真/240305_01.jpg"));
    }

    void undoTakesTheRunBackAndSurvivesARestart() {
        const auto& dir = fixture_->Dir();
        window_->TakeInPaths({dir.MakeFile("b.jpg"), dir.MakeFile("a.jpg")});
        MessageBox::SetNextAnswer(MessageAnswer::Yes);
        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        window_->BtnStart_Click();
        QVERIFY(Exists("240305_01.jpg") && Exists("240305_02.jpg"));
        QVERIFY(Undo()->isEnabled());

        // The journal outlives the window.
        Reopen();
        SetOptions();
        QVERIFY(Undo()->isEnabled());
        MessageBox::SetNextAnswer(MessageAnswer::Yes);
        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        Undo()->trigger();
        QCOMPARE(MessageBox::Last()->text, QStringLiteral("2 File を元に戻しました"));
        QVERIFY(Exists("a.jpg") && Exists("b.jpg"));
        QVERIFY(!Exists("240305_01.jpg"));
        QVERIFY(!Undo()->isEnabled());
    }
};

QTEST_MAIN(UndoTest)
#include "tst_undo.moc"
