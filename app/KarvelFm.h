#pragma once
// The program's only window. It shows the core's state and forwards the user's
// events to it; the rules live in the core.

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "naming/NewNames.h"
#include "settings/SettingsWindow.h"
#include "targets/TargetList.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QMimeData;
class QStatusBar;

namespace karvel {

class FolderWatch;
class MonthCalendar;
class RunFileSystem;
class OptionCheckBox;
class StartNoEdit;
class TargetListView;
class TargetTableModel;
class WindowRunHost;
class Twips;

class KarvelFm : public QMainWindow, public SettingsWindow {
    Q_OBJECT
  public:
    // `iniPath` is the settings file this window restores from and saves to.
    explicit KarvelFm(std::string iniPath, QWidget* parent = nullptr);
    ~KarvelFm() override;

    TargetList& Targets() { return targets_; }
    const std::string& IniPath() const { return iniPath_; }
    // The naming options as the controls hold them now.
    NamingOptions CurrentNamingOptions() const;

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
    void Form_Resize();

    // SettingsWindow
    double WindowLeft() const override;
    double WindowTop() const override;
    double WindowWidth() const override;
    double WindowHeight() const override;
    bool SetWindowLeft(int twips) override;
    bool SetWindowTop(int twips) override;
    bool SetWindowWidth(int twips) override;
    bool SetWindowHeight(int twips) override;
    WindowState State() const override;
    double ColumnWidth(int column) const override;
    bool SetColumnWidth(int column, int twips) override;
    std::string StartNoText() const override;
    void SetStartNoText(const std::string& text) override;
    std::string ColText() const override;
    bool SetColText(const std::string& text) override;
    std::string TypeText() const override;
    bool SetTypeText(const std::string& text) override;
    int TimeUpdState() const override;
    bool SetTimeUpdState(int state) override;
    int OptState() const override;
    bool SetOptState(int state) override;

  protected:
    void closeEvent(QCloseEvent* event) override;  // Form_QueryUnload
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    friend class WindowRunHost;

    void BuildControls();
    void BuildMenus();
    void BuildStatusBar();
    void ConnectHandlers();
    void Form_Load();
    void PlaceInTwips(QWidget* widget, int left, int top, int width, int height) const;
    // Rebuilds every After Name from the options, unless the list is empty.
    void RecomputeNames();
    // While rows are listed and no run is in progress the list's folder is watched,
    // and the conflict marks follow it.
    void WatchTargetFolder();
    void ReReadTargetFolder();
    // Shows the core's folder, count and status text.
    void ShowListState();
    void UpdateClock();
    void BringToFront();
    // The view's selection is the user's; the rows' flags follow it before use.
    void CopySelectionToRows();
    void ShowSelectionOfRows();
    void OpenHelp();
    // Runs a command that changes files: nothing else starts meanwhile, and a close asked
    // for during it happens once it is over.
    void RunFileCommand(const std::function<void(WindowRunHost&)>& command);
    // While a run is in progress nothing may change the list or the names under it.
    void LockForRun(bool locked);
    bool RunStopRequested() const { return stopRequested_; }
    void ShowRunRow(std::size_t row);
    void ShowRunProgress(std::size_t done, std::size_t total);
    // Outer frame minus inner geometry, in pixels.
    QSize FrameExtra() const;
    // A stored outer size asked for before the frame was known, applied once it is.
    void ApplyPendingOuterSize();

    std::string iniPath_;
    std::unique_ptr<Twips> twips_;
    TargetList targets_;
    TargetTableModel* model_ = nullptr;
    FolderWatch* folderWatch_ = nullptr;
    std::size_t folderReReads_ = 0;
    bool endingWithoutSave_ = false;
    std::unique_ptr<RunFileSystem> runFileSystem_;
    std::string stateFolder_;
    bool running_ = false;
    bool stopRequested_ = false;  // a close came in during the run
    bool closeAfterRun_ = false;
    // The window manager tells the frame only once the window is on screen; until
    // then an outer size is kept here (-1: none asked for).
    bool frameKnown_ = false;
    QSize pendingOuterSize_{-1, -1};

    QWidget* client_ = nullptr;
    QLabel* lblDirName_ = nullptr;
    TargetListView* listVi_ = nullptr;
    QWidget* picture1_ = nullptr;
    QStatusBar* stsBar_ = nullptr;
    MonthCalendar* monthView1_ = nullptr;
    StartNoEdit* txtStartNo_ = nullptr;
    QComboBox* cmbCol_ = nullptr;
    QComboBox* cmbType_ = nullptr;
    OptionCheckBox* chkTime_ = nullptr;
    OptionCheckBox* chkOpt_ = nullptr;
    QPushButton* btnStart_ = nullptr;
    QPushButton* btnALLClear_ = nullptr;
    QPushButton* btnEnd_ = nullptr;
    QLabel* stsDate_ = nullptr;
    QLabel* stsTime_ = nullptr;
    QLabel* stsBarCnt_ = nullptr;
    QLabel* stsBarText_ = nullptr;
    QProgressBar* runProgress_ = nullptr;
    QMenu* menuPopup_ = nullptr;
    QAction* menuStart_ = nullptr;
    QAction* menuUndo_ = nullptr;
    QAction* menuChkOpt1_ = nullptr;
    QAction* menuEnd_ = nullptr;
    QAction* menuDel_ = nullptr;
};

}  // namespace karvel
