#include "app/KarvelFm.h"

#include <algorithm>
#include <functional>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
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
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include "app/BusyPointer.h"
#include "app/FolderWatch.h"
#include "app/MessageBox.h"
#include "app/MonthCalendar.h"
#include "app/OpenFilesDialog.h"
#include "app/OptionCheckBox.h"
#include "app/QtText.h"
#include "app/StartNoEdit.h"
#include "app/StatusTexts.h"
#include "app/TargetListView.h"
#include "app/TargetTableModel.h"
#include "app/Twips.h"
#include "app/WindowRunHost.h"
#include "app/WindowSettings.h"
#include "cli/CaptureDates.h"
#include "naming/TextPieces.h"
#include "rename/PosixRunFileSystem.h"
#include "rename/RenameRun.h"
#include "rename/RunHistory.h"
#include "rename/RunMessages.h"
#include "rename/UndoRun.h"
#include "settings/PersistedSettings.h"
#include "targets/DateReading.h"
#include "targets/DropIntake.h"
#include "targets/ListEditing.h"
#include "targets/ListRefresh.h"
#include "targets/OwnDateTexts.h"
#include "targets/RowDates.h"
#include "targets/UriList.h"
#include "texts/FillText.h"
#include "texts/NewcomerTexts.h"
#include "texts/WindowTexts.h"

