// Taking files in by a drop on the list, and from the command line.
#include <QCalendarWidget>
#include <QLabel>
#include <QTreeView>

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

    void commandLineFilesComeInLikeADrop() {
        const auto& dir = fixture_->Dir();
        window_->TakeInPaths({dir.MakeFile("z.txt"), dir.MakeFile("y.txt")});
        QCOMPARE(Column(0), (QStringList{"y.txt", "z.txt"}));
        QCOMPARE(Panel("StsBarCnt"), QStringLiteral("2"));
    }
};

QTEST_MAIN(DropTest)
#include "tst_drop.moc"
