#include "app/WindowControls.h"

#include <algorithm>
#include <initializer_list>

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include "app/JapaneseFont.h"
#include "app/LayoutRules.h"
#include "app/MonthCalendar.h"
#include "app/OptionCheckBox.h"
#include "app/QtText.h"
#include "app/StartNoEdit.h"
#include "app/TargetListView.h"
#include "app/TargetTableModel.h"
#include "app/Twips.h"
#include "targets/OwnDateTexts.h"
#include "texts/NewcomerTexts.h"
#include "texts/WindowTexts.h"

namespace karvel {

namespace {

// Column widths the list has before the stored ones are applied.
constexpr int kFirstStartColumnWidths[3] = {4000, 1440, 1100};
// The progress strip's height; the option panel leaves 120 twips free below its buttons.
constexpr int kProgressStripTwips = 90;

// Places a widget at a position and size given in twips.
auto Placer(const Twips& twips) {
    return [&twips](QWidget* widget, int left, int top, int width, int height) {
        widget->setGeometry(twips.ToPixels(left), twips.ToPixels(top), twips.ToPixels(width),
                            twips.ToPixels(height));
    };
}

void ShowDateAndTime(QLabel& date, QLabel& time) {
    const QDateTime now = QDateTime::currentDateTime();
    date.setText(now.toString(QStringLiteral("yyyy/MM/dd")));
    time.setText(now.toString(QStringLiteral("HH:mm")));
}

QString Utf8Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void BuildControls(WindowControls& c, QMainWindow& window, TargetTableModel& model,
                   const Twips& twips) {
    const auto place = Placer(twips);
    c.client = new QWidget(&window);
    c.client->setObjectName(QStringLiteral("ClientArea"));
    window.setCentralWidget(c.client);

    c.lblDirName = new QLabel(QtText(kFolderLabelFirst), c.client);
    c.lblDirName->setObjectName(QStringLiteral("LblDirName"));
    place(c.lblDirName, 0, 40, 4335, 255);

    c.listVi = new TargetListView(c.client);
    c.listVi->setObjectName(QStringLiteral("ListVi"));
    c.model = &model;
    c.listVi->setModel(&model);
    c.listVi->setRootIsDecorated(false);
    c.listVi->setItemsExpandable(false);
    c.listVi->setUniformRowHeights(true);
    c.listVi->setAllColumnsShowFocus(true);
    c.listVi->setSelectionMode(QAbstractItemView::ExtendedSelection);
    c.listVi->setSelectionBehavior(QAbstractItemView::SelectRows);
    c.listVi->setEditTriggers(QAbstractItemView::NoEditTriggers);
    c.listVi->setSortingEnabled(false);
    c.listVi->header()->setSectionsClickable(true);
    c.listVi->header()->setStretchLastSection(false);
    c.listVi->header()->setSectionsMovable(false);
    place(c.listVi, 0, 360, 4335, 2175);
    for (int column = 0; column < 3; ++column) {
        c.listVi->header()->resizeSection(column, twips.ToPixels(kFirstStartColumnWidths[column]));
    }

    c.picture1 = new QWidget(c.client);
    c.picture1->setObjectName(QStringLiteral("Picture1"));
    place(c.picture1, 0, 3780, 5085, 3435);

    c.monthView1 = new MonthCalendar(c.picture1);
    c.monthView1->setObjectName(QStringLiteral("MonthView1"));
    place(c.monthView1, 120, 120, 2385, 2220);

    auto* label2 = new QLabel(QtText(kStartNoLabel), c.picture1);
    label2->setObjectName(QStringLiteral("Label2"));
    place(label2, 2760, 165, 1095, 255);

    c.txtStartNo = new StartNoEdit(c.picture1);
    c.txtStartNo->setObjectName(QStringLiteral("TxtStartNo"));
    c.txtStartNo->setText(QtText(kStartNoFirst));
    // Half-width digits: the narrow box shows a five-digit number whole.
    c.txtStartNo->setFont(JapaneseGothicFont(9, false, Pitch::Fixed));
    place(c.txtStartNo, 3960, 120, 615, 270);

    c.cmbCol = new QComboBox(c.picture1);
    c.cmbCol->setObjectName(QStringLiteral("CmbCol"));
    c.cmbCol->setEditable(false);
    place(c.cmbCol, 2760, 480, 615, 300);

    auto* label1 = new QLabel(QtText(kDigitsLabel), c.picture1);
    label1->setObjectName(QStringLiteral("Label1"));
    place(label1, 3405, 525, 1335, 255);

    c.chkTime = new OptionCheckBox(QtText(kKeepDateOption), c.picture1);
    c.chkTime->setObjectName(QStringLiteral("ChkTime"));
    place(c.chkTime, 2760, 840, 2295, 375);

    c.cmbType = new QComboBox(c.picture1);
    c.cmbType->setObjectName(QStringLiteral("CmbType"));
    c.cmbType->setEditable(false);
    place(c.cmbType, 2760, 1320, 2175, 300);

    c.chkOpt = new OptionCheckBox(QtText(kCarryOptions), c.picture1);
    c.chkOpt->setObjectName(QStringLiteral("ChkOpt"));
    place(c.chkOpt, 2760, 1800, 2295, 375);

    const auto makeButton = [&c](const char* name, const QString& caption) {
        auto* button = new QPushButton(caption, c.picture1);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        return button;
    };
    c.btnStart = makeButton("BtnStart", QtText(kStartButton));
    place(c.btnStart, 2760, 2280, 2175, 615);
    c.btnALLClear = makeButton("BtnALLClear", QtText(kClearButton));
    place(c.btnALLClear, 120, 2520, 1095, 375);
    c.btnEnd = makeButton("BtnEnd", QtText(kEndButton));
    place(c.btnEnd, 1440, 2520, 1095, 375);

    // Where the rows' dates come from, on a row of its own under the calendar it replaces.
    auto* lblDateFrom = new QLabel(Utf8Text(kDateOriginHeader), c.picture1);
    lblDateFrom->setObjectName(QStringLiteral("LblDateFrom"));
    place(lblDateFrom, 120, 3045, 1095, 255);
    c.cmbDateFrom = new QComboBox(c.picture1);
    c.cmbDateFrom->setObjectName(QStringLiteral("CmbDateFrom"));
    c.cmbDateFrom->setEditable(false);
    place(c.cmbDateFrom, 1215, 3000, 1860, 300);
    lblDateFrom->setBuddy(c.cmbDateFrom);

    c.btnStart->setFont(JapaneseGothicFont(9, true));
    for (QPushButton* button : {c.btnStart, c.btnEnd}) {
        QPalette palette = button->palette();
        palette.setColor(QPalette::Button, QColor(224, 224, 224));
        button->setPalette(palette);
    }

    // Tab order: list, digits, start number, calendar, End, ALL Clear, Start, the two check boxes,
    // pattern.
    const QWidget* order[] = {c.listVi,  c.cmbCol,      c.txtStartNo, c.monthView1,
                              c.btnEnd,  c.btnALLClear, c.btnStart,   c.chkTime,
                              c.cmbType, c.chkOpt,      c.cmbDateFrom};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        QWidget::setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
    }
}

void BuildMenus(WindowControls& c, QMainWindow& window) {
    QMenu* menuFile = window.menuBar()->addMenu(QtText(kFileMenu));
    menuFile->setObjectName(QStringLiteral("MenuFILE"));
    // Files come in from the keyboard too, as a drop brings them.
    c.menuOpen = menuFile->addAction(Utf8(newcomer::kMenuOpen));
    c.menuOpen->setObjectName(QStringLiteral("MenuOpen"));
    c.menuOpen->setShortcut(QKeySequence::Open);
    menuFile->addSeparator()->setObjectName(QStringLiteral("MenuOpenBar"));
    c.menuStart = menuFile->addAction(QtText(kStartMenu));
    c.menuStart->setObjectName(QStringLiteral("MenuStart"));
    c.menuUndo = menuFile->addAction(QtText(kUndoMenu));
    c.menuUndo->setObjectName(QStringLiteral("MenuUndo"));
    menuFile->addSeparator()->setObjectName(QStringLiteral("MenuSOUSA1"));
    c.menuChkOpt1 = menuFile->addAction(QtText(kOnTopMenu));
    c.menuChkOpt1->setObjectName(QStringLiteral("MenuChkOpt1"));
    c.menuChkOpt1->setCheckable(true);
    menuFile->addSeparator()->setObjectName(QStringLiteral("MenuOptBar4"));
    c.menuEnd = menuFile->addAction(QtText(kEndMenu));
    c.menuEnd->setObjectName(QStringLiteral("MenuEnd"));

    c.menuHelp = window.menuBar()->addMenu(Utf8(newcomer::kMenuHelp));
    c.menuHelp->setObjectName(QStringLiteral("MenuHELP"));
    c.menuHelpPage = c.menuHelp->addAction(Utf8(newcomer::kMenuHelpPage));
    c.menuHelpPage->setObjectName(QStringLiteral("MenuHelpPage"));
    c.menuHelpPage->setShortcut(QKeySequence(Qt::Key_F1));
    c.menuAbout = c.menuHelp->addAction(Utf8(newcomer::kMenuAbout));
    c.menuAbout->setObjectName(QStringLiteral("MenuAbout"));

    // The list's context menu; never part of the menu bar.
    c.menuPopup = new QMenu(QtText(kPopupMenu), &window);
    c.menuPopup->setObjectName(QStringLiteral("MenuPOPUP"));
    c.menuDel = c.menuPopup->addAction(QtText(kRemoveMenu));
    c.menuDel->setObjectName(QStringLiteral("MenuDEL"));
}

void BuildStatusBar(WindowControls& c, QMainWindow& window, const Twips& twips) {
    const auto place = Placer(twips);
    c.stsBar = new QStatusBar(c.client);
    c.stsBar->setObjectName(QStringLiteral("StsBar"));
    c.stsBar->setSizeGripEnabled(false);
    place(c.stsBar, 0, 7215, 5085, 255);
    // Small enough that the longest status text fits whole at the first-start width.
    c.stsBar->setFont(JapaneseGothicFont(7.5, false));

    // A fixed panel grows to its widest text, so a large font never cuts the date off.
    const auto addPanel = [&c, &twips](const char* key, int minimumTwips, int stretch,
                                       const QString& widest) {
        auto* panel = new QLabel(c.stsBar);
        panel->setObjectName(QString::fromLatin1(key));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        const int textWidth =
            panel->fontMetrics().horizontalAdvance(widest) + 2 * panel->frameWidth() + 6;
        const int width = std::max(twips.ToPixels(minimumTwips), textWidth);
        panel->setMinimumWidth(width);
        if (stretch == 0) panel->setMaximumWidth(width);
        c.stsBar->addWidget(panel, stretch);
        return panel;
    };
    c.stsDate = addPanel("StsBarDate", 1000, 0, QStringLiteral("0000/00/00"));
    c.stsTime = addPanel("StsBarTime", 800, 0, QStringLiteral("00:00"));
    c.stsBarCnt = addPanel("StsBarCnt", 700, 0, QString());
    // The text panel takes what the fixed ones leave, never more: a wider one would
    // run past the bar's right edge and cut its text off there.
    c.stsBarText = addPanel("StsBarText", 0, 1, QString());
    c.stsBarText->setMinimumWidth(1);

    // Files a drop left out, only after a drop that left some out: a second row of the
    // status bar, its panel under the status text's right end. In the first row it would
    // cut the status text at the first-start width.
    c.stsBarLeftOut = new QLabel(c.client);
    c.stsBarLeftOut->setObjectName(QStringLiteral("StsBarLeftOut"));
    c.stsBarLeftOut->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    c.stsBarLeftOut->setFont(c.stsBar->font());
    c.stsBarLeftOut->setAlignment(Qt::AlignCenter);
    c.stsBarLeftOut->hide();

    // Files done of files listed, a thin strip along the status bar's top edge while a run
    // is in progress: it takes no room from the panels' texts.
    c.runProgress = new QProgressBar(c.client);
    c.runProgress->setObjectName(QStringLiteral("RunProgress"));
    c.runProgress->setTextVisible(false);
    c.runProgress->hide();

    c.ShowClock();
    auto* clock = new QTimer(&window);
    QObject::connect(clock, &QTimer::timeout, clock,
                     [date = c.stsDate, time = c.stsTime] { ShowDateAndTime(*date, *time); });
    clock->start(1000);
}

}  // namespace

