#pragma once
// The window's side of the persisted settings: stored values applied to its outer
// placement, column widths (in twips) and option controls, and its values read back.

#include <QSize>

#include "settings/PersistedSettings.h"

class QMainWindow;

namespace karvel {

struct WindowControls;
class Twips;

class WindowSettings final : public SettingsWindow {
  public:
    WindowSettings(QMainWindow& window, const WindowControls& controls, const Twips& twips)
        : window_(window), controls_(controls), twips_(twips) {}

    // The window manager tells the frame only once the window is on screen; an outer
    // size asked for before then is applied now.
    void FrameBecameKnown();
    bool FrameKnown() const { return frameKnown_; }

    // Start-up, before the option lists are filled.
    void RestorePlacement(const StoredPlacement& placement);
    // Start-up, once the option lists hold their items.
    void RestoreOptions(const StoredOptions& options) const;

    double WindowLeft() const override;
    double WindowTop() const override;
    double WindowWidth() const override;
    double WindowHeight() const override;
    WindowState State() const override;
    double ColumnWidth(int column) const override;
    std::string StartNoText() const override;
    std::string ColText() const override;
    std::string TypeText() const override;
    int TimeUpdState() const override;
    int OptState() const override;

  private:
    // Outer frame minus inner geometry, in pixels.
    QSize FrameExtra() const;
    void SetWindowWidth(double twips);
    void SetWindowHeight(double twips);

    QMainWindow& window_;
    const WindowControls& controls_;
    const Twips& twips_;
    bool frameKnown_ = false;
    QSize pendingOuterSize_{-1, -1};  // -1: none asked for
};

}  // namespace karvel