namespace karvel {

namespace {

// First-start client size, in twips.
constexpr int kClientWidth = 5085;
constexpr int kClientHeight = 7470;

QString Utf8(const std::string& bytes) {
    return TargetTableModel::Display(bytes);
}

// At most this many left-out files are named in the panel's tooltip; the rest are counted.
constexpr std::size_t kLeftOutNamed = 30;

std::string_view LeftOutReasonText(LeftOutReason reason) {
    switch (reason) {
        case LeftOutReason::NotAbsolute:
        case LeftOutReason::Unusable:
            return newcomer::kLeftOutNotAbsolute;
        case LeftOutReason::Missing:
            return newcomer::kLeftOutMissing;
        case LeftOutReason::Folder:
            return newcomer::kLeftOutFolder;
        case LeftOutReason::OtherFolder:
            break;
    }
    return newcomer::kLeftOutOtherFolder;
}

// "( path ) why", one a line under a heading; empty when nothing was left out.
QString LeftOutDetails(const std::vector<LeftOut>& leftOut) {
    if (leftOut.empty()) return {};
    std::string text(newcomer::kLeftOutHeading);
    for (std::size_t i = 0; i < std::min(leftOut.size(), kLeftOutNamed); ++i) {
        text += "\n( " + ShownName(leftOut[i].path) + " ) " +
                std::string(LeftOutReasonText(leftOut[i].reason));
    }
    if (leftOut.size() > kLeftOutNamed) {
        text += "\n" + std::string(newcomer::kLeftOutMore) +
                std::to_string(leftOut.size() - kLeftOutNamed) +
                std::string(newcomer::kLeftOutMoreCount);
    }
    return Utf8(text);
}

// The undo question: the run's folder and when it ran, then the count as ever.
std::string UndoQuestionWithRun(const UndoQuestion& question) {
    const std::string started =
        question.started ? QDateTime::fromSecsSinceEpoch(static_cast<qint64>(*question.started))
                               .toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"))
                               .toStdString()
                         : std::string(newcomer::kUndoStartedUnknown);
    return std::string(newcomer::kUndoFolder) + ShownName(question.folder) + "\r\n" +
           std::string(newcomer::kUndoStarted) + started + "\r\n" +
           UndoConfirmationText(question.files);
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
    model_ = new TargetTableModel(targets_, this);
    controls_ = WindowControls::Build(*this, *model_, *twips_);
    settings_ = std::make_unique<WindowSettings>(*this, controls_, *twips_);
    controls_.client->installEventFilter(this);
    dateTimer_ = new QTimer(this);
    dateTimer_->setInterval(100);
    connect(dateTimer_, &QTimer::timeout, this, &KarvelFm::TakeReadDates);
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
    // Whatever the scale factor or the stored place, the window starts on a screen, whole.
    settings_->FitOnScreen();
    // Lay the client area out now, so sizes are right before the first showing.
    layout()->activate();
    Form_Resize();
    laidOut_ = true;
    MakeRoomForOriginColumn();
}

KarvelFm::~KarvelFm() {
    StopReadingDates();
    // The rows die with this object, before the child widgets: detach the view first.
    controls_.listVi->setModel(nullptr);
}

StoredSettings KarvelFm::Settings() const {
    return settings_->Collect();
}

void KarvelFm::ConnectHandlers() {
    connect(controls_.btnALLClear, &QPushButton::clicked, this, &KarvelFm::BtnALLClear_Click);
    connect(controls_.btnEnd, &QPushButton::clicked, this, &KarvelFm::BtnEnd_Click);
    connect(controls_.btnStart, &QPushButton::clicked, this, &KarvelFm::BtnStart_Click);
    connect(controls_.menuStart, &QAction::triggered, this, &KarvelFm::MenuStart_Click);
    connect(controls_.menuUndo, &QAction::triggered, this, &KarvelFm::MenuUndo_Click);
    connect(controls_.menuChkOpt1, &QAction::toggled, this, [this](bool onTop) {
        // Changing the flag on the live window keeps its place and size.
        if (QWindow* handle = windowHandle()) {
            handle->setFlag(Qt::WindowStaysOnTopHint, onTop);
        } else {
            setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
        }
    });
    connect(controls_.menuEnd, &QAction::triggered, this, &KarvelFm::MenuEnd_Click);
    connect(controls_.menuDel, &QAction::triggered, this, &KarvelFm::MenuDEL_Click);
    connect(controls_.menuOpen, &QAction::triggered, this, &KarvelFm::MenuOpen_Click);
    connect(controls_.menuHelpPage, &QAction::triggered, this, &KarvelFm::OpenHelp);
    connect(controls_.menuAbout, &QAction::triggered, this, &KarvelFm::MenuAbout_Click);
    connect(controls_.listVi, &TargetListView::dropped, this, &KarvelFm::ListVi_OLEDragDrop);
    connect(controls_.listVi, &TargetListView::columnClicked, this, &KarvelFm::ListVi_ColumnClick);
    connect(controls_.listVi, &TargetListView::mouseReleased, this, &KarvelFm::ListVi_MouseUp);
    connect(controls_.listVi, &TargetListView::removeKeyPressed, this, &KarvelFm::MenuDEL_Click);
    connect(controls_.listVi, &TargetListView::menuKeyPressed, this, &KarvelFm::ListVi_MenuKey);
    connect(controls_.txtStartNo, &QLineEdit::textChanged, this, &KarvelFm::TxtStartNo_Change);
    connect(controls_.cmbCol, &QComboBox::currentIndexChanged, this, &KarvelFm::CmbCol_Click);
    connect(controls_.cmbType, &QComboBox::currentIndexChanged, this, &KarvelFm::CmbType_Click);
    connect(controls_.monthView1, &QCalendarWidget::selectionChanged, this,
            &KarvelFm::MonthView1_DateChange);
    connect(controls_.cmbDateFrom, &QComboBox::currentIndexChanged, this,
            &KarvelFm::CmbDateFrom_Click);
    connect(folderWatch_, &FolderWatch::changed, this, &KarvelFm::ReReadTargetFolder);
}

void KarvelFm::Form_Load() {
    setWindowTitle(QtText(FillText(kWindowTitle, {KARVEL_VERSION})));
    const StoredSettings stored = LoadSettings(iniPath_);
    settings_->RestorePlacement(stored.placement);
    controls_.FillLists();
    settings_->RestoreOptions(stored.options);
    CmbDateFrom_Click();
    controls_.monthView1->setSelectedDate(QDate::currentDate());
    controls_.menuUndo->setEnabled(CanUndo(stateFolder_));
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
    if (!endingWithoutSave_) SaveSettings(iniPath_, settings_->Collect());
    event->accept();
}

void KarvelFm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!settings_->FrameKnown() && windowHandle() != nullptr)
        windowHandle()->installEventFilter(this);
}

