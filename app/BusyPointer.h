#pragma once
// The arrow with hourglass for as long as this object lives.

#include <QApplication>

namespace karvel {

class BusyPointer {
  public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::BusyCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

}  // namespace karvel
