#pragma once
// The platform's default beep, counted so tests can hear it.

namespace karvel {

class Beep {
  public:
    static void Sound();
    static int Count();
    static void ResetCount();
};

}  // namespace karvel