WindowControls WindowControls::Build(QMainWindow& window, TargetTableModel& model,
                                     const Twips& twips) {
    WindowControls controls;
    BuildControls(controls, window, model, twips);
    BuildMenus(controls, window);
    BuildStatusBar(controls, window, twips);
    return controls;
}

void WindowControls::FillLists() const {
    for (const std::string_view digits : kDigitCountTexts) cmbCol->addItem(Latin1(digits));
    for (const std::string_view pattern : kDatePatternTexts) cmbType->addItem(Latin1(pattern));
    for (const std::string_view source : kDateSourceTexts) cmbDateFrom->addItem(Utf8Text(source));
    // The calendar, until the settings say otherwise.
    cmbDateFrom->setCurrentIndex(0);
    // A drop-down list starts without a selection until an option picks one.
    cmbCol->setCurrentIndex(-1);
    cmbType->setCurrentIndex(-1);
}

void WindowControls::LayOut(const Twips& twips) const {
    const int width = client->width();
    const int height = client->height();
    stsBar->setGeometry(0, height - stsBar->height(), width, stsBar->height());
    // The left-out row, when shown, sits on the status bar and counts as part of it.
    const int leftOutRow = stsBarLeftOut->isHidden() ? 0 : stsBar->height();
    if (leftOutRow != 0) {
        const int panelWidth = stsBarLeftOut->sizeHint().width() + 8;
        const int right = stsBar->contentsRect().right();  // where the status text ends
        stsBarLeftOut->setGeometry(right + 1 - panelWidth, stsBar->y() - leftOutRow, panelWidth,
                                   leftOutRow);
    }
    picture1->setGeometry(0, stsBar->y() - leftOutRow - picture1->height(), width,
                          picture1->height());
    // In the option panel's margin below its buttons.
    const int strip = std::max(4, twips.ToPixels(kProgressStripTwips));
    runProgress->setGeometry(0, picture1->geometry().bottom() + 1 - strip, width, strip);
    runProgress->raise();

    listVi->resize(width, listVi->height());
    lblDirName->resize(width, lblDirName->height());
    const auto listHeight =
        ListViHeightFor(twips.FromPixels(height), twips.FromPixels(stsBar->height() + leftOutRow),
                        twips.FromPixels(picture1->height()));
    if (listHeight) listVi->resize(width, twips.ToPixels(*listHeight));
}

