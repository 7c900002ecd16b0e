// Taking files in by a drop on the list, and from the command line.
#include <QAction>
#include <QCalendarWidget>
#include <QLabel>
#include <QTreeView>

#include <fstream>
#include <functional>

#include "app/OpenFilesDialog.h"
#include "support/WindowTest.h"

using namespace karvel;
using namespace karvel::testing;

// What the status panels held each time the status text was painted with the loading text.
class PaintSpy : public QObject {
  public:
    explicit PaintSpy(KarvelFm& window)
        : window_(window),
          text_(*Child<QLabel>(window, "StsBarText")),
          count_(*Child<QLabel>(window, "StsBarCnt")) {
        text_.installEventFilter(this);
    }
    ~PaintSpy() override { text_.removeEventFilter(this); }
    PaintSpy(const PaintSpy&) = delete;
    PaintSpy& operator=(const PaintSpy&) = delete;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &text_ && event->type() == QEvent::Paint &&
            text_.text() == QStringLiteral("ﾌｧｲﾙ情報取得中 ・・・")) {
            ++loadingPaints;
            countAtLoading = count_.text();
            rowsAtLoading = window_.Targets().RowCount();
        }
        return false;
    }

    int loadingPaints = 0;
    QString countAtLoading;
    std::size_t rowsAtLoading = 99;

  private:
    KarvelFm& window_;
    QLabel& text_;
    QLabel& count_;
};

class DropTest : public WindowTest {
    Q_OBJECT
  private:
    QStringList Column(int column) const {
        QStringList texts;
        for (int row = 0; row < list_->model()->rowCount(); ++row) {
            texts << list_->model()->index(row, column).data().toString();
        }
        return texts;
    }

    QString Panel(const char* key) const { return Child<QLabel>(*window_, key)->text(); }

