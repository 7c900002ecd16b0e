#include "app/KarvelFm.h"

#include <algorithm>
#include <functional>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include "app/BusyPointer.h"
#include "app/FolderWatch.h"
#include "app/JapaneseFont.h"
#include "app/LayoutRules.h"
#include "app/MonthCalendar.h"
#include "app/OptionCheckBox.h"
#include "app/StartNoEdit.h"
#include "app/TargetListView.h"
#include "app/TargetTableModel.h"
#include "app/Twips.h"
#include "app/WindowRunHost.h"
#include "naming/TextPieces.h"
#include "rename/PosixRunFileSystem.h"
#include "rename/RenameRun.h"
#include "rename/RunHistory.h"
#include "rename/RunJournal.h"
#include "rename/UndoRun.h"
#include "settings/PersistedSettings.h"
#include "targets/ConflictPreview.h"
#include "targets/DropIntake.h"
#include "targets/ListEditing.h"
#include "targets/RefreshNames.h"
#include "targets/UriList.h"

namespace karvel {

namespace {

// First-start client size, in twips.
constexpr int kClientWidth = 5085;
constexpr int kClientHeight = 7050;
// Column widths the list has before the stored ones are applied.
constexpr int kFirstStartColumnWidths[3] = {4000, 1440, 1100};

QString Utf8(const std::string& bytes) {
    return TargetTableModel::Display(bytes);
}

double ScreenDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
}

}  // namespace

