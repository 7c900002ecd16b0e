#pragma once
// A check box with the three states 0 (off), 1 (on) and 2 (greyed); a click
// toggles between off and on.

#include <QCheckBox>

namespace karvel {

class OptionCheckBox : public QCheckBox {
    Q_OBJECT
  public:
    explicit OptionCheckBox(const QString& text, QWidget* parent = nullptr);

    int Value() const;
    // Refuses anything but 0, 1 and 2.
    bool SetValue(int value);

  protected:
    void nextCheckState() override;
};

}  // namespace karvel