  private slots:
    void dragOverOffersCopyForAnyData() {
        QMimeData text;
        text.setText(QStringLiteral("just text"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &text, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(list_->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QCOMPARE(enter.dropAction(), Qt::CopyAction);
    }

    void droppedFilesBecomeSortedNamedRows() {
        const auto& dir = fixture_->Dir();
        DropFiles(list_->viewport(),
                  {dir.MakeFile("c.png"), dir.MakeFile("a.jpg"), dir.MakeFile("b.tar.gz")});
        QCOMPARE(Column(0), (QStringList{"a.jpg", "b.tar.gz", "c.png"}));
        // The calendar's date, not the clock's: the day may have turned since the window opened.
        const QString prefix = Child<QCalendarWidget>(*window_, "MonthView1")
                                   ->selectedDate()
                                   .toString(QStringLiteral("yyMMdd"));
        QCOMPARE(Column(1),
                 (QStringList{prefix + "_01.jpg", prefix + "_02.tar.gz", prefix + "_03.png"}));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d$"))
                    .match(Column(2)[0])
                    .hasMatch());
        QCOMPARE(Panel("StsBarCnt"), QStringLiteral("3"));
        QCOMPARE(Panel("StsBarText"), QStringLiteral("Startボタンを押下してください"));
        QCOMPARE(Panel("LblDirName"), QString::fromStdString(dir.path()));
        QVERIFY(list_->isVisible());
    }

    // The emptied list and the loading text are painted before the files are read.
    void theLoadingTextShowsWhileTheFilesAreRead() {
        const auto& dir = fixture_->Dir();
        DropFiles(list_->viewport(), {dir.MakeFile("old.jpg")});
        PaintSpy spy(*window_);
        window_->TakeInPaths({dir.MakeFile("a.jpg"), dir.MakeFile("b.jpg")});
        QCOMPARE(spy.loadingPaints, 1);
        QCOMPARE(spy.countAtLoading, QString());
        QCOMPARE(spy.rowsAtLoading, std::size_t{0});
        QCOMPARE(Panel("StsBarText"), QStringLiteral("Startボタンを押下してください"));
        QCOMPARE(Panel("StsBarCnt"), QStringLiteral("2"));
    }

    void aDropWithoutFilesChangesNothing() {
        DropFiles(list_->viewport(), {fixture_->Dir().MakeFile("keep.txt")});
        QMimeData text;
        text.setText(QStringLiteral("/etc/passwd"));
        SendDrop(list_->viewport(), text);
        QCOMPARE(Column(0), QStringList{"keep.txt"});
        QCOMPARE(Panel("StsBarCnt"), QStringLiteral("1"));
    }

    void aDropOfFoldersOnlyEmptiesTheList() {
        DropFiles(list_->viewport(), {fixture_->Dir().MakeFile("old.txt")});
        std::filesystem::create_directory(fixture_->Dir().path() + "sub");
        DropFiles(list_->viewport(), {fixture_->Dir().path() + "sub"});
        QCOMPARE(list_->model()->rowCount(), 0);
        QCOMPARE(Panel("LblDirName"), QString());
        QCOMPARE(Panel("StsBarCnt"), QString());
        QCOMPARE(Panel("StsBarText"), QStringLiteral("対象ﾌｧｲﾙをﾄﾞﾛｯﾌﾟして下さい"));
    }

    void aNameThatIsNotUtf8IsListedAndKeptAsBytes() {
        const std::string name = "photo\xff.jpg";
        DropFiles(list_->viewport(), {fixture_->Dir().MakeFile(name)});
        QCOMPARE(list_->model()->rowCount(), 1);
        QCOMPARE(Column(0)[0], QStringLiteral("photo\uFFFD.jpg"));
        QCOMPARE(window_->Targets().Rows()[0].BeforeName, name);
    }

    // What a drop leaves out is counted beside the panels and named, with why, in the
    // tooltip; the next drop that leaves nothing out clears it.
    void filesLeftOutAreToldInTheStatusBar() {
        const auto& dir = fixture_->Dir();
        auto* panel = Child<QLabel>(*window_, "StsBarLeftOut");
        QVERIFY(panel->isHidden());
        std::filesystem::create_directory(dir.path() + "sub");
        const std::string other = dir.path() + "sub/other.jpg";
        std::ofstream(other) << "x";
        struct Case {
            std::vector<std::string> paths;
            QString shown;  // empty: hidden
            QStringList tip;
            int rows;
        };
        const std::vector<Case> cases = {
            {{dir.MakeFile("a.jpg"), dir.path() + "sub", other, dir.path() + "gone.jpg"},
             QStringLiteral("除外 3"),
             {QStringLiteral("一覧に入らなかったファイル:"),
              QStringLiteral("( ") + QString::fromStdString(dir.path()) +
                  QStringLiteral("sub ) フォルダーです"),
              QStringLiteral("( ") + QString::fromStdString(other) +
                  QStringLiteral(" ) 最初のファイルと別のフォルダーにあります"),
              QStringLiteral("( ") + QString::fromStdString(dir.path()) +
                  QStringLiteral("gone.jpg ) 見つかりません")},
             1},
            {{dir.MakeFile("b.jpg")}, QString(), {}, 1},
            // Nothing taken in: the list is empty, and the panel says why.
            {{dir.path() + "sub"},
             QStringLiteral("除外 1"),
             {QStringLiteral("一覧に入らなかったファイル:"),
              QStringLiteral("( ") + QString::fromStdString(dir.path()) +
                  QStringLiteral("sub ) フォルダーです")},
             0},
        };
        for (const Case& c : cases) {
            DropFiles(list_->viewport(), c.paths);
            QCOMPARE(list_->model()->rowCount(), c.rows);
            QCOMPARE(panel->isVisible(), !c.shown.isEmpty());
            if (c.shown.isEmpty()) continue;
            QCOMPARE(panel->text(), c.shown);
            QCOMPARE(panel->toolTip().split(QLatin1Char('\n')), c.tip);
            // A row on the status bar, its panel ending where the status text ends; the text
            // stays whole, and the option panel and the list make room.
            auto* text = Child<QLabel>(*window_, "StsBarText");
            auto* status = Child<QWidget>(*window_, "StsBar");
            QCOMPARE(panel->geometry().bottom() + 1, status->y());
            QCOMPARE(panel->geometry().right(), status->contentsRect().right());
            QCOMPARE(text->geometry().right(), status->contentsRect().right());
            QCOMPARE(Child<QWidget>(*window_, "Picture1")->geometry().bottom() + 1, panel->y());
            QVERIFY(list_->geometry().bottom() < Child<QWidget>(*window_, "Picture1")->y());
            QVERIFY(panel->fontMetrics().horizontalAdvance(panel->text()) <
                    panel->contentsRect().width());
            QVERIFY2(text->fontMetrics().horizontalAdvance(text->text()) <=
                         text->contentsRect().width() -
                             text->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2,
                     qPrintable(text->text()));
        }
        window_->BtnALLClear_Click();
        QVERIFY(panel->isHidden());
    }

    // ﾌｧｲﾙ → ファイルを開く and Ctrl+O: the picked files come in exactly as the same drop's.
    void filesPickedInTheDialogComeInAsADrop() {
        const auto& dir = fixture_->Dir();
        std::filesystem::create_directory(dir.path() + "sub");
        const std::vector<std::string> paths{dir.MakeFile("c.png"), dir.MakeFile("a.jpg"),
                                             dir.path() + "sub", dir.MakeFile("b.tar.gz")};
        DropFiles(list_->viewport(), paths);
        const QStringList dropped[] = {Column(0), Column(1), Column(2)};
        const QString droppedLeftOut = Panel("StsBarLeftOut");
        const QString droppedTip = Child<QLabel>(*window_, "StsBarLeftOut")->toolTip();
        QCOMPARE(dropped[0], (QStringList{"a.jpg", "b.tar.gz", "c.png"}));

        QAction* openItem = Child<QAction>(*window_, "MenuOpen");
        for (const auto& open : std::vector<std::function<void()>>{
                 [&] { openItem->trigger(); },
                 [&] { QTest::keyClick(window_.get(), Qt::Key_O, Qt::ControlModifier); }}) {
            window_->BtnALLClear_Click();
            OpenFilesDialog::ResetRecord();
            OpenFilesDialog::SetNextAnswer(paths);
            open();
            QCOMPARE(OpenFilesDialog::Count(), 1);
            for (int column = 0; column < 3; ++column) QCOMPARE(Column(column), dropped[column]);
            QCOMPARE(Panel("StsBarLeftOut"), droppedLeftOut);
            QCOMPARE(Child<QLabel>(*window_, "StsBarLeftOut")->toolTip(), droppedTip);
            QCOMPARE(Panel("LblDirName"), QString::fromStdString(dir.path()));
            QCOMPARE(Panel("StsBarCnt"), QStringLiteral("3"));

            // Cancelled, the dialog changes nothing; the next one starts in the list's folder.
            OpenFilesDialog::SetNextAnswer({});
            open();
            QCOMPARE(OpenFilesDialog::Count(), 2);
            QCOMPARE(OpenFilesDialog::LastFolder(), dir.path());
            QCOMPARE(Column(0), dropped[0]);
        }
        OpenFilesDialog::ResetRecord();
    }

    void commandLineFilesComeInLikeADrop() {
        const auto& dir = fixture_->Dir();
        window_->TakeInPaths({dir.MakeFile("z.txt"), dir.MakeFile("y.txt")});
        QCOMPARE(Column(0), (QStringList{"y.txt", "z.txt"}));
        QCOMPARE(Panel("StsBarCnt"), QStringLiteral("2"));
    }
};

QTEST_MAIN(DropTest)
#include "tst_drop.moc"