KarvelFm::KarvelFm(std::string iniPath, QWidget* parent)
    : QMainWindow(parent),
      iniPath_(std::move(iniPath)),
      twips_(std::make_unique<Twips>(ScreenDpi())),
      runFileSystem_(std::make_unique<PosixRunFileSystem>()),
      stateFolder_(StateFolder()) {
    setObjectName(QStringLiteral("KarvelFm"));
    setWindowIcon(QIcon(QStringLiteral(":/karvel/karvel-32.png")));
    BuildControls();
    BuildMenus();
    BuildStatusBar();
    folderWatch_ = new FolderWatch(this);
    folderWatch_->setObjectName(QStringLiteral("FolderWatch"));
    ConnectHandlers();

    // First start: the first-start client size, centred on the screen. Stored
    // placement, if any, overrides this in Form_Load.
    resize(twips_->ToPixels(kClientWidth),
           twips_->ToPixels(kClientHeight) + menuBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    Form_Load();
    // Lay the client area out now, so sizes are right before the first showing.
    layout()->activate();
    Form_Resize();
}

KarvelFm::~KarvelFm() {
    // The rows die with this object, before the child widgets: detach the view first.
    listVi_->setModel(nullptr);
}

void KarvelFm::PlaceInTwips(QWidget* widget, int left, int top, int width, int height) const {
    widget->setGeometry(twips_->ToPixels(left), twips_->ToPixels(top), twips_->ToPixels(width),
                        twips_->ToPixels(height));
}

void KarvelFm::BuildControls() {
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(client_);
    client_->installEventFilter(this);

    lblDirName_ = new QLabel(QStringLiteral("Label1"), client_);
    lblDirName_->setObjectName(QStringLiteral("LblDirName"));
    PlaceInTwips(lblDirName_, 0, 40, 4335, 255);

    listVi_ = new TargetListView(client_);
    listVi_->setObjectName(QStringLiteral("ListVi"));
    model_ = new TargetTableModel(targets_, this);
    listVi_->setModel(model_);
    listVi_->setRootIsDecorated(false);
    listVi_->setItemsExpandable(false);
    listVi_->setUniformRowHeights(true);
    listVi_->setAllColumnsShowFocus(true);
    listVi_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    listVi_->setSelectionBehavior(QAbstractItemView::SelectRows);
    listVi_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    listVi_->setSortingEnabled(false);
    listVi_->header()->setSectionsClickable(true);
    listVi_->header()->setStretchLastSection(false);
    listVi_->header()->setSectionsMovable(false);
    PlaceInTwips(listVi_, 0, 360, 4335, 2175);
    for (int column = 0; column < 3; ++column) {
        listVi_->header()->resizeSection(column, twips_->ToPixels(kFirstStartColumnWidths[column]));
    }

    picture1_ = new QWidget(client_);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    PlaceInTwips(picture1_, 0, 3780, 5085, 3015);

    monthView1_ = new MonthCalendar(picture1_);
    monthView1_->setObjectName(QStringLiteral("MonthView1"));
    PlaceInTwips(monthView1_, 120, 120, 2385, 2220);

    auto* label2 = new QLabel(QStringLiteral("連番開始番号"), picture1_);
    label2->setObjectName(QStringLiteral("Label2"));
    PlaceInTwips(label2, 2760, 165, 1095, 255);

    txtStartNo_ = new StartNoEdit(picture1_);
    txtStartNo_->setObjectName(QStringLiteral("TxtStartNo"));
    txtStartNo_->setText(QStringLiteral("Text1"));
    // Half-width digits: the narrow box shows a five-digit number whole.
    txtStartNo_->setFont(JapaneseGothicFont(9, false, Pitch::Fixed));
    PlaceInTwips(txtStartNo_, 3960, 120, 615, 270);

    cmbCol_ = new QComboBox(picture1_);
    cmbCol_->setObjectName(QStringLiteral("CmbCol"));
    cmbCol_->setEditable(false);
    PlaceInTwips(cmbCol_, 2760, 480, 615, 300);

    auto* label1 = new QLabel(QStringLiteral("桁の連番にする"), picture1_);
    label1->setObjectName(QStringLiteral("Label1"));
    PlaceInTwips(label1, 3405, 525, 1335, 255);

    chkTime_ = new OptionCheckBox(QStringLiteral("更新日付も合わせる"), picture1_);
    chkTime_->setObjectName(QStringLiteral("ChkTime"));
    PlaceInTwips(chkTime_, 2760, 840, 2295, 375);

    cmbType_ = new QComboBox(picture1_);
    cmbType_->setObjectName(QStringLiteral("CmbType"));
    cmbType_->setEditable(false);
    PlaceInTwips(cmbType_, 2760, 1320, 2175, 300);

    chkOpt_ = new OptionCheckBox(QStringLiteral("オプションを引継ぐ"), picture1_);
    chkOpt_->setObjectName(QStringLiteral("ChkOpt"));
    PlaceInTwips(chkOpt_, 2760, 1800, 2295, 375);

    const auto makeButton = [this](const char* name, const QString& caption) {
        auto* button = new QPushButton(caption, picture1_);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        return button;
    };
    btnStart_ = makeButton("BtnStart", QStringLiteral("ReName Start"));
    PlaceInTwips(btnStart_, 2760, 2280, 2175, 615);
    btnALLClear_ = makeButton("BtnALLClear", QStringLiteral("ALL Clear"));
    PlaceInTwips(btnALLClear_, 120, 2520, 1095, 375);
    btnEnd_ = makeButton("BtnEnd", QStringLiteral("End"));
    PlaceInTwips(btnEnd_, 1440, 2520, 1095, 375);

    btnStart_->setFont(JapaneseGothicFont(9, true));
    for (QPushButton* button : {btnStart_, btnEnd_}) {
        QPalette palette = button->palette();
        palette.setColor(QPalette::Button, QColor(224, 224, 224));
        button->setPalette(palette);
    }

    // Tab order: list, digits, start number, calendar, End, ALL Clear, Start, the two check boxes,
    // pattern.
    const QWidget* order[] = {listVi_,      cmbCol_,   txtStartNo_, monthView1_, btnEnd_,
                              btnALLClear_, btnStart_, chkTime_,    cmbType_,    chkOpt_};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        QWidget::setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
    }

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &KarvelFm::OpenHelp);
}

void KarvelFm::BuildMenus() {
    QMenu* menuFile = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    menuFile->setObjectName(QStringLiteral("MenuFILE"));
    menuStart_ = menuFile->addAction(QStringLiteral("開始(&S)"));
    menuStart_->setObjectName(QStringLiteral("MenuStart"));
    menuUndo_ = menuFile->addAction(QStringLiteral("元に戻す(&U)"));
    menuUndo_->setObjectName(QStringLiteral("MenuUndo"));
    menuFile->addSeparator()->setObjectName(QStringLiteral("MenuSOUSA1"));
    menuChkOpt1_ = menuFile->addAction(QStringLiteral("常に最前面表示(&F)"));
    menuChkOpt1_->setObjectName(QStringLiteral("MenuChkOpt1"));
    menuChkOpt1_->setCheckable(true);
    menuFile->addSeparator()->setObjectName(QStringLiteral("MenuOptBar4"));
    menuEnd_ = menuFile->addAction(QStringLiteral("終了(&C)"));
    menuEnd_->setObjectName(QStringLiteral("MenuEnd"));

    // The list's context menu; never part of the menu bar.
    menuPopup_ = new QMenu(QStringLiteral("ポップアップ"), this);
    menuPopup_->setObjectName(QStringLiteral("MenuPOPUP"));
    menuDel_ = menuPopup_->addAction(QStringLiteral("対象から外す"));
    menuDel_->setObjectName(QStringLiteral("MenuDEL"));
}

