#pragma once
// The program's only window. It shows the core's state and forwards the user's
// events to it; the rules live in the core.

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/WindowControls.h"
#include "settings/PersistedSettings.h"
#include "targets/TargetList.h"

class QMimeData;
class QTimer;

namespace karvel {

class DateReading;
class FolderWatch;
class RunFileSystem;
class TargetTableModel;
class WindowRunHost;
class WindowSettings;
class Twips;

class KarvelFm : public QMainWindow {
    Q_OBJECT
  public:
    // `iniPath` is the settings file this window restores from and saves to.
    explicit KarvelFm(std::string iniPath, QWidget* parent = nullptr);
    ~KarvelFm() override;

    TargetList& Targets() { return targets_; }
    const std::string& IniPath() const { return iniPath_; }
    // The naming options as the controls hold them now.
    NamingOptions CurrentNamingOptions() const { return controls_.CurrentNamingOptions(); }
    // Placement, column widths and options as a close would save them now.
    StoredSettings Settings() const;

    // Where runs keep what undo needs and take their lock (the user's state folder by default).
    void SetStateFolder(std::string folder);
    // Tests: the run's file system (the real disk by default).
    void SetRunFileSystem(std::unique_ptr<RunFileSystem> fileSystem);
    bool RunInProgress() const { return running_; }
    // How often the list's folder was read again after the drop that listed it.
    std::size_t FolderReReads() const { return folderReReads_; }

    // Takes files in as a drop does; paths are absolute, as bytes.
    void TakeInPaths(const std::vector<std::string>& paths);

    // Commands and handlers, named after their control and event.
    void ListVi_OLEDragDrop(const QMimeData* dropped);
    void ListVi_ColumnClick(int column);
    void ListVi_MouseUp(Qt::MouseButton button);
    // The context-menu key or Shift+F10 on the list: its menu at the current row.
    void ListVi_MenuKey();
    void MenuDEL_Click();
    // The file menu's open command: the picked files come in as a drop's.
    void MenuOpen_Click();
    // F1 and the help menu: the help page in the desktop's browser.
    void OpenHelp();
    void MenuAbout_Click();
    void BtnStart_Click();
    void MenuStart_Click();
    void MenuUndo_Click();
    void BtnALLClear_Click();
    void BtnEnd_Click();
    void MenuChkOpt1_Click();
    void MenuEnd_Click();
    void TxtStartNo_Change();
    void CmbCol_Click();
    void CmbType_Click();
    void MonthView1_DateChange();
    void CmbDateFrom_Click();
    // Whether the files' own dates are being read; tests wait for the reading to end.
    bool ReadingDates() const { return dateReading_ != nullptr; }
    void Form_Resize();

  protected:
    void closeEvent(QCloseEvent* event) override;  // Form_QueryUnload
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ConnectHandlers();
    void Form_Load();
    // Rebuilds every After Name from the options, unless the list is empty.
    void RecomputeNames();
    // While rows are listed and no run is in progress the list's folder is watched,
    // and the conflict marks follow it.
    void WatchTargetFolder();
    bool MarksCanShow() const;
    void ReReadTargetFolder();
    // Shows the core's folder, count and status text.
    void ShowListState();
    void BringToFront();
    // The view's selection is the user's; the rows' flags follow it before use.
    void CopySelectionToRows();
    void ShowSelectionOfRows();
    // With the capture time as the source, the rows that have none read yet are read in the
    // background; their names come as their dates do.
    void ReadOwnDates();
    void MakeRoomForOriginColumn();
    void StopReadingDates();
    void TakeReadDates();
    // Start waits until every row has its date.
    void ShowStartReady();
    // Runs a command that changes files: nothing else starts meanwhile, and a close asked
    // for during it happens once it is over.
    void RunFileCommand(const std::function<void(WindowRunHost&)>& command);

    std::string iniPath_;
    std::unique_ptr<Twips> twips_;
    TargetList targets_;
    TargetTableModel* model_ = nullptr;
    WindowControls controls_;
    std::unique_ptr<WindowSettings> settings_;
    FolderWatch* folderWatch_ = nullptr;
    std::size_t folderReReads_ = 0;
    bool endingWithoutSave_ = false;
    std::unique_ptr<RunFileSystem> runFileSystem_;
    std::string stateFolder_;
    bool running_ = false;
    bool stopRequested_ = false;  // a close came in during the run
    bool closeAfterRun_ = false;
    std::unique_ptr<DateReading> dateReading_;
    std::vector<FileId> readingIds_;  // the file of each name being read
    QTimer* dateTimer_ = nullptr;
    bool laidOut_ = false;  // the controls have their first-start places
};

}  // namespace karvel
