#pragma once
// The start-number box: only digits and backspace can be typed; everything else
// that would reach the box as a character is dropped with a beep.

#include <QLineEdit>

namespace karvel {

class StartNoEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit StartNoEdit(QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
};

}  // namespace karvel
