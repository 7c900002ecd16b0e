#pragma once
// The window's side of the persisted settings: its outer placement and column widths in
// twips, and the option controls, which accept or refuse a stored value as the user's
// own controls would.

#include <QSize>

#include "settings/SettingsWindow.h"

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

    double WindowLeft() const override;
    double WindowTop() const override;
    double WindowWidth() const override;
    double WindowHeight() const override;
    bool SetWindowLeft(int twips) override;
    bool SetWindowTop(int twips) override;
    bool SetWindowWidth(int twips) override;
    bool SetWindowHeight(int twips) override;
    WindowState State() const override;
    double ColumnWidth(int column) const override;
    bool SetColumnWidth(int column, int twips) override;
    std::string StartNoText() const override;
    void SetStartNoText(const std::string& text) override;
    std::string ColText() const override;
    bool SetColText(const std::string& text) override;
    std::string TypeText() const override;
    bool SetTypeText(const std::string& text) override;
    int TimeUpdState() const override;
    bool SetTimeUpdState(int state) override;
    int OptState() const override;
    bool SetOptState(int state) override;

  private:
    // Outer frame minus inner geometry, in pixels.
    QSize FrameExtra() const;

    QMainWindow& window_;
    const WindowControls& controls_;
    const Twips& twips_;
    bool frameKnown_ = false;
    QSize pendingOuterSize_{-1, -1};  // -1: none asked for
};

}  // namespace karvel
