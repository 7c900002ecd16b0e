#include "settings/StoredOptions.h"

#include "naming/DatePrefix.h"
#include "naming/NewNames.h"
#include "settings/PersistedSettings.h"

namespace karvel {

namespace {

// The window's option controls as they stand before the restore; placement is not kept.
class OptionControls final : public SettingsWindow {
  public:
    double WindowLeft() const override { return 0; }
    double WindowTop() const override { return 0; }
    double WindowWidth() const override { return 0; }
    double WindowHeight() const override { return 0; }
    bool SetWindowLeft(int) override { return true; }
    bool SetWindowTop(int) override { return true; }
    bool SetWindowWidth(int) override { return true; }
    bool SetWindowHeight(int) override { return true; }
    WindowState State() const override { return WindowState::Normal; }
    double ColumnWidth(int) const override { return 0; }
    bool SetColumnWidth(int, int) override { return true; }

    std::string StartNoText() const override { return options.startNoText; }
    void SetStartNoText(const std::string& text) override { options.startNoText = text; }
    std::string ColText() const override { return options.colText; }
    bool SetColText(const std::string& text) override {
        const bool listed = IsDigitCountText(text);
        options.colText = listed ? text : "";
        return listed;
    }
    std::string TypeText() const override { return options.typeText; }
    bool SetTypeText(const std::string& text) override {
        const bool listed = DatePatternFromText(text).has_value();
        options.typeText = listed ? text : "";
        return listed;
    }
    int TimeUpdState() const override { return options.timeUpd; }
    bool SetTimeUpdState(int state) override { return SetCheck(options.timeUpd, state); }
    int OptState() const override { return optState; }
    bool SetOptState(int state) override { return SetCheck(optState, state); }

    StoredOptions options;
    int optState = 0;

  private:
    static bool SetCheck(int& box, int state) {
        if (state < 0 || state > 2) return false;
        box = state;
        return true;
    }
};

}  // namespace

StoredOptions ReadStoredOptions(const std::string& iniPath) {
    OptionControls controls;
    RestoreOptions(controls, iniPath);
    return controls.options;
}

}  // namespace karvel
