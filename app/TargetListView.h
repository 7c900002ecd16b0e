#pragma once
// The list of target files: accepts any drag with the copy effect, hands drops
// over, and reports header clicks, mouse-button releases and the keys that
// remove rows or open the list's menu.

#include <QTreeView>

class QMimeData;

namespace karvel {

class TargetListView : public QTreeView {
    Q_OBJECT
  public:
    explicit TargetListView(QWidget* parent = nullptr);

  signals:
    void dropped(const QMimeData* data);
    // Column counted from 1.
    void columnClicked(int column);
    void mouseReleased(Qt::MouseButton button);
    // Delete: take the selected rows off the list.
    void removeKeyPressed();
    // The context-menu key or Shift+F10: the list's menu at the current row.
    void menuKeyPressed();

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};

}  // namespace karvel