void WindowControls::LockForRun(bool locked) const {
    for (QWidget* control : std::initializer_list<QWidget*>{
             txtStartNo, cmbCol, cmbType, chkTime, chkOpt, cmbDateFrom, btnStart, btnALLClear}) {
        control->setEnabled(!locked);
    }
    monthView1->setEnabled(!locked && CurrentDateSource() == DateSource::Calendar);
    menuOpen->setEnabled(!locked);
    menuStart->setEnabled(!locked);
    if (locked) menuUndo->setEnabled(false);
    menuDel->setEnabled(!locked);
    listVi->header()->setSectionsClickable(!locked);
    runProgress->setVisible(locked);
}

void WindowControls::ShowRunRow(std::size_t row) const {
    // Selected without becoming current: the run does not scroll the list.
    const int at = static_cast<int>(row);
    listVi->selectionModel()->select(QItemSelection(model->index(at, 0), model->index(at, 3)),
                                     QItemSelectionModel::ClearAndSelect);
}

void WindowControls::ShowRunProgress(std::size_t done, std::size_t total) const {
    runProgress->setRange(0, static_cast<int>(std::max<std::size_t>(total, 1)));
    runProgress->setValue(static_cast<int>(done));
}

void WindowControls::ShowClock() const {
    ShowDateAndTime(*stsDate, *stsTime);
}

void WindowControls::ShowLeftOut(std::size_t count, const QString& details,
                                 const Twips& twips) const {
    stsBarLeftOut->setText(count == 0 ? QString()
                                      : Utf8(newcomer::kLeftOutPanel) + QString::number(count));
    stsBarLeftOut->setToolTip(details);
    stsBarLeftOut->setVisible(count != 0);
    LayOut(twips);
}

CalendarDate WindowControls::SelectedDate() const {
    const QDate date = monthView1->selectedDate();
    return {date.year(), date.month(), date.day()};
}

DateSource WindowControls::CurrentDateSource() const {
    return DateSourceFromIndex(cmbDateFrom->currentIndex()).value_or(DateSource::Calendar);
}

NamingOptions WindowControls::CurrentNamingOptions() const {
    return {SelectedDate(), cmbType->currentText().toStdString(),
            cmbCol->currentText().toStdString(), txtStartNo->text().toStdString(),
            CurrentDateSource()};
}

}  // namespace karvel
