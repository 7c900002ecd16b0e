#pragma once
// Shows the core's target list in the list view. The core holds the rows; this
// model only tells the view when they changed.

#include <QAbstractTableModel>

#include "naming/DateSource.h"
#include "targets/TargetList.h"

namespace karvel {

class TargetTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit TargetTableModel(TargetList& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Runs a change that replaces, reorders or removes rows inside one reset.
    template <class Change>
    void ResetAround(Change&& change) {
        beginResetModel();
        change();
        endResetModel();
    }
    // Only the After Name texts, their conflict marks and the rows' date sources changed.
    void NamesChanged();
    // The source of the rows' dates, told in the fourth column.
    void SetDateSource(DateSource source);
    DateSource Source() const { return source_; }

    // Bytes as the file system gave them, shown as UTF-8.
    static QString Display(const std::string& bytes);

  private:
    TargetList& list_;
    DateSource source_ = DateSource::Calendar;
};

}  // namespace karvel