void KarvelFm::BuildStatusBar() {
    stsBar_ = new QStatusBar(client_);
    stsBar_->setObjectName(QStringLiteral("StsBar"));
    stsBar_->setSizeGripEnabled(false);
    PlaceInTwips(stsBar_, 0, 6795, 5085, 255);
    // Small enough that the longest status text fits whole at the first-start width.
    stsBar_->setFont(JapaneseGothicFont(7.5, false));

    // A fixed panel grows to its widest text, so a large font never cuts the date off.
    const auto addPanel = [this](const char* key, int minimumTwips, int stretch,
                                 const QString& widest) {
        auto* panel = new QLabel(stsBar_);
        panel->setObjectName(QString::fromLatin1(key));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        const int textWidth =
            panel->fontMetrics().horizontalAdvance(widest) + 2 * panel->frameWidth() + 6;
        const int width = std::max(twips_->ToPixels(minimumTwips), textWidth);
        panel->setMinimumWidth(width);
        if (stretch == 0) panel->setMaximumWidth(width);
        stsBar_->addWidget(panel, stretch);
        return panel;
    };
    stsDate_ = addPanel("StsBarDate", 1000, 0, QStringLiteral("0000/00/00"));
    stsTime_ = addPanel("StsBarTime", 800, 0, QStringLiteral("00:00"));
    stsBarCnt_ = addPanel("StsBarCnt", 700, 0, QString());
    // The text panel takes what the fixed ones leave, never more: a wider one would
    // run past the bar's right edge and cut its text off there.
    stsBarText_ = addPanel("StsBarText", 0, 1, QString());
    stsBarText_->setMinimumWidth(1);

    // Files done of files listed, at the right end, only while a run is in progress.
    runProgress_ = new QProgressBar(stsBar_);
    runProgress_->setObjectName(QStringLiteral("RunProgress"));
    runProgress_->setMaximumWidth(twips_->ToPixels(1500));
    runProgress_->setTextVisible(false);
    stsBar_->addPermanentWidget(runProgress_);
    runProgress_->hide();

    UpdateClock();
    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &KarvelFm::UpdateClock);
    clock->start(1000);
}

void KarvelFm::ConnectHandlers() {
    connect(btnALLClear_, &QPushButton::clicked, this, &KarvelFm::BtnALLClear_Click);
    connect(btnEnd_, &QPushButton::clicked, this, &KarvelFm::BtnEnd_Click);
    connect(btnStart_, &QPushButton::clicked, this, &KarvelFm::BtnStart_Click);
    connect(menuStart_, &QAction::triggered, this, &KarvelFm::MenuStart_Click);
    connect(menuUndo_, &QAction::triggered, this, &KarvelFm::MenuUndo_Click);
    connect(menuChkOpt1_, &QAction::toggled, this, [this](bool onTop) {
        // Changing the flag on the live window keeps its place and size.
        if (QWindow* handle = windowHandle()) {
            handle->setFlag(Qt::WindowStaysOnTopHint, onTop);
        } else {
            setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
        }
    });
    connect(menuEnd_, &QAction::triggered, this, &KarvelFm::MenuEnd_Click);
    connect(menuDel_, &QAction::triggered, this, &KarvelFm::MenuDEL_Click);
    connect(listVi_, &TargetListView::dropped, this, &KarvelFm::ListVi_OLEDragDrop);
    connect(listVi_, &TargetListView::columnClicked, this, &KarvelFm::ListVi_ColumnClick);
    connect(listVi_, &TargetListView::mouseReleased, this, &KarvelFm::ListVi_MouseUp);
    connect(listVi_, &TargetListView::removeKeyPressed, this, &KarvelFm::MenuDEL_Click);
    connect(listVi_, &TargetListView::menuKeyPressed, this, &KarvelFm::ListVi_MenuKey);
    connect(txtStartNo_, &QLineEdit::textChanged, this, &KarvelFm::TxtStartNo_Change);
    connect(cmbCol_, &QComboBox::currentIndexChanged, this, &KarvelFm::CmbCol_Click);
    connect(cmbType_, &QComboBox::currentIndexChanged, this, &KarvelFm::CmbType_Click);
    connect(monthView1_, &QCalendarWidget::selectionChanged, this,
            &KarvelFm::MonthView1_DateChange);
    connect(folderWatch_, &FolderWatch::changed, this, &KarvelFm::ReReadTargetFolder);
}

