#pragma once
// The list of target files: accepts any drag with the copy effect, hands drops
// over, and reports header clicks and mouse-button releases.

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

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace karvel
