#pragma once
// The metadata libraries' one-time set-up, done before the first read from any thread.

namespace karvel {

void SetUpCaptureLibraries();

}  // namespace karvel