void KarvelFm::Form_Load() {
    setWindowTitle(QStringLiteral("Karvel   Ver. " KARVEL_VERSION));
    RestorePlacement(*this, iniPath_);

    for (const char* digits : {"1", "2", "3", "4", "5"})
        cmbCol_->addItem(QString::fromLatin1(digits));
    for (const auto pattern : kDatePatternTexts) {
        cmbType_->addItem(
            QString::fromLatin1(pattern.data(), static_cast<qsizetype>(pattern.size())));
    }
    // A drop-down list starts without a selection until an option picks one.
    cmbCol_->setCurrentIndex(-1);
    cmbType_->setCurrentIndex(-1);

    RestoreOptions(*this, iniPath_);
    monthView1_->setSelectedDate(QDate::currentDate());
    menuUndo_->setEnabled(CanUndo(stateFolder_));
    BtnALLClear_Click();
}

void KarvelFm::closeEvent(QCloseEvent* event) {
    if (running_) {
        // The current file finishes; the run stops there and the window closes after it.
        stopRequested_ = true;
        closeAfterRun_ = true;
        event->ignore();
        return;
    }
    if (!endingWithoutSave_) SaveSettings(*this, iniPath_);
    event->accept();
}

void KarvelFm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!frameKnown_ && windowHandle() != nullptr) windowHandle()->installEventFilter(this);
}

bool KarvelFm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) Form_Resize();
    // The first exposure comes after the window manager has framed the window.
    if (!frameKnown_ && watched == windowHandle() && event->type() == QEvent::Expose &&
        windowHandle()->isExposed()) {
        frameKnown_ = true;
        windowHandle()->removeEventFilter(this);
        ApplyPendingOuterSize();
    }
    return QMainWindow::eventFilter(watched, event);
}

void KarvelFm::ApplyPendingOuterSize() {
    const QSize extra = FrameExtra();
    QSize inner = size();
    if (pendingOuterSize_.width() >= 0) {
        inner.setWidth(std::max(0, pendingOuterSize_.width() - extra.width()));
    }
    if (pendingOuterSize_.height() >= 0) {
        inner.setHeight(std::max(0, pendingOuterSize_.height() - extra.height()));
    }
    pendingOuterSize_ = QSize(-1, -1);
    if (inner != size()) resize(inner);
}

void KarvelFm::Form_Resize() {
    const int width = client_->width();
    const int height = client_->height();
    // The option panel and the status bar are docked to the bottom edge.
    stsBar_->setGeometry(0, height - stsBar_->height(), width, stsBar_->height());
    picture1_->setGeometry(0, stsBar_->y() - picture1_->height(), width, picture1_->height());

    listVi_->resize(width, listVi_->height());
    lblDirName_->resize(width, lblDirName_->height());
    const auto listHeight =
        ListViHeightFor(twips_->FromPixels(height), twips_->FromPixels(stsBar_->height()),
                        twips_->FromPixels(picture1_->height()));
    if (listHeight) listVi_->resize(width, twips_->ToPixels(*listHeight));
}

NamingOptions KarvelFm::CurrentNamingOptions() const {
    const QDate date = monthView1_->selectedDate();
    return {{date.year(), date.month(), date.day()},
            cmbType_->currentText().toStdString(),
            cmbCol_->currentText().toStdString(),
            txtStartNo_->text().toStdString()};
}

void KarvelFm::RecomputeNames() {
    if (targets_.RowCount() == 0 || running_) return;
    RefreshNewNames(targets_, CurrentNamingOptions());
    PreviewConflicts(targets_);
    model_->NamesChanged();
}

