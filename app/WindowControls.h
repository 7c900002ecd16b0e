#pragma once
// The window's controls: built, named and placed at their first-start positions, laid out
// again as the window's size changes, and locked while a run is in progress.

#include <cstddef>

#include "naming/NewNames.h"

class QAction;
class QComboBox;
class QLabel;
class QMainWindow;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QString;
class QWidget;

namespace karvel {

class MonthCalendar;
class OptionCheckBox;
class StartNoEdit;
class TargetListView;
class TargetTableModel;
class Twips;

struct WindowControls {
    // Builds every control, menu and status panel of `window` over the list's `model`.
    static WindowControls Build(QMainWindow& window, TargetTableModel& model, const Twips& twips);

    // Gives the digit and pattern lists their items, neither selected.
    void FillLists() const;
    // The option panel and the status bar are docked to the bottom edge; the list takes
    // the height they leave.
    void LayOut(const Twips& twips) const;
    // While a run is in progress nothing may change the list or the names under it.
    void LockForRun(bool locked) const;
    void ShowRunRow(std::size_t row) const;
    void ShowRunProgress(std::size_t done, std::size_t total) const;
    void ShowClock() const;
    // The panel for files a drop left out: `count` and, in its tooltip, each one and why;
    // hidden when none was.
    void ShowLeftOut(std::size_t count, const QString& details, const Twips& twips) const;

    CalendarDate SelectedDate() const;
    DateSource CurrentDateSource() const;
    // The naming options as the controls hold them now.
    NamingOptions CurrentNamingOptions() const;

    TargetTableModel* model = nullptr;
    QWidget* client = nullptr;
    QLabel* lblDirName = nullptr;
    TargetListView* listVi = nullptr;
    QWidget* picture1 = nullptr;
    QStatusBar* stsBar = nullptr;
    MonthCalendar* monthView1 = nullptr;
    StartNoEdit* txtStartNo = nullptr;
    QComboBox* cmbCol = nullptr;
    QComboBox* cmbType = nullptr;
    QComboBox* cmbDateFrom = nullptr;
    OptionCheckBox* chkTime = nullptr;
    OptionCheckBox* chkOpt = nullptr;
    QPushButton* btnStart = nullptr;
    QPushButton* btnALLClear = nullptr;
    QPushButton* btnEnd = nullptr;
    QLabel* stsDate = nullptr;
    QLabel* stsTime = nullptr;
    QLabel* stsBarCnt = nullptr;
    QLabel* stsBarText = nullptr;
    QLabel* stsBarLeftOut = nullptr;
    QProgressBar* runProgress = nullptr;
    QMenu* menuPopup = nullptr;
    QAction* menuOpen = nullptr;
    QAction* menuStart = nullptr;
    QAction* menuUndo = nullptr;
    QAction* menuChkOpt1 = nullptr;
    QAction* menuEnd = nullptr;
    QAction* menuDel = nullptr;
    QMenu* menuHelp = nullptr;
    QAction* menuHelpPage = nullptr;
    QAction* menuAbout = nullptr;
};

}  // namespace karvel
