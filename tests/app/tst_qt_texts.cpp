// Qt's own texts in Japanese: the real message box's buttons and the start-number
// box's standard context menu.
#include <QAbstractButton>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include <filesystem>

#include "app/MessageBox.h"
#include "app/QtTranslation.h"
#include "support/WindowTest.h"

using namespace karvel;
using namespace karvel::testing;

namespace {

// A button's or menu item's text as shown, without its access-key mark.
QString Shown(QString text) {
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    text.remove(QLatin1Char('&'));
    return text.section(QLatin1Char('\t'), 0, 0);
}

// Waits for the next modal message box, notes its buttons' texts and clicks the one
// reading `answer` (or closes the box when there is none, so the test goes on).
class BoxAnswerer {
  public:
    explicit BoxAnswerer(QString answer) : answer_(std::move(answer)) {
        QObject::connect(&poll_, &QTimer::timeout, [this] { Answer(); });
        poll_.start(10);
    }
    QStringList buttons;

  private:
    void Answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        poll_.stop();
        QAbstractButton* chosen = nullptr;
        for (QAbstractButton* button : box->buttons()) {
            buttons << Shown(button->text());
            if (buttons.back() == answer_) chosen = button;
        }
        if (chosen != nullptr) {
            chosen->click();
        } else {
            box->done(0);
        }
    }

    QString answer_;
    QTimer poll_;
};

}  // namespace

class QtTextsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        QVERIFY2(LoadQtTranslation(*qApp), "qtbase_ja is installed with the set-up");
        MessageBox::ResetRecord();
    }

    void confirmationOffersYesAndNoInJapanese() {
        WindowFixture fixture;
        auto window = fixture.Open();
        window->show();
        const std::string file = fixture.Dir().MakeFile("a.jpg");
        window->TakeInPaths({file});

        BoxAnswerer answerer(QStringLiteral("いいえ"));
        Child<QPushButton>(*window, "BtnStart")->click();
        QCOMPARE(MessageBox::Last()->icon, MessageIcon::Question);
        answerer.buttons.sort();
        QCOMPARE(answerer.buttons, (QStringList{QStringLiteral("いいえ"), QStringLiteral("はい")}));
        QVERIFY2(std::filesystem::exists(file), "declined: nothing renamed");
    }

    void informationOffersOk() {
        BoxAnswerer answerer(QStringLiteral("OK"));
        QCOMPARE(MessageBox::Show(nullptr, MessageIcon::Information, "done"), MessageAnswer::Ok);
        QCOMPARE(answerer.buttons, QStringList{QStringLiteral("OK")});
    }

    void startNumberMenuIsJapanese() {
        WindowFixture fixture;
        auto window = fixture.Open();
        const std::unique_ptr<QMenu> menu(
            Child<QLineEdit>(*window, "TxtStartNo")->createStandardContextMenu());
        QStringList items;
        for (const QAction* action : menu->actions()) items << Shown(action->text());
        QVERIFY2(items.contains(QStringLiteral("貼り付け")), qPrintable(items.join(u',')));
        QVERIFY(!items.contains(QStringLiteral("Paste")));
    }
};

QTEST_MAIN(QtTextsTest)
#include "tst_qt_texts.moc"
