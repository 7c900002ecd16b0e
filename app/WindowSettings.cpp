#include "app/WindowSettings.h"

#include <algorithm>

#include <QComboBox>
#include <QHeaderView>
#include <QMainWindow>

#include "app/OptionCheckBox.h"
#include "app/StartNoEdit.h"
#include "app/TargetListView.h"
#include "app/TargetTableModel.h"
#include "app/Twips.h"
#include "app/WindowControls.h"

namespace karvel {

void WindowSettings::FrameBecameKnown() {
    frameKnown_ = true;
    const QSize extra = FrameExtra();
    QSize inner = window_.size();
    if (pendingOuterSize_.width() >= 0) {
        inner.setWidth(std::max(0, pendingOuterSize_.width() - extra.width()));
    }
    if (pendingOuterSize_.height() >= 0) {
        inner.setHeight(std::max(0, pendingOuterSize_.height() - extra.height()));
    }
    pendingOuterSize_ = QSize(-1, -1);
    if (inner != window_.size()) window_.resize(inner);
}

QSize WindowSettings::FrameExtra() const {
    return window_.frameGeometry().size() - window_.geometry().size();
}

double WindowSettings::WindowLeft() const {
    return twips_.FromPixels(window_.frameGeometry().x());
}
double WindowSettings::WindowTop() const {
    return twips_.FromPixels(window_.frameGeometry().y());
}
double WindowSettings::WindowWidth() const {
    const int outer = pendingOuterSize_.width() >= 0 ? pendingOuterSize_.width()
                                                     : window_.frameGeometry().width();
    return twips_.FromPixels(outer);
}

double WindowSettings::WindowHeight() const {
    const int outer = pendingOuterSize_.height() >= 0 ? pendingOuterSize_.height()
                                                      : window_.frameGeometry().height();
    return twips_.FromPixels(outer);
}

bool WindowSettings::SetWindowLeft(int twips) {
    window_.move(twips_.ToPixels(twips), window_.frameGeometry().y());
    return true;
}

bool WindowSettings::SetWindowTop(int twips) {
    window_.move(window_.frameGeometry().x(), twips_.ToPixels(twips));
    return true;
}

// Before the first showing the frame is unknown and counts as none: the outer size
// is kept for later and, meanwhile, the inner size takes it. Asking for the width
// the window reports already changes nothing, so a missing key keeps the first-start size.
bool WindowSettings::SetWindowWidth(int twips) {
    if (twips < 0) return false;
    const int outer = twips_.ToPixels(twips);
    if (!frameKnown_) {
        if (twips == WindowWidth()) return true;
        pendingOuterSize_.setWidth(outer);
    }
    window_.resize(std::max(0, outer - FrameExtra().width()), window_.height());
    return true;
}

bool WindowSettings::SetWindowHeight(int twips) {
    if (twips < 0) return false;
    const int outer = twips_.ToPixels(twips);
    if (!frameKnown_) {
        if (twips == WindowHeight()) return true;
        pendingOuterSize_.setHeight(outer);
    }
    window_.resize(window_.width(), std::max(0, outer - FrameExtra().height()));
    return true;
}

WindowState WindowSettings::State() const {
    if (window_.isMinimized()) return WindowState::Minimized;
    if (window_.isMaximized()) return WindowState::Maximized;
    return WindowState::Normal;
}

double WindowSettings::ColumnWidth(int column) const {
    return twips_.FromPixels(controls_.listVi->header()->sectionSize(column - 1));
}

bool WindowSettings::SetColumnWidth(int column, int twips) {
    if (column < 1 || column > 3 || twips < 0) return false;
    controls_.listVi->header()->resizeSection(column - 1, twips_.ToPixels(twips));
    return true;
}

std::string WindowSettings::StartNoText() const {
    return controls_.txtStartNo->text().toStdString();
}
void WindowSettings::SetStartNoText(const std::string& text) {
    controls_.txtStartNo->setText(TargetTableModel::Display(text));
}

namespace {

bool SelectItem(QComboBox* list, const std::string& text) {
    const int index = list->findText(QString::fromStdString(text), Qt::MatchExactly);
    list->setCurrentIndex(index);
    return index >= 0;
}

}  // namespace

std::string WindowSettings::ColText() const {
    return controls_.cmbCol->currentText().toStdString();
}
bool WindowSettings::SetColText(const std::string& text) {
    return SelectItem(controls_.cmbCol, text);
}
std::string WindowSettings::TypeText() const {
    return controls_.cmbType->currentText().toStdString();
}
bool WindowSettings::SetTypeText(const std::string& text) {
    return SelectItem(controls_.cmbType, text);
}
int WindowSettings::TimeUpdState() const {
    return controls_.chkTime->Value();
}
bool WindowSettings::SetTimeUpdState(int state) {
    return controls_.chkTime->SetValue(state);
}
int WindowSettings::OptState() const {
    return controls_.chkOpt->Value();
}
bool WindowSettings::SetOptState(int state) {
    return controls_.chkOpt->SetValue(state);
}

}  // namespace karvel