void KarvelFm::WatchTargetFolder() {
    if (targets_.RowCount() == 0 || running_) {
        folderWatch_->Stop();
        return;
    }
    folderWatch_->Watch(targets_.TargetFolder());
}

void KarvelFm::ReReadTargetFolder() {
    // A run changes the folder under the rows; it is read once the run is over.
    if (targets_.RowCount() == 0 || running_) return;
    ++folderReReads_;
    targets_.SetSnapshot(FolderSnapshot::Read(targets_.TargetFolder(), targets_.Rows()));
    PreviewConflicts(targets_);
    model_->NamesChanged();
}

void KarvelFm::TxtStartNo_Change() {
    RecomputeNames();
}
void KarvelFm::CmbCol_Click() {
    RecomputeNames();
}
void KarvelFm::CmbType_Click() {
    RecomputeNames();
}
void KarvelFm::MonthView1_DateChange() {
    RecomputeNames();
}

void KarvelFm::ShowListState() {
    lblDirName_->setText(Utf8(targets_.TargetFolder()));
    stsBarCnt_->setText(Utf8(targets_.StsBarCnt()));
    stsBarText_->setText(Utf8(targets_.StsBarText()));
    listVi_->header()->setSortIndicatorShown(targets_.Sorted());
    listVi_->header()->setSortIndicator(
        static_cast<int>(targets_.SortKey()),
        targets_.GetSortOrder() == SortOrder::Ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void KarvelFm::SetRunFileSystem(std::unique_ptr<RunFileSystem> fileSystem) {
    runFileSystem_ = std::move(fileSystem);
}

void KarvelFm::RunFileCommand(const std::function<void(WindowRunHost&)>& command) {
    if (running_) return;
    running_ = true;
    stopRequested_ = false;
    {
        WindowRunHost host(*this);
        command(host);
    }
    running_ = false;
    ShowListState();
    // Watched before it is read, so that nothing changing in between goes unseen.
    WatchTargetFolder();
    ReReadTargetFolder();
    if (closeAfterRun_) {
        closeAfterRun_ = false;
        close();
    }
}

void KarvelFm::BtnStart_Click() {
    RunFileCommand([this](WindowRunHost& host) {
        const QDate date = monthView1_->selectedDate();
        const RunSettings settings{{date.year(), date.month(), date.day()}, chkTime_->Value() == 1};
        // Where the preview knows the run will stop, the user hears it before the question.
        if (const auto warning = KnownStopWarning(targets_)) {
            if (host.ShowMessage(RunIcon::WarningQuestion, *warning) != RunAnswer::Yes) return;
        }
        StateRecords records(stateFolder_);
        karvel::BtnStart_Click(targets_, settings, host, *runFileSystem_, &records);
        menuUndo_->setEnabled(CanUndo(stateFolder_));
    });
}

void KarvelFm::MenuStart_Click() {
    BtnStart_Click();
}

void KarvelFm::MenuUndo_Click() {
    RunFileCommand([this](WindowRunHost& host) {
        UndoLastRun(stateFolder_, host, *runFileSystem_);
        menuUndo_->setEnabled(CanUndo(stateFolder_));
    });
}

void KarvelFm::SetStateFolder(std::string folder) {
    stateFolder_ = std::move(folder);
    menuUndo_->setEnabled(CanUndo(stateFolder_));
}

void KarvelFm::LockForRun(bool locked) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{txtStartNo_, cmbCol_, cmbType_, chkTime_, chkOpt_,
                                         monthView1_, btnStart_, btnALLClear_}) {
        control->setEnabled(!locked);
    }
    menuStart_->setEnabled(!locked);
    if (locked) {
        menuUndo_->setEnabled(false);
        folderWatch_->Stop();
    }
    menuDel_->setEnabled(!locked);
    listVi_->header()->setSectionsClickable(!locked);
    runProgress_->setVisible(locked);
}

void KarvelFm::ShowRunRow(std::size_t row) {
    // Selected without becoming current: the run does not scroll the list.
    const int at = static_cast<int>(row);
    listVi_->selectionModel()->select(QItemSelection(model_->index(at, 0), model_->index(at, 2)),
                                      QItemSelectionModel::ClearAndSelect);
}

