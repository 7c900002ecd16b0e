#pragma once
// The window's side of the persisted settings: stored values applied to its outer
// placement, column widths (in twips) and option controls, and collected back.

#include <QSize>

#include "settings/PersistedSettings.h"

class QMainWindow;

namespace karvel {

struct WindowControls;
class Twips;

class WindowSettings {
  public:
    WindowSettings(QMainWindow& window, const WindowControls& controls, const Twips& twips)
        : window_(window), controls_(controls), twips_(twips) {}

    // The window manager tells the frame only once the window is on screen; an outer
    // size asked for before then is applied now.
    void FrameBecameKnown();
    bool FrameKnown() const { return frameKnown_; }
    // Brings the window whole onto the screen it is most on (or the primary one when it is
    // on none): smaller where it is larger than that screen's free area, then moved in.
    void FitOnScreen();

    // Start-up, before the option lists are filled.
    void RestorePlacement(const StoredPlacement& placement);
    // Start-up, once the option lists hold their items.
    void RestoreOptions(const StoredOptions& options) const;
    // What the window holds now, as the settings file keeps it.
    StoredSettings Collect() const;

  private:
    // Outer frame minus inner geometry, in pixels.
    QSize FrameExtra() const;
    // The frame as it is, or as it is likely to be while the window manager has not told.
    QSize ExpectedFrameExtra() const;
    double WindowWidth() const;
    double WindowHeight() const;
    void SetWindowWidth(double twips);
    void SetWindowHeight(double twips);

    QMainWindow& window_;
    const WindowControls& controls_;
    const Twips& twips_;
    bool frameKnown_ = false;
    QSize pendingOuterSize_{-1, -1};  // -1: none asked for
};

}  // namespace karvel
