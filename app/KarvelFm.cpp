#include "app/KarvelFm.h"

namespace karvel {

KarvelFm::KarvelFm(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("KarvelFm"));
    setWindowTitle(QStringLiteral("Karvel   Ver. " KARVEL_VERSION));
}

}  // namespace karvel
