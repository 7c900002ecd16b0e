#include "app/TargetListView.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
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
            selectionModel()->select(
                index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
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

void TargetListView::keyPressEvent(QKeyEvent* event) {
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Delete && modifiers == Qt::NoModifier) {
        emit removeKeyPressed();
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
        (event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
        emit menuKeyPressed();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

// Some platforms turn the context-menu key into a context-menu event as well; the
// mouse's own is handled at the button's release.
void TargetListView::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse) {
        event->ignore();
        return;
    }
    emit menuKeyPressed();
    event->accept();
}

}  // namespace karvel
