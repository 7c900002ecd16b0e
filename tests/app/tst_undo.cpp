// Undo of the last run from the window's menu.
#include <QAction>
#include <QCalendarWidget>
#include <QComboBox>
#include <QLineEdit>

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
