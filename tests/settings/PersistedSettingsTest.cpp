#include "settings/PersistedSettings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "settings/clsIniFile.h"
#include "support/TempDir.h"

namespace karvel {
namespace {

using testing::ReadAll;

// A drop-down list takes only one of its items; otherwise it is left empty.
bool Pick(std::string& text, const std::string& wanted, std::initializer_list<const char*> items) {
    text = std::find(items.begin(), items.end(), wanted) != items.end() ? wanted : "";
    return !text.empty();
}

// Check boxes take 0, 1 and 2 only.
bool Check(int& state, int wanted) {
    if (wanted < 0 || wanted > 2) return false;
    state = wanted;
    return true;
}

// The main window as it stands right after it is built: first-start placement and
// column widths, the start-number box showing "Text1", nothing selected, boxes off.
struct FakeWindow : SettingsWindow {
    double left = 1200.4, top = 900, width = 9000, height = 6000;
    WindowState state = WindowState::Normal;
    std::array<double, 3> columns{4000, 1440, 1100};
    std::string startNo = "Text1", col, type;
    int timeUpd = 0, opt = 0;

    double WindowLeft() const override { return left; }
    double WindowTop() const override { return top; }
    double WindowWidth() const override { return width; }
    double WindowHeight() const override { return height; }
    bool SetWindowLeft(int twips) override {
        left = twips;
        return true;
    }
    bool SetWindowTop(int twips) override {
        top = twips;
        return true;
    }
    bool SetWindowWidth(int twips) override {
        width = twips;
        return true;
    }
    bool SetWindowHeight(int twips) override {
        height = twips;
        return true;
    }
    WindowState State() const override { return state; }
    double ColumnWidth(int column) const override { return columns.at(Index(column)); }
    bool SetColumnWidth(int column, int twips) override {
        columns.at(Index(column)) = twips;
        return true;
    }
    std::string StartNoText() const override { return startNo; }
    void SetStartNoText(const std::string& text) override { startNo = text; }
    std::string ColText() const override { return col; }
    bool SetColText(const std::string& text) override {
        return Pick(col, text, {"1", "2", "3", "4", "5"});
    }
    std::string TypeText() const override { return type; }
    bool SetTypeText(const std::string& text) override {
        return Pick(type, text, {"yyyymmdd", "yymmdd", "mmdd", "yyyymm", "yymm"});
    }
    int TimeUpdState() const override { return timeUpd; }
    bool SetTimeUpdState(int wanted) override { return Check(timeUpd, wanted); }
    int OptState() const override { return opt; }
    bool SetOptState(int wanted) override { return Check(opt, wanted); }