bool KarvelFm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == controls_.client && event->type() == QEvent::Resize) Form_Resize();
    // The first exposure comes after the window manager has framed the window.
    if (!settings_->FrameKnown() && watched == windowHandle() && event->type() == QEvent::Expose &&
        windowHandle()->isExposed()) {
        windowHandle()->removeEventFilter(this);
        settings_->FrameBecameKnown();
        MakeRoomForOriginColumn();  // a stored width comes back only now
    }
    return QMainWindow::eventFilter(watched, event);
}

void KarvelFm::Form_Resize() {
    controls_.LayOut(*twips_);
}

void KarvelFm::RecomputeNames() {
    if (targets_.RowCount() == 0 || running_) return;
    RefreshList(targets_, ListChanges::Names(CurrentNamingOptions()));
    model_->NamesChanged();
    ShowStartReady();
}

void KarvelFm::CmbDateFrom_Click() {
    const DateSource source = controls_.CurrentDateSource();
    // The calendar names nothing while the files' own dates do.
    controls_.monthView1->setEnabled(source == DateSource::Calendar && !running_);
    controls_.listVi->setColumnHidden(3, source == DateSource::Calendar);
    if (laidOut_) MakeRoomForOriginColumn();
    model_->SetDateSource(source);
    ReadOwnDates();
    RecomputeNames();
}

// The origin column, where shown, as wide as its texts; the window widens, as far as its
// screen allows, so that the four columns stand side by side.
void KarvelFm::MakeRoomForOriginColumn() {
    if (controls_.listVi->isColumnHidden(3)) return;
    const DateSource source = controls_.CurrentDateSource();
    QHeaderView* header = controls_.listVi->header();
    const QFontMetrics metrics(controls_.listVi->font());
    int wanted = header->sectionSizeHint(3);
    std::vector<std::string_view> texts = {kDateSourceModified};
    if (source == DateSource::Taken)
        texts = {kDateSourceTaken, kDateOriginModifiedInstead, kDateOriginPending};
    for (const std::string_view text : texts)
        wanted = std::max(wanted,
                          metrics.horizontalAdvance(QtText(text)) + 2 * metrics.averageCharWidth());
    header->resizeSection(3, wanted);
    // A long list has a vertical scroll bar; its room is kept.
    const int needed = header->length() + 2 * controls_.listVi->frameWidth() +
                       style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int shortfall = needed - controls_.listVi->width();
    if (shortfall <= 0) return;
    int width = this->width() + shortfall;
    if (const QScreen* on = screen()) {
        const int frame = frameGeometry().width() - geometry().width();
        width = std::min(width, on->availableGeometry().width() - frame);
    }
    if (width > this->width()) resize(width, height());
}

void KarvelFm::ReadOwnDates() {
    if (dateReading_ || running_ || targets_.WantsDrop() ||
        controls_.CurrentDateSource() != DateSource::Taken)
        return;
    std::vector<std::string> names;
    readingIds_.clear();
    for (const TargetRow& row : targets_.Rows()) {
        if (row.Taken) continue;
        names.push_back(row.BeforeName);
        readingIds_.push_back(row.Identity);
    }
    if (names.empty()) return;
    const unsigned threads = static_cast<unsigned>(std::max(1, QThread::idealThreadCount()));
    dateReading_ = std::make_unique<DateReading>(targets_.TargetFolder(), std::move(names),
                                                 &ReadCaptureDate, threads);
    controls_.runProgress->setRange(0, static_cast<int>(dateReading_->Total()));
    controls_.runProgress->setValue(0);
    controls_.runProgress->setFormat(Utf8(std::string(kDatesReadingFormat)));
    controls_.runProgress->setToolTip(controls_.runProgress->text());
    controls_.runProgress->show();
    dateTimer_->start();
}

void KarvelFm::StopReadingDates() {
    dateTimer_->stop();
    dateReading_.reset();
    readingIds_.clear();
    controls_.runProgress->hide();
    controls_.runProgress->setToolTip({});
}

