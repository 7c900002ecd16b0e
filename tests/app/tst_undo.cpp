// Undo of the last run from the window's menu.
#include <QAction>
#include <QCalendarWidget>
#include <QComboBox>
#include <QLineEdit>

#include "WindowFixture.h"
#include "app/MessageBox.h"

using namespace karvel;
using namespace karvel::testing;

class UndoTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<WindowFixture> fixture_;
    std::unique_ptr<KarvelFm> window_;

    bool Exists(const std::string& name) const {
        return std::filesystem::exists(fixture_->Dir().path() + name);
    }
    QAction* Undo() const { return Child<QAction>(*window_, "MenuUndo"); }

    void Open() {
        window_ = fixture_->Open();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        Child<QLineEdit>(*window_, "TxtStartNo")->setText(QStringLiteral("1"));
        Child<QComboBox>(*window_, "CmbCol")->setCurrentText(QStringLiteral("2"));
        Child<QCalendarWidget>(*window_, "MonthView1")->setSelectedDate(QDate(2024, 3, 5));
    }

  private slots:
    void init() {
        MessageBox::ResetRecord();
        fixture_ = std::make_unique<WindowFixture>();
        Open();
    }

    void cleanup() {
        window_.reset();
        fixture_.reset();
        MessageBox::ResetRecord();
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
        window_.reset();
        Open();
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
