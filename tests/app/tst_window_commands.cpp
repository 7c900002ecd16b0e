// Window commands: always on top, the help page and the version.
#include <QAction>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>
#include <QWindow>

#include "app/MessageBox.h"
#include "support/WindowTest.h"

using namespace karvel;
using namespace karvel::testing;

// Takes the URLs the window asks the desktop to open, instead of a browser.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened << url; }
};

class WindowCommandsTest : public WindowTest {
    Q_OBJECT
  private slots:
    void stayOnTopTogglesWithoutMovingTheWindow() {
        const QRect before = window_->geometry();
        auto* item = Child<QAction>(*window_, "MenuChkOpt1");
        QVERIFY(!item->isChecked());

        window_->MenuChkOpt1_Click();
        QVERIFY(item->isChecked());
        QVERIFY(window_->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(window_->geometry(), before);
        QVERIFY(window_->isVisible());

        window_->MenuChkOpt1_Click();
        QVERIFY(!item->isChecked());
        QVERIFY(!window_->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(window_->geometry(), before);
    }

    // F1 and the help menu's item open the help page that comes with the program.
    void f1OpensTheHelpPage() {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        QTest::keyClick(window_.get(), Qt::Key_F1);
        Child<QAction>(*window_, "MenuHelpPage")->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

        const QUrl page =
            QUrl::fromLocalFile(QFileInfo(KARVEL_HELP_BUILD_PATH).canonicalFilePath());
        QCOMPARE(catcher.opened, (QList<QUrl>{page, page}));
        QFile file(page.toLocalFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(file.readAll())
                    .contains(QStringLiteral("<title>Karvel ヘルプ</title>")));
        QCOMPARE(MessageBox::Count(), 0);
    }

    void theVersionIsInTheHelpMenu() {
        MessageBox::SetNextAnswer(MessageAnswer::Ok);
        Child<QAction>(*window_, "MenuAbout")->trigger();
        QCOMPARE(MessageBox::Count(), 1);
        QCOMPARE(MessageBox::Last()->icon, MessageIcon::Information);
        QCOMPARE(
            MessageBox::Last()->text,
            QStringLiteral("Karvel   Ver. " KARVEL_VERSION "\r\n"
                           "選んだ日付と連番で、1 つのフォルダーのファイル名をまとめて変更します"));
    }
};

QTEST_MAIN(WindowCommandsTest)
#include "tst_window_commands.moc"