void KarvelFm::TakeReadDates() {
    if (!dateReading_) return;
    const bool done = dateReading_->Done();
    std::vector<std::pair<FileId, OwnDate>> dates;
    for (auto& [index, date] : dateReading_->Take()) dates.emplace_back(readingIds_[index], date);
    controls_.runProgress->setValue(static_cast<int>(dateReading_->Finished()));
    controls_.runProgress->setToolTip(controls_.runProgress->text());
    if (done) StopReadingDates();
    if (dates.empty()) return;
    TakeCaptureDates(targets_, dates);
    RecomputeNames();
}

void KarvelFm::ShowStartReady() {
    const bool ready = targets_.DatesPending() == 0 && !running_;
    controls_.btnStart->setEnabled(ready);
    controls_.menuStart->setEnabled(ready);
}

void KarvelFm::WatchTargetFolder() {
    if (!MarksCanShow()) {
        folderWatch_->Stop();
        return;
    }
    folderWatch_->Watch(targets_.TargetFolder());
}

bool KarvelFm::MarksCanShow() const {
    // A list that asks for a new drop (after a run) shows no marks, whatever the folder holds.
    return targets_.RowCount() != 0 && !targets_.WantsDrop() && !running_;
}

void KarvelFm::ReReadTargetFolder() {
    // A run changes the folder under the rows; it is read once the run is over.
    if (!MarksCanShow()) return;
    ++folderReReads_;
    RefreshList(targets_, ListChanges::Folder());
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
    controls_.lblDirName->setText(Utf8(targets_.TargetFolder()));
    controls_.stsBarCnt->setText(Utf8(StsBarCntOf(targets_)));
    controls_.stsBarText->setText(Utf8(std::string(StsBarTextOf(targets_.State()))));
    controls_.listVi->header()->setSortIndicatorShown(targets_.Sorted());
    controls_.listVi->header()->setSortIndicator(
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
    folderWatch_->Stop();
    {
        WindowRunHost host(*this, controls_, [this] { return stopRequested_; });
        command(host);
    }
    running_ = false;
    ShowListState();
    model_->NamesChanged();  // a run clears the marks
    controls_.monthView1->setEnabled(controls_.CurrentDateSource() == DateSource::Calendar);
    ShowStartReady();
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
        RunSettings settings{controls_.SelectedDate(), controls_.chkTime->Value() == 1,
                             controls_.CurrentDateSource()};
        // Where the preview knows the run will stop, that warning is the one question.
        settings.warnOfKnownStop = true;
        StateRecords records(stateFolder_);
        karvel::StartRun(targets_, settings, host, *runFileSystem_, &records);
        // A run that kept its undo record needs no look at the history.
        controls_.menuUndo->setEnabled(records.KeptUndoRecord() || CanUndo(stateFolder_));
    });
}

void KarvelFm::MenuStart_Click() {
    BtnStart_Click();
}

void KarvelFm::MenuUndo_Click() {
    // Undo may rename the files being read: the reading starts again after it.
    StopReadingDates();
    RunFileCommand([this](WindowRunHost& host) {
        UndoLastRun(stateFolder_, host, *runFileSystem_, UndoQuestionWithRun);
        controls_.menuUndo->setEnabled(CanUndo(stateFolder_));
    });
    ReadOwnDates();
}

void KarvelFm::SetStateFolder(std::string folder) {
    stateFolder_ = std::move(folder);
    controls_.menuUndo->setEnabled(CanUndo(stateFolder_));
}

void KarvelFm::BtnALLClear_Click() {
    if (running_) return;
    StopReadingDates();
    model_->ResetAround([this] { targets_.AllClear(); });
    folderWatch_->Stop();
    controls_.ShowLeftOut(0, QString(), *twips_);
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
        // The emptied list and the loading text are on screen while the files are read.
        StopReadingDates();
        model_->ResetAround([this] {
            targets_.AllClear();
            targets_.SetState(ListState::Loading);
        });
        ShowListState();
        repaint();
        // Hidden while rows are added; shown once, after the last.
        controls_.listVi->hide();
        std::vector<LeftOut> leftOut;
        model_->ResetAround([&] { leftOut = TakeInDrop(targets_, paths, CurrentNamingOptions()); });
        controls_.listVi->show();
        controls_.ShowLeftOut(leftOut.size(), LeftOutDetails(leftOut), *twips_);
    }
    WatchTargetFolder();
    ShowListState();
    ReadOwnDates();
    ShowStartReady();
}