    static std::size_t Index(int column) { return static_cast<std::size_t>(column - 1); }
};

std::string Stored(const std::string& path, std::string_view section, std::string_view key,
                   std::string_view fallback = "") {
    clsIniFile ini;
    ini.pFileName(path);
    return ini.mGetString(section, key, fallback);
}

// StartNo, Colummn and Type texts, the states of ChkTime and ChkOpt.
using Options = std::tuple<std::string, std::string, std::string, int, int>;

Options OptionsOf(const FakeWindow& window) {
    return {window.startNo, window.col, window.type, window.timeUpd, window.opt};
}

const Options kFixedOptions{"1", "2", "yymmdd", 1, 0};

TEST(PersistedSettings, WithoutAFileDefaultsApplyAndTheFirstSaveWritesAllKeys) {
    testing::TempDir temp;
    const std::string ini = temp.path() + "Karvel.ini";
    FakeWindow window;
    RestorePlacement(window, ini);
    RestoreOptions(window, ini);
    EXPECT_EQ(window.left, 1200);  // where it opened, to the whole twip
    EXPECT_EQ(window.top, 900);
    EXPECT_EQ(window.width, 9000);
    EXPECT_EQ(window.height, 6000);
    EXPECT_EQ(window.columns, (std::array<double, 3>{1600, 1600, 1500}));
    EXPECT_EQ(OptionsOf(window), kFixedOptions);
    EXPECT_FALSE(std::filesystem::exists(ini)) << "restoring writes nothing";

    // A width beyond 16 bits is still written; the next start keeps its own (below).
    window.left = 1440.5;
    window.width = 40000;
    SaveSettings(window, ini);
    EXPECT_EQ(ReadAll(ini),
              "[Settings]\nMainLeft=1440.5\nMainTop=900\nMainWidth=40000\nMainHeight=6000\n\n"
              "[LVSettings]\nColWidth1=1600\nColWidth2=1600\nColWidth3=1500\n\n"
              "[Option]\nStartNo=1\nColummn=2\nType=yymmdd\nTimeUpd=1\nNextOption=0\n");
}

TEST(PersistedSettings, StoredPlacementIsAppliedAndBadValuesAreSkipped) {
    testing::TempDir temp;
    const std::string ini = temp.MakeFile(
        "Karvel.ini",
        "[settings]\nMainLeft=-3000\nMainTop= 120.5 \nMainWidth=40000\nMainHeight=abc\n"
        "[LVSETTINGS]\nColWidth1=-5\nColWidth2=0\nColWidth3=\n");
    FakeWindow window;
    RestorePlacement(window, ini);
    EXPECT_EQ(window.left, -3000) << "positions are not clamped to the screen";
    EXPECT_EQ(window.top, 120);
    EXPECT_EQ(window.width, 9000) << "over 32767 twips: kept";
    EXPECT_EQ(window.height, 6000);
    EXPECT_EQ(window.columns, (std::array<double, 3>{4000, 0, 1500}));
}

TEST(PersistedSettings, CarryOverBoxDecidesWhetherStoredOptionsApply) {
    const std::string stored = "StartNo=007\nColummn=4\nType=yyyymm\nTimeUpd=0\n";
    const struct {
        const char* nextOption;
        Options want;
    } cases[] = {
        {nullptr, kFixedOptions},
        {"0", kFixedOptions},
        {"", kFixedOptions},
        {"3", kFixedOptions},
        {"-1", kFixedOptions},
        {"on", kFixedOptions},
        {"1", {"7", "4", "yyyymm", 0, 1}},
        {" 2 ", {"7", "4", "yyyymm", 0, 2}},
        {"0.6", {"7", "4", "yyyymm", 0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nextOption ? c.nextOption : "(none)");
        testing::TempDir temp;
        const std::string line =
            c.nextOption ? "NextOption=" + std::string(c.nextOption) + "\n" : "";
        const std::string ini = temp.MakeFile("Karvel.ini", "[Option]\n" + line + stored);
        FakeWindow window;
        RestoreOptions(window, ini);
        EXPECT_EQ(OptionsOf(window), c.want);
    }
}

TEST(PersistedSettings, RefusedOptionsLeaveTheControlsAsTheyWere) {
    const struct {
        const char* stored;
        Options want;
    } cases[] = {
        {"", {"1", "2", "yymmdd", 1, 1}},
        {"StartNo=abc\nColummn=9\nType=ddmmyy\nTimeUpd=5\n", {"Text1", "", "", 0, 1}},
        {"StartNo=2147483648\nColummn=02.4\nType=yy/mm\nTimeUpd=two\n", {"Text1", "2", "", 0, 1}},
        {"StartNo=+-5\n", {"Text1", "2", "yymmdd", 1, 1}},
        {"StartNo=-12.5\nColummn=\nType=\nTimeUpd=2\n", {"-12", "2", "yymmdd", 2, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        testing::TempDir temp;
        const std::string ini =
            temp.MakeFile("Karvel.ini", "[Option]\nNextOption=1\n" + std::string(c.stored));
        FakeWindow window;
        RestoreOptions(window, ini);
        EXPECT_EQ(OptionsOf(window), c.want);
    }
}

TEST(PersistedSettings, StartNumbersBeyond16BitsComeBackAsTheBoxHeldThem) {
    const struct {
        const char* saved;
        const char* restored;
    } cases[] = {
        {"40000", "40000"},   {"2147483647", "2147483647"}, {"-40000", "-40000"},
        {"0040000", "40000"}, {" +32768.5 ", "32768"},      {"65537.5", "65538"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.saved);
        testing::TempDir temp;
        const std::string ini = temp.path() + "Karvel.ini";
        FakeWindow first;
        first.startNo = c.saved;
        first.opt = 1;
        SaveSettings(first, ini);
        FakeWindow next;
        RestoreOptions(next, ini);
        EXPECT_EQ(next.startNo, c.restored);
    }
}

TEST(PersistedSettings, SettingsFileWithoutWriteBitsIsLeftUntouchedAlsoForRoot) {
    testing::TempDir temp;
    const std::string content = "[Option]\nStartNo=3\nNextOption=1\n";
    const std::string ini = temp.MakeFile("Karvel.ini", content);
    ASSERT_EQ(::chmod(ini.c_str(), 0444), 0);
    struct stat before {};
    ASSERT_EQ(::stat(ini.c_str(), &before), 0);

    FakeWindow window;
    window.startNo = "12";
    SaveSettings(window, ini);

    struct stat after {};
    ASSERT_EQ(::stat(ini.c_str(), &after), 0);
    EXPECT_EQ(ReadAll(ini), content);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(after.st_ino, before.st_ino) << "not replaced by a new file either";
    EXPECT_EQ(after.st_mode & 07777, 0444u);
}

TEST(PersistedSettings, RefusedDigitCountIsSavedEmptyAndReadAsDefaultNextTime) {
    testing::TempDir temp;
    const std::string ini = temp.MakeFile("Karvel.ini", "[Option]\nNextOption=2\nColummn=9\n");
    FakeWindow first;
    RestoreOptions(first, ini);
    EXPECT_EQ(first.col, "");
    SaveSettings(first, ini);
    EXPECT_EQ(Stored(ini, "Option", "Colummn", "<none>"), "<none>");
    EXPECT_EQ(Stored(ini, "Option", "NextOption"), "2");

    FakeWindow second;
    RestoreOptions(second, ini);
    EXPECT_EQ(OptionsOf(second), (Options{"1", "2", "yymmdd", 1, 2}));
}

TEST(PersistedSettings, MinimisedOrMaximisedWindowSavesOnlyTheOptions) {
    for (const WindowState state : {WindowState::Minimized, WindowState::Maximized}) {
        testing::TempDir temp;
        const std::string placement =
            "; mine\n[Settings]\nMainLeft=10\nMainTop=20\nMainWidth=3000\nMainHeight=2000\n\n"
            "[LVSettings]\nColWidth1=100\nColWidth2=200\nColWidth3=300\n";
        const std::string ini = temp.MakeFile("Karvel.ini", placement);
        FakeWindow window;
        window.state = state;
        window.startNo = "";
        window.col = "5";
        window.type = "mmdd";
        window.timeUpd = 2;
        window.opt = 1;
        SaveSettings(window, ini);
        EXPECT_EQ(ReadAll(ini), placement +
                                    "\n[Option]\nStartNo=\nColummn=5\nType=mmdd\nTimeUpd=2\n"
                                    "NextOption=1\n");
    }
}

TEST(PersistedSettings, SaveToAnImpossiblePathChangesNothing) {
    testing::TempDir temp;
    const std::string plain = temp.MakeFile("program", "not a folder");
    const std::string ini = plain + "/Karvel.ini";
    FakeWindow window;
    window.startNo = "12";
    SaveSettings(window, ini);
    EXPECT_EQ(ReadAll(plain), "not a folder");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()),
                            std::filesystem::directory_iterator()),
              1);

    // The next start finds nothing stored and keeps its defaults.
    FakeWindow next;
    RestorePlacement(next, ini);
    RestoreOptions(next, ini);
    EXPECT_EQ(next.columns, (std::array<double, 3>{1600, 1600, 1500}));
    EXPECT_EQ(OptionsOf(next), kFixedOptions);
}

}  // namespace
}  // namespace karvel
