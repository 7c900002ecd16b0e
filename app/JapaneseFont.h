#pragma once

#include <QFont>

namespace karvel {

enum class Pitch { Proportional, Fixed };

// A Japanese Gothic face available on this machine, of the pitch asked for if possible.
// Fixed pitch gives half-width digits, the narrowest a number can be set in.
QFont JapaneseGothicFont(double pointSize, bool bold, Pitch pitch = Pitch::Proportional);

}  // namespace karvel
