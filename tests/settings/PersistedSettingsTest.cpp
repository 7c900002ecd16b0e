#include "settings/PersistedSettings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "settings/clsIniFile.h"
#include "support/TempDir.h"

namespace karvel {

void PrintTo(const StoredPlacement& p, std::ostream* out) {
    *out << ::testing::PrintToString(std::tie(p.left, p.top, p.width, p.height, p.columnWidths));
}

void PrintTo(const StoredOptions& o, std::ostream* out) {
    *out << ::testing::PrintToString(
        std::tie(o.startNoText, o.colText, o.typeText, o.timeUpd, o.optState, o.dateFrom));
}

namespace {

using testing::ReadAll;

// What the main window holds when it closes.
const StoredSettings kClosing{{1440.5, 900, 40000, 6000, {1600, 1600, 1500}},
                              {"1", "2", "yymmdd", 1, 0, 0}};

StoredSettings WithStartNo(std::string text) {
    StoredSettings settings = kClosing;
    settings.options.startNoText = std::move(text);
    return settings;
}

StoredSettings LoadFrom(const std::string& content) {
    testing::TempDir temp;
    return LoadSettings(temp.MakeFile("Karvel.ini", content));
}

std::string Stored(const std::string& path, std::string_view section, std::string_view key,
                   std::string_view fallback = "") {
    clsIniFile ini;
    ini.pFileName(path);
    return ini.mGetString(section, key, fallback);
}

const StoredPlacement kNoPlacement{{}, {}, {}, {}, {1600, 1600, 1500}};
const StoredOptions kFixedOptions{"1", "2", "yymmdd", 1, 0, 0};

TEST(PersistedSettings, WithoutAFileDefaultsApplyAndTheFirstSaveWritesAllKeys) {
    testing::TempDir temp;
    const std::string ini = temp.path() + "Karvel.ini";
    const StoredSettings loaded = LoadSettings(ini);
    EXPECT_EQ(loaded.placement, kNoPlacement) << "the window keeps where it opened";
    EXPECT_EQ(loaded.options, kFixedOptions);
    EXPECT_FALSE(std::filesystem::exists(ini)) << "loading writes nothing";

    // A width beyond 16 bits is still written; the next start keeps its own (below).
    SaveSettings(ini, kClosing);
    EXPECT_EQ(ReadAll(ini),
              "[Settings]\nMainLeft=1440.5\nMainTop=900\nMainWidth=40000\nMainHeight=6000\n\n"
              "[LVSettings]\nColWidth1=1600\nColWidth2=1600\nColWidth3=1500\n\n"
              "[Option]\nStartNo=1\nColummn=2\nType=yymmdd\nTimeUpd=1\nNextOption=0\nDateFrom=0\n");
}

TEST(PersistedSettings, StoredPlacementIsAppliedAndBadValuesAreSkipped) {
    const StoredSettings loaded = LoadFrom(
        "[settings]\nMainLeft=-3000\nMainTop= 120.5 \nMainWidth=40000\nMainHeight=abc\n"
        "[LVSETTINGS]\nColWidth1=-5\nColWidth2=0\nColWidth3=\n");
    EXPECT_EQ(loaded.placement.left, -3000) << "positions are not clamped to the screen";
    EXPECT_EQ(loaded.placement.top, 120);
    EXPECT_EQ(loaded.placement.width, std::nullopt) << "over 32767 twips: the window keeps its own";
    EXPECT_EQ(loaded.placement.height, std::nullopt);
    EXPECT_EQ(loaded.placement.columnWidths,
              (std::array<std::optional<double>, 3>{std::nullopt, 0, 1500}));
}

TEST(PersistedSettings, CarryOverBoxDecidesWhetherStoredOptionsApply) {
    const std::string stored = "StartNo=007\nColummn=4\nType=yyyymm\nTimeUpd=0\n";
    const StoredOptions refusedBox{"1", "2", "yymmdd", 1, std::nullopt, 0};
    const struct {
        const char* nextOption;
        StoredOptions want;
    } cases[] = {
        {nullptr, kFixedOptions},
        {"0", kFixedOptions},
        {"", kFixedOptions},
        {"3", refusedBox},
        {"-1", refusedBox},
        {"on", refusedBox},
        {"1", {"7", "4", "yyyymm", 0, 1, std::nullopt}},
        {" 2 ", {"7", "4", "yyyymm", 0, 2, std::nullopt}},
        {"0.6", {"7", "4", "yyyymm", 0, 1, std::nullopt}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nextOption ? c.nextOption : "(none)");
        const std::string line =
            c.nextOption ? "NextOption=" + std::string(c.nextOption) + "\n" : "";
        EXPECT_EQ(LoadFrom("[Option]\n" + line + stored).options, c.want);
    }
}

TEST(PersistedSettings, RefusedOptionsLeaveTheControlsAsTheyWere) {
    const auto kept = std::nullopt;
    const struct {
        const char* stored;
        StoredOptions want;
    } cases[] = {
        {"", {"1", "2", "yymmdd", 1, 1, std::nullopt}},
        {"StartNo=abc\nColummn=9\nType=ddmmyy\nTimeUpd=5\n", {kept, "", "", kept, 1, std::nullopt}},
        {"StartNo=2147483648\nColummn=02.4\nType=yy/mm\nTimeUpd=two\n",
         {kept, "2", "", kept, 1, std::nullopt}},
        {"StartNo=+-5\n", {kept, "2", "yymmdd", 1, 1, std::nullopt}},
        {"StartNo=-12.5\nColummn=\nType=\nTimeUpd=2\n", {"-12", "2", "yymmdd", 2, 1, std::nullopt}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(LoadFrom("[Option]\nNextOption=1\n" + std::string(c.stored)).options, c.want);
    }
}

// The date source follows the carry-over box as every option does; only 0 to 2 is one.
TEST(PersistedSettings, TheDateSourceIsKeptWithTheOptions) {
    const struct {
        const char* stored;
        std::optional<int> want;
    } cases[] = {
        {"NextOption=1\nDateFrom=1\n", 1},
        {"NextOption=1\nDateFrom=2\n", 2},
        {"NextOption=1\nDateFrom=3\n", std::nullopt},
        {"NextOption=1\nDateFrom=x\n", std::nullopt},
        {"NextOption=1\n", std::nullopt},
        {"NextOption=0\nDateFrom=2\n", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LoadFrom("[Option]\n" + std::string(c.stored)).options.dateFrom, c.want)
            << c.stored;
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
        StoredSettings first = WithStartNo(c.saved);
        first.options.optState = 1;
        SaveSettings(ini, first);
        EXPECT_EQ(LoadSettings(ini).options.startNoText, c.restored);
    }
}

TEST(PersistedSettings, SettingsFileWithoutWriteBitsIsLeftUntouchedAlsoForRoot) {
    testing::TempDir temp;
    const std::string content = "[Option]\nStartNo=3\nNextOption=1\n";
    const std::string ini = temp.MakeFile("Karvel.ini", content);
    ASSERT_EQ(::chmod(ini.c_str(), 0444), 0);
    struct stat before {};
    ASSERT_EQ(::stat(ini.c_str(), &before), 0);

    SaveSettings(ini, WithStartNo("12"));

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
    const StoredSettings first = LoadSettings(ini);
    EXPECT_EQ(first.options.colText, "");
    SaveSettings(ini, first);
    EXPECT_EQ(Stored(ini, "Option", "Colummn", "<none>"), "<none>");
    EXPECT_EQ(Stored(ini, "Option", "NextOption"), "2");

    EXPECT_EQ(LoadSettings(ini).options, (StoredOptions{"1", "2", "yymmdd", 1, 2, std::nullopt}));
}

TEST(PersistedSettings, AbsentValuesAreNotWritten) {
    testing::TempDir temp;
    const std::string placement =
        "; mine\n[Settings]\nMainLeft=10\nMainTop=20\nMainWidth=3000\nMainHeight=2000\n\n"
        "[LVSettings]\nColWidth1=100\nColWidth2=200\nColWidth3=300\n";
    const std::string ini = temp.MakeFile("Karvel.ini", placement);
    SaveSettings(ini, {});
    EXPECT_EQ(ReadAll(ini), placement);
    // As a minimised or maximised window closes: its options only.
    SaveSettings(ini, {{}, {"", "5", "mmdd", 2, 1, std::nullopt}});
    EXPECT_EQ(ReadAll(ini), placement +
                                "\n[Option]\nStartNo=\nColummn=5\nType=mmdd\nTimeUpd=2\n"
                                "NextOption=1\n");
}

TEST(PersistedSettings, SaveToAnImpossiblePathChangesNothing) {
    testing::TempDir temp;
    const std::string plain = temp.MakeFile("program", "not a folder");
    const std::string ini = plain + "/Karvel.ini";
    SaveSettings(ini, WithStartNo("12"));
    EXPECT_EQ(ReadAll(plain), "not a folder");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()),
                            std::filesystem::directory_iterator()),
              1);

    // The next start finds nothing stored and keeps its defaults.
    const StoredSettings next = LoadSettings(ini);
    EXPECT_EQ(next.placement, kNoPlacement);
    EXPECT_EQ(next.options, kFixedOptions);
}

}  // namespace
}  // namespace karvel
