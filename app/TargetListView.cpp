#include "app/TargetListView.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMouseEvent>

namespace karvel {

TargetListView::TargetListView(QWidget* parent) : QTreeView(parent) {
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    connect(header(), &QHeaderView::sectionClicked, this,
            [this](int section) { emit columnClicked(section + 1); });
}

// Whatever is dragged over the list, the offered effect is copy.
void TargetListView::dragEnterEvent(QDragEnterEvent* event) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TargetListView::dragMoveEvent(QDragMoveEvent* event) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TargetListView::dropEvent(QDropEvent* event) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit dropped(event->mimeData());
}

void TargetListView::mousePressEvent(QMouseEvent* event) {
    // A right click on a row that is not selected selects it first.
    if (event->button() == Qt::RightButton) {
        const QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid() && !selectionModel()->isRowSelected(index.row(), index.parent())) {
            selectionModel()->select(index, QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        }
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
}

void TargetListView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) QTreeView::mouseReleaseEvent(event);
    emit mouseReleased(event->button());
}

}  // namespace karvel