void KarvelFm::ShowRunProgress(std::size_t done, std::size_t total) {
    runProgress_->setRange(0, static_cast<int>(std::max<std::size_t>(total, 1)));
    runProgress_->setValue(static_cast<int>(done));
}

void KarvelFm::BtnALLClear_Click() {
    if (running_) return;
    model_->ResetAround([this] { targets_.AllClear(); });
    folderWatch_->Stop();
    ShowListState();
}

void KarvelFm::BtnEnd_Click() {
    close();
}

void KarvelFm::BringToFront() {
    raise();
    activateWindow();
}

void KarvelFm::ListVi_OLEDragDrop(const QMimeData* dropped) {
    if (dropped == nullptr || running_) return;
    const QByteArray uriList = dropped->data(QStringLiteral("text/uri-list"));
    const auto paths = FilePathsFromUriList(
        std::string_view(uriList.constData(), static_cast<std::size_t>(uriList.size())));
    // A drop without any file path changes nothing.
    if (paths.empty()) return;
    TakeInPaths(paths);
}

void KarvelFm::TakeInPaths(const std::vector<std::string>& paths) {
    if (running_) return;
    BringToFront();
    // The drop reads the folder of its first file: watched from before that, a name
    // that comes meanwhile is not missed.
    if (!paths.empty()) {
        folderWatch_->Watch(paths.front().substr(0, paths.front().rfind(kPathSeparator) + 1));
    }
    {
        const BusyPointer busy;
        model_->ResetAround([&] {
            TakeInDrop(targets_, paths, CurrentNamingOptions(), [this] {
                ShowListState();
                repaint();
                // Hidden while rows are added; shown once, after the last.
                listVi_->hide();
            });
        });
        listVi_->show();
    }
    WatchTargetFolder();
    ShowListState();
}

void KarvelFm::CopySelectionToRows() {
    auto& rows = targets_.MutableRows();
    for (auto& row : rows) row.Selected = false;
    for (const QModelIndex& index : listVi_->selectionModel()->selectedRows()) {
        rows[static_cast<std::size_t>(index.row())].Selected = true;
    }
}