void KarvelFm::CopySelectionToRows() {
    auto& rows = targets_.MutableRows();
    for (auto& row : rows) row.Selected = false;
    for (const QModelIndex& index : controls_.listVi->selectionModel()->selectedRows()) {
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
                         model_->index(static_cast<int>(last), 3));
        first = last;
    }
    controls_.listVi->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void KarvelFm::ListVi_ColumnClick(int column) {
    // Columns count from 1 here, as the header's clicks come.
    if (running_ || column < 1 || column > 3) return;
    CopySelectionToRows();
    model_->ResetAround([&] { SortBy(targets_, static_cast<SortColumn>(column - 1)); });
    ShowSelectionOfRows();
    ShowListState();
}

void KarvelFm::ListVi_MouseUp(Qt::MouseButton button) {
    if (button != Qt::RightButton || targets_.RowCount() == 0 || running_) return;
    controls_.menuPopup->popup(QCursor::pos());
}

void KarvelFm::ListVi_MenuKey() {
    // One key press can arrive both as a key and as a context-menu event.
    if (targets_.RowCount() == 0 || running_ || controls_.menuPopup->isVisible()) return;
    QModelIndex row = controls_.listVi->currentIndex();
    if (!row.isValid()) row = model_->index(0, 0);
    const QRect rect = controls_.listVi->visualRect(row.siblingAtColumn(0));
    // Below the row's start, or the list's corner when the row is scrolled out of sight.
    const QPoint at = controls_.listVi->viewport()->rect().contains(rect.bottomLeft())
                          ? rect.bottomLeft() + QPoint(rect.height() / 2, 0)
                          : QPoint(0, 0);
    controls_.menuPopup->popup(controls_.listVi->viewport()->mapToGlobal(at));
}

void KarvelFm::MenuDEL_Click() {
    if (running_) return;
    CopySelectionToRows();
    model_->ResetAround([&] { RemoveSelectedTargets(targets_); });
    if (targets_.RowCount() == 0) folderWatch_->Stop();
    ShowListState();
}

void KarvelFm::MenuChkOpt1_Click() {
    controls_.menuChkOpt1->trigger();
}

void KarvelFm::MenuEnd_Click() {
    endingWithoutSave_ = true;
    close();
}

void KarvelFm::MenuOpen_Click() {
    if (running_) return;
    const std::vector<std::string> paths = OpenFilesDialog::Ask(this, targets_.TargetFolder());
    if (paths.empty()) return;  // cancelled: the list stays as it is
    TakeInPaths(paths);
}

void KarvelFm::OpenHelp() {
    // Beside the window program as installed, the build's copy, then the install's place.
    const QString candidates[] = {
        QCoreApplication::applicationDirPath() + QStringLiteral("/" KARVEL_HELP_FROM_WINDOW),
        QStringLiteral(KARVEL_HELP_BUILD_PATH), QStringLiteral(KARVEL_HELP_PATH)};
    for (const QString& page : candidates) {
        if (!QFileInfo(page).isFile()) continue;
        const QString path = QFileInfo(page).canonicalFilePath();
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
            MessageBox::Show(this, MessageIcon::Warning,
                             std::string(newcomer::kHelpNotOpened) + "\r\n" + path.toStdString());
        }
        return;
    }
    std::string text(newcomer::kHelpMissing);
    for (const QString& page : candidates) text += "\r\n" + QDir::cleanPath(page).toStdString();
    MessageBox::Show(this, MessageIcon::Warning, text);
}

void KarvelFm::MenuAbout_Click() {
    MessageBox::Show(this, MessageIcon::Information,
                     windowTitle().toStdString() + "\r\n" + std::string(newcomer::kAboutLine));
}

}  // namespace karvel
