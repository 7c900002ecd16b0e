#include "app/TargetTableModel.h"

#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QStyle>

#include "app/QtText.h"
#include "filetime/DateTimeText.h"
#include "filetime/LocalTime.h"
#include "targets/ConflictPreview.h"
#include "targets/OwnDateTexts.h"
#include "targets/RowDates.h"
#include "texts/WindowTexts.h"

namespace karvel {

namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString ConflictText(RowConflict conflict) {
    return Text(ConflictReasonText(conflict));
}

QString OriginText(const TargetRow& row, DateSource source) {
    if (source == DateSource::Calendar) return Text(kDateSourceCalendar);
    const auto own = OwnDateOf(row, source);
    return Text(own ? DateOriginText(own->origin) : kDateOriginPending);
}

// The instant the row's name and new stamp follow, and why a capture time is missing.
QString OriginTip(const TargetRow& row, DateSource source) {
    const auto own = OwnDateOf(row, source);
    if (!own) return {};
    QString tip = OriginText(row, source);
    if (const auto local = InstantToLocal(own->instant))
        tip += QStringLiteral(" ") +
               Text(FormatDateTimeText(local->time, kDateTimePaddedSlashDateColonTime));
    if (own->origin == DateOrigin::ModifiedInstead)
        tip += QStringLiteral("\n") + Text(NoCaptureText(own->why));
    return tip;
}

}  // namespace

TargetTableModel::TargetTableModel(TargetList& list, QObject* parent)
    : QAbstractTableModel(parent), list_(list) {}

int TargetTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(list_.RowCount());
}

int TargetTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 4;
}

QString TargetTableModel::Display(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QVariant TargetTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const TargetRow& row = list_.Rows()[static_cast<std::size_t>(index.row())];
    if (index.column() == 3) {
        if (role == Qt::DisplayRole) return OriginText(row, source_);
        if (role == Qt::ToolTipRole) return OriginTip(row, source_);
        return {};
    }
    // Only the After Name cell warns; the rest of the row is drawn as ever.
    const bool marked = index.column() == 1 && row.Conflict != RowConflict::None;
    if (role == Qt::ForegroundRole)
        return marked ? QVariant(QBrush(QColor(Qt::darkRed))) : QVariant();
    // A sign beside the colour, for eyes that cannot tell dark red from black.
    if (role == Qt::DecorationRole) {
        if (!marked) return {};
        return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    }
    if (role == Qt::ToolTipRole) {
        // The whole name, which a narrow column cuts; a marked one says why under it.
        if (index.column() == 0) return Display(row.BeforeName);
        if (index.column() != 1) return {};
        QString tip = Display(row.AfterName);
        if (marked)
            tip += (tip.isEmpty() ? QString() : QStringLiteral("\n")) + ConflictText(row.Conflict);
        return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case 0:
            return Display(row.BeforeName);
        case 1:
            return Display(row.AfterName);
        case 2:
            return Display(row.Modified);
        default:
            return {};
    }
}

QVariant TargetTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case 0:
            return QtText(kBeforeNameHeader);
        case 1:
            return QtText(kAfterNameHeader);
        case 2:
            return QtText(kModifiedHeader);
        case 3:
            return QtText(kDateOriginHeader);
        default:
            return {};
    }
}

void TargetTableModel::NamesChanged() {
    if (list_.RowCount() == 0) return;
    emit dataChanged(index(0, 1), index(rowCount() - 1, 3),
                     {Qt::DisplayRole, Qt::ForegroundRole, Qt::DecorationRole, Qt::ToolTipRole});
}

void TargetTableModel::SetDateSource(DateSource source) {
    source_ = source;
    NamesChanged();
}

}  // namespace karvel
