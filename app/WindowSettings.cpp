#include "app/WindowSettings.h"

#include <algorithm>

#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QScreen>
#include <QStyle>

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
    FitOnScreen();
}

QSize WindowSettings::ExpectedFrameExtra() const {
    if (frameKnown_) return FrameExtra();
    const QStyle* style = window_.style();
    const int border = style->pixelMetric(QStyle::PM_DefaultFrameWidth);
    return {2 * border, style->pixelMetric(QStyle::PM_TitleBarHeight) + 2 * border};
}

void WindowSettings::FitOnScreen() {
    const QSize extra = ExpectedFrameExtra();
    const QSize outer(pendingOuterSize_.width() >= 0 ? pendingOuterSize_.width()
                                                     : window_.width() + extra.width(),
                      pendingOuterSize_.height() >= 0 ? pendingOuterSize_.height()
                                                      : window_.height() + extra.height());
    QRect frame(window_.frameGeometry().topLeft(), outer);
    const QScreen* screen = nullptr;
    int most = 0;
    for (const QScreen* candidate : QGuiApplication::screens()) {
        const QRect shared = candidate->availableGeometry().intersected(frame);
        const int area = shared.isEmpty() ? 0 : shared.width() * shared.height();
        if (area > most) {
            most = area;
            screen = candidate;
        }
    }
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect room = screen->availableGeometry();

    const QSize fitted = outer.boundedTo(room.size());
    if (fitted != outer) {
        if (pendingOuterSize_.width() >= 0) pendingOuterSize_.setWidth(fitted.width());
        if (pendingOuterSize_.height() >= 0) pendingOuterSize_.setHeight(fitted.height());
        window_.resize(fitted - extra);
    }
    frame.setSize(fitted);
    const QPoint inside(
        std::clamp(frame.x(), room.left(), room.x() + room.width() - fitted.width()),
        std::clamp(frame.y(), room.top(), room.y() + room.height() - fitted.height()));
    if (inside != frame.topLeft()) window_.move(inside);
}

QSize WindowSettings::FrameExtra() const {
    return window_.frameGeometry().size() - window_.geometry().size();
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

// Before the first showing the frame is unknown and counts as none: the outer size
// is kept for later and, meanwhile, the inner size takes it. Asking for the width
// the window reports already changes nothing: the first-start size stays as it is.
void WindowSettings::SetWindowWidth(double twips) {
    const int outer = twips_.ToPixels(twips);
    if (!frameKnown_) {
        if (twips == WindowWidth()) return;
        pendingOuterSize_.setWidth(outer);
    }
    window_.resize(std::max(0, outer - FrameExtra().width()), window_.height());
}

void WindowSettings::SetWindowHeight(double twips) {
    const int outer = twips_.ToPixels(twips);
    if (!frameKnown_) {
        if (twips == WindowHeight()) return;
        pendingOuterSize_.setHeight(outer);
    }
    window_.resize(window_.width(), std::max(0, outer - FrameExtra().height()));
}

void WindowSettings::RestorePlacement(const StoredPlacement& placement) {
    if (placement.left) {
        window_.move(twips_.ToPixels(*placement.left), window_.frameGeometry().y());
    }
    if (placement.top) window_.move(window_.frameGeometry().x(), twips_.ToPixels(*placement.top));
    if (placement.width) SetWindowWidth(*placement.width);
    if (placement.height) SetWindowHeight(*placement.height);
    for (int column = 0; column < 3; ++column) {
        const auto& twips = placement.columnWidths[static_cast<std::size_t>(column)];
        if (twips) controls_.listVi->header()->resizeSection(column, twips_.ToPixels(*twips));
    }
}

namespace {

// A text that is not one of the list's items leaves it without a selection.
void SelectItem(QComboBox* list, const std::string& text) {
    list->setCurrentIndex(list->findText(QString::fromStdString(text), Qt::MatchExactly));
}

}  // namespace

// The carry-over box first, as the stored options were read.
void WindowSettings::RestoreOptions(const StoredOptions& options) const {
    if (options.optState) controls_.chkOpt->SetValue(*options.optState);
    if (options.startNoText) {
        controls_.txtStartNo->setText(TargetTableModel::Display(*options.startNoText));
    }
    if (options.colText) SelectItem(controls_.cmbCol, *options.colText);
    if (options.typeText) SelectItem(controls_.cmbType, *options.typeText);
    if (options.timeUpd) controls_.chkTime->SetValue(*options.timeUpd);
    if (options.dateFrom) controls_.cmbDateFrom->setCurrentIndex(*options.dateFrom);
}

StoredSettings WindowSettings::Collect() const {
    StoredSettings settings;
    // A minimised or maximised window would store a placement the user never chose.
    if (!window_.isMinimized() && !window_.isMaximized()) {
        const QHeaderView* header = controls_.listVi->header();
        settings.placement = {
            twips_.FromPixels(window_.frameGeometry().x()),
            twips_.FromPixels(window_.frameGeometry().y()),
            WindowWidth(),
            WindowHeight(),
            {twips_.FromPixels(header->sectionSize(0)), twips_.FromPixels(header->sectionSize(1)),
             twips_.FromPixels(header->sectionSize(2))}};
    }
    settings.options = {controls_.txtStartNo->text().toStdString(),
                        controls_.cmbCol->currentText().toStdString(),
                        controls_.cmbType->currentText().toStdString(),
                        controls_.chkTime->Value(),
                        controls_.chkOpt->Value(),
                        controls_.cmbDateFrom->currentIndex()};
    return settings;
}

}  // namespace karvel
