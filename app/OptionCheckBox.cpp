#include "app/OptionCheckBox.h"

namespace karvel {

OptionCheckBox::OptionCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {
    setTristate(true);
    setCheckState(Qt::Unchecked);
}

int OptionCheckBox::Value() const {
    switch (checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        case Qt::Unchecked:
            break;
    }
    return 0;
}

bool OptionCheckBox::SetValue(int value) {
    switch (value) {
        case 0:
            setCheckState(Qt::Unchecked);
            return true;
        case 1:
            setCheckState(Qt::Checked);
            return true;
        case 2:
            setCheckState(Qt::PartiallyChecked);
            return true;
        default:
            return false;
    }
}

void OptionCheckBox::nextCheckState() {
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

}  // namespace karvel
