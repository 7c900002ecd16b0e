#pragma once
// What the persisted settings need of the main window: its values, and whether a
// control accepted a value. The window implements it; tests use a fake.

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
    // Each setter returns false when the window refuses the value (it then keeps its own).
    virtual bool SetWindowLeft(int twips) = 0;
    virtual bool SetWindowTop(int twips) = 0;
    virtual bool SetWindowWidth(int twips) = 0;
    virtual bool SetWindowHeight(int twips) = 0;
    virtual WindowState State() const = 0;

    // Widths of the list's columns 1 to 3, in twips.
    virtual double ColumnWidth(int column) const = 0;
    virtual bool SetColumnWidth(int column, int twips) = 0;

    // The option controls. A drop-down list refuses a text that is not one of its
    // items and is then left with no selection and an empty text.
    virtual std::string StartNoText() const = 0;
    virtual void SetStartNoText(const std::string& text) = 0;
    virtual std::string ColText() const = 0;
    virtual bool SetColText(const std::string& text) = 0;
    virtual std::string TypeText() const = 0;
    virtual bool SetTypeText(const std::string& text) = 0;
    // Check boxes take 0 (off), 1 (on) and 2 (greyed) and refuse anything else.
    virtual int TimeUpdState() const = 0;
    virtual bool SetTimeUpdState(int state) = 0;
    virtual int OptState() const = 0;
    virtual bool SetOptState(int state) = 0;
};

}  // namespace karvel
