#pragma once
// Positions, sizes and column widths are kept in twips (1440 per inch at the
// screen's logical resolution); this is the one place that converts.

#include <cmath>

namespace karvel {

class Twips {
  public:
    explicit Twips(double logicalDpi) : dpi_(logicalDpi > 0 ? logicalDpi : 96.0) {}

    int ToPixels(double twips) const {
        return static_cast<int>(std::lround(twips * dpi_ / 1440.0));
    }
    double FromPixels(int pixels) const { return std::round(pixels * 1440.0 / dpi_); }

  private:
    double dpi_;
};

}  // namespace karvel
