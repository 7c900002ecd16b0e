#pragma once

#include <QMainWindow>

namespace karvel {

// The program's only window.
class KarvelFm : public QMainWindow {
    Q_OBJECT
public:
    explicit KarvelFm(QWidget* parent = nullptr);
};

}  // namespace karvel
