#include "app/WindowRunHost.h"

#include <QApplication>

#include "app/KarvelFm.h"
#include "app/MessageBox.h"

namespace karvel {

namespace {

// About one frame of a 60 Hz screen.
constexpr qint64 kFrameMilliseconds = 16;

MessageIcon ToMessageIcon(RunIcon icon) {
    switch (icon) {
        case RunIcon::Warning:
            return MessageIcon::Warning;
        case RunIcon::Question:
            return MessageIcon::Question;
        case RunIcon::Error:
            return MessageIcon::Error;
        case RunIcon::Information:
            break;
    }
    return MessageIcon::Information;
}

}  // namespace

WindowRunHost::~WindowRunHost() {
    if (busy_) SetBusy(false);
}

RunAnswer WindowRunHost::ShowMessage(RunIcon icon, const std::string& text) {
    Show();  // the row a message names is the one shown selected
    switch (MessageBox::Show(&window_, ToMessageIcon(icon), text)) {
        case MessageAnswer::Yes:
            return RunAnswer::Yes;
        case MessageAnswer::No:
            return RunAnswer::No;
        case MessageAnswer::Ok:
            break;
    }
    return RunAnswer::Ok;
}

void WindowRunHost::SetBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        window_.LockForRun(true);
        sinceShown_.start();
    } else {
        Show();
        window_.LockForRun(false);
        QApplication::restoreOverrideCursor();
    }
}

void WindowRunHost::RowSelected(std::size_t row) { selectedRow_ = row; }

void WindowRunHost::Progress(std::size_t done, std::size_t total) {
    done_ = done;
    total_ = total;
}

void WindowRunHost::ProcessEvents() {
    if (!sinceShown_.isValid() || sinceShown_.elapsed() >= kFrameMilliseconds) {
        Show();
        sinceShown_.start();
    }
    QCoreApplication::processEvents();
}

bool WindowRunHost::StopRequested() { return window_.RunStopRequested(); }

void WindowRunHost::BringToFront() {
    Show();
    window_.BringToFront();
}

void WindowRunHost::Show() {
    if (selectedRow_) window_.ShowRunRow(*selectedRow_);
    window_.ShowRunProgress(done_, total_);
}

}  // namespace karvel
