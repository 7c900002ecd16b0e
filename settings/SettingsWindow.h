#pragma once
// What saving the settings needs of the main window: its values. The window
// implements it; tests use a fake.

#include <string>

namespace karvel {

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

class SettingsWindow {
  public:
    virtual ~SettingsWindow() = default;

    // Outer placement of the window, in twips.
    virtual double WindowLeft() const = 0;
    virtual double WindowTop() const = 0;
    virtual double WindowWidth() const = 0;
    virtual double WindowHeight() const = 0;
    virtual WindowState State() const = 0;

    // Widths of the list's columns 1 to 3, in twips.
    virtual double ColumnWidth(int column) const = 0;

    // The option controls; a drop-down list without a selection has an empty text.
    virtual std::string StartNoText() const = 0;
    virtual std::string ColText() const = 0;
    virtual std::string TypeText() const = 0;
    // Check boxes: 0 (off), 1 (on) and 2 (greyed).
    virtual int TimeUpdState() const = 0;
    virtual int OptState() const = 0;
};

}  // namespace karvel
