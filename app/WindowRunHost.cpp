#include "app/WindowRunHost.h"

#include <QApplication>
#include <QProgressBar>

#include "app/MessageBox.h"
#include "app/WindowControls.h"

namespace karvel {

namespace {

// About one frame of a 60 Hz screen.
constexpr qint64 kFrameMilliseconds = 16;

}  // namespace

WindowRunHost::~WindowRunHost() {
    if (busy_) SetBusy(false);
}

RunAnswer WindowRunHost::ShowMessage(RunIcon icon, const std::string& text) {
    Show();  // the row a message names is the one shown selected
    // A message while busy is the run's last word: its progress is over.
    if (busy_) controls_.runProgress->hide();
    return MessageBox::Show(&window_, icon, text);
}

void WindowRunHost::SetBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        controls_.LockForRun(true);
        sinceShown_.start();
    } else {
        Show();
        controls_.LockForRun(false);
        QApplication::restoreOverrideCursor();
    }
}

void WindowRunHost::RowSelected(std::size_t row) {
    selectedRow_ = row;
}

void WindowRunHost::Progress(std::size_t done, std::size_t total) {
    done_ = done;
    total_ = total;
}

void WindowRunHost::ProcessEvents() {
    // Once a frame is enough for the screen and for a click on End: a pass per file
    // would cost more than the file.
    if (sinceShown_.isValid() && sinceShown_.elapsed() < kFrameMilliseconds) return;
    Show();
    sinceShown_.start();
    QCoreApplication::processEvents();
}

bool WindowRunHost::StopRequested() {
    return stopRequested_();
}

void WindowRunHost::BringToFront() {
    Show();
    window_.raise();
    window_.activateWindow();
}

void WindowRunHost::Show() {
    if (selectedRow_) controls_.ShowRunRow(*selectedRow_);
    controls_.ShowRunProgress(done_, total_);
}

}  // namespace karvel