void KarvelFm::ShowSelectionOfRows() {
    QItemSelection selection;
    const auto& rows = targets_.Rows();
    for (std::size_t first = 0; first < rows.size(); ++first) {
        if (!rows[first].Selected) continue;
        std::size_t last = first;
        while (last + 1 < rows.size() && rows[last + 1].Selected) ++last;
        selection.select(model_->index(static_cast<int>(first), 0),
                         model_->index(static_cast<int>(last), 2));
        first = last;
    }
    listVi_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void KarvelFm::ListVi_ColumnClick(int column) {
    if (running_) return;
    CopySelectionToRows();
    model_->ResetAround([&] { karvel::ListVi_ColumnClick(targets_, column); });
    ShowSelectionOfRows();
    ShowListState();
}

void KarvelFm::ListVi_MouseUp(Qt::MouseButton button) {
    if (button != Qt::RightButton || targets_.RowCount() == 0 || running_) return;
    menuPopup_->popup(QCursor::pos());
}

void KarvelFm::ListVi_MenuKey() {
    // One key press can arrive both as a key and as a context-menu event.
    if (targets_.RowCount() == 0 || running_ || menuPopup_->isVisible()) return;
    QModelIndex row = listVi_->currentIndex();
    if (!row.isValid()) row = model_->index(0, 0);
    const QRect rect = listVi_->visualRect(row.siblingAtColumn(0));
    // Below the row's start, or the list's corner when the row is scrolled out of sight.
    const QPoint at = listVi_->viewport()->rect().contains(rect.bottomLeft())
                          ? rect.bottomLeft() + QPoint(rect.height() / 2, 0)
                          : QPoint(0, 0);
    menuPopup_->popup(listVi_->viewport()->mapToGlobal(at));
}

void KarvelFm::MenuDEL_Click() {
    if (running_) return;
    CopySelectionToRows();
    model_->ResetAround([&] { RemoveSelectedTargets(targets_); });
    if (targets_.RowCount() == 0) folderWatch_->Stop();
    ShowListState();
}

void KarvelFm::MenuChkOpt1_Click() {
    menuChkOpt1_->trigger();
}

void KarvelFm::MenuEnd_Click() {
    endingWithoutSave_ = true;
    close();
}

void KarvelFm::UpdateClock() {
    const QDateTime now = QDateTime::currentDateTime();
    stsDate_->setText(now.toString(QStringLiteral("yyyy/MM/dd")));
    stsTime_->setText(now.toString(QStringLiteral("HH:mm")));
}

void KarvelFm::OpenHelp() {
    const QString help = QCoreApplication::applicationDirPath() + QStringLiteral("/Pomrell.hlp");
    if (QFileInfo::exists(help)) QDesktopServices::openUrl(QUrl::fromLocalFile(help));
}

QSize KarvelFm::FrameExtra() const {
    return frameGeometry().size() - geometry().size();
}

// --- Values the persisted settings read and write, in twips.

double KarvelFm::WindowLeft() const {
    return twips_->FromPixels(frameGeometry().x());
}
double KarvelFm::WindowTop() const {
    return twips_->FromPixels(frameGeometry().y());
}
double KarvelFm::WindowWidth() const {
    const int outer =
        pendingOuterSize_.width() >= 0 ? pendingOuterSize_.width() : frameGeometry().width();
    return twips_->FromPixels(outer);
}

double KarvelFm::WindowHeight() const {
    const int outer =
        pendingOuterSize_.height() >= 0 ? pendingOuterSize_.height() : frameGeometry().height();
    return twips_->FromPixels(outer);
}

bool KarvelFm::SetWindowLeft(int twips) {
    move(twips_->ToPixels(twips), frameGeometry().y());
    return true;
}

bool KarvelFm::SetWindowTop(int twips) {
    move(frameGeometry().x(), twips_->ToPixels(twips));
    return true;
}

// Before the first showing the frame is unknown and counts as none: the outer size
// is kept for later and, meanwhile, the inner size takes it. Asking for the width
// the window reports already changes nothing, so a missing key keeps the first-start size.
bool KarvelFm::SetWindowWidth(int twips) {
    if (twips < 0) return false;
    const int outer = twips_->ToPixels(twips);
    if (!frameKnown_) {
        if (twips == WindowWidth()) return true;
        pendingOuterSize_.setWidth(outer);
    }
    resize(std::max(0, outer - FrameExtra().width()), height());
    return true;
}

bool KarvelFm::SetWindowHeight(int twips) {
    if (twips < 0) return false;
    const int outer = twips_->ToPixels(twips);
    if (!frameKnown_) {
        if (twips == WindowHeight()) return true;
        pendingOuterSize_.setHeight(outer);
    }
    resize(width(), std::max(0, outer - FrameExtra().height()));
    return true;
}

WindowState KarvelFm::State() const {
    if (isMinimized()) return WindowState::Minimized;
    if (isMaximized()) return WindowState::Maximized;
    return WindowState::Normal;
}

double KarvelFm::ColumnWidth(int column) const {
    return twips_->FromPixels(listVi_->header()->sectionSize(column - 1));
}

bool KarvelFm::SetColumnWidth(int column, int twips) {
    if (column < 1 || column > 3 || twips < 0) return false;
    listVi_->header()->resizeSection(column - 1, twips_->ToPixels(twips));
    return true;
}

std::string KarvelFm::StartNoText() const {
    return txtStartNo_->text().toStdString();
}
void KarvelFm::SetStartNoText(const std::string& text) {
    txtStartNo_->setText(Utf8(text));
}

namespace {

bool SelectItem(QComboBox* list, const std::string& text) {
    const int index = list->findText(QString::fromStdString(text), Qt::MatchExactly);
    list->setCurrentIndex(index);
    return index >= 0;
}

}  // namespace

std::string KarvelFm::ColText() const {
    return cmbCol_->currentText().toStdString();
}
bool KarvelFm::SetColText(const std::string& text) {
    return SelectItem(cmbCol_, text);
}
std::string KarvelFm::TypeText() const {
    return cmbType_->currentText().toStdString();
}
bool KarvelFm::SetTypeText(const std::string& text) {
    return SelectItem(cmbType_, text);
}
int KarvelFm::TimeUpdState() const {
    return chkTime_->Value();
}
bool KarvelFm::SetTimeUpdState(int state) {
    return chkTime_->SetValue(state);
}
int KarvelFm::OptState() const {
    return chkOpt_->Value();
}
bool KarvelFm::SetOptState(int state) {
    return chkOpt_->SetValue(state);
}

}  // namespace karvel
