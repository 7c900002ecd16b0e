#include "app/Beep.h"

#include <QApplication>

namespace karvel {

namespace {
int beeps = 0;
}

void Beep::Sound() {
    ++beeps;
    QApplication::beep();
}

int Beep::Count() {
    return beeps;
}
void Beep::ResetCount() {
    beeps = 0;
}

}  // namespace karvel
