#pragma once

#include <QFont>

namespace karvel {

// A Japanese Gothic face available on this machine, proportional if possible.
QFont JapaneseGothicFont(int pointSize, bool bold);

}  // namespace karvel
