#include "settings/clsIniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "settings/ProfileText.h"
#include "support/TempDir.h"

namespace karvel {
namespace {

namespace fs = std::filesystem;

using testing::ReadAll;

std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        names.push_back(entry.path().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

clsIniFile IniAt(const std::string& path) {
    clsIniFile ini;
    ini.pFileName(path);
    return ini;
}

TEST(IniFile, MissingFileAndFoldersAreCreatedOnFirstWrite) {
    testing::TempDir temp;
    const std::string path = temp.path() + "a/b/Karvel.ini";
    const clsIniFile ini = IniAt(path);
    EXPECT_EQ(ini.mGetString("Option", "Type", "yymmdd"), "yymmdd");
    EXPECT_EQ(ini.mGetString("Option", "Type"), "");
    EXPECT_FALSE(fs::exists(temp.path() + "a")) << "a read creates nothing";

    EXPECT_TRUE(ini.mSetString("Option", "Type", "yymm"));
    EXPECT_EQ(ReadAll(path), "[Option]\nType=yymm\n");
    EXPECT_EQ(ini.mGetString("option", "TYPE", "yymmdd"), "yymm");
    // The write goes through a file beside the old one; none is left behind.
    EXPECT_TRUE(ini.mSetString("Option", "Type", "mmdd"));
    EXPECT_EQ(Listing(temp.path()),
              (std::vector<std::string>{temp.path() + "a", temp.path() + "a/b", path}));
}

TEST(IniFile, EmptyValueReadsAsTheDefault) {
    testing::TempDir temp;
    const clsIniFile ini = IniAt(temp.MakeFile("Karvel.ini", "[Option]\nColummn=\nBare\nQ=\"\"\n"));
    for (const char* key : {"Colummn", "Bare", "Q", "Missing"}) {
        EXPECT_EQ(ini.mGetString("Option", key, "2"), "2") << key;
    }
    EXPECT_TRUE(ini.mSetString("Option", "StartNo", ""));
    EXPECT_EQ(ini.mGetString("Option", "StartNo", "1"), "1");
}

TEST(IniFile, LongValuesReadBackCutTo255BytesOnACharacterBoundary) {
    testing::TempDir temp;
    const clsIniFile ini = IniAt(temp.path() + "Karvel.ini");
    ASSERT_TRUE(ini.mSetString("S", "ascii", std::string(300, 'a')));
    EXPECT_EQ(ini.mGetString("S", "ascii"), std::string(255, 'a'));

    std::string kanji;
    while (kanji.size() < 300) kanji += "日";  // three bytes each
    ASSERT_TRUE(ini.mSetString("S", "shifted", "x" + kanji));
    EXPECT_EQ(ini.mGetString("S", "shifted"), "x" + kanji.substr(0, 252));

    EXPECT_TRUE(ini.mSetString("S", "short", "日本語"));
    EXPECT_EQ(ini.mGetString("S", "short"), "日本語");
}

TEST(IniFile, ValuesWithLineBreaksAreRefusedAndTheFileKept) {
    testing::TempDir temp;
    const std::string content = "\xEF\xBB\xBF; mine\r\n[Option]\r\nType=yymmdd\r\n";
    const std::string path = temp.MakeFile("Karvel.ini", content);
    const clsIniFile ini = IniAt(path);
    for (const char* value : {"a\rb", "a\nb", "ab\r\n", "\n"}) {
        EXPECT_FALSE(ini.mSetString("Option", "Type", value)) << ::testing::PrintToString(value);
        EXPECT_FALSE(ini.mSetString("Option", "New", value));
    }
    EXPECT_EQ(ReadAll(path), content);
    EXPECT_FALSE(IniAt(temp.path() + "new.ini").mSetString("A", "k", "x\ny"));
    EXPECT_FALSE(fs::exists(temp.path() + "new.ini"));

    // A rewrite keeps the byte-order mark and the file's line ends.
    EXPECT_TRUE(ini.mSetString("Option", "Type", "mmdd"));
    EXPECT_TRUE(ini.mSetString("Option", "TimeUpd", "1"));
    EXPECT_EQ(ReadAll(path), "\xEF\xBB\xBF; mine\r\n[Option]\r\nType=mmdd\r\nTimeUpd=1\r\n");
}

TEST(IniFile, ReadsIntegersAndRaisesACatchableErrorBeyond16Bits) {
    testing::TempDir temp;
    const clsIniFile ini = IniAt(temp.MakeFile("Karvel.ini",
                                               "[N]\nmax=32767\nmin= -32768\nunit=12px\n"
                                               "word=abc\nsign=-\nover=40000\nunder=-32769\n"
                                               "huge=99999999999999999999\nempty=\n"));
    EXPECT_EQ(ini.mGetInteger("N", "max"), 32767);
    EXPECT_EQ(ini.mGetInteger("N", "min"), -32768);
    EXPECT_EQ(ini.mGetInteger("N", "unit"), 12);
    EXPECT_EQ(ini.mGetInteger("N", "word", 5), 5);
    EXPECT_EQ(ini.mGetInteger("N", "sign", 5), 5);
    EXPECT_EQ(ini.mGetInteger("N", "empty", -7), -7);
    EXPECT_EQ(ini.mGetInteger("N", "missing", 3), 3);
    EXPECT_EQ(ini.mGetInteger("N", "missing"), 0);
    for (const char* key : {"over", "under", "huge"}) {
        EXPECT_THROW((void)ini.mGetInteger("N", key), IniIntegerOverflow) << key;
    }
    // Callers may catch it as the standard overflow error.
    EXPECT_THROW((void)ini.mGetInteger("N", "over", 1), std::overflow_error);
}

TEST(IniFile, HugeInvalidOrOddFilesGiveDefaultsAndStayUntouched) {
    testing::TempDir temp;
    std::string huge = "[S]\nk=v\n";
    huge.append(kProfileMaxBytes, ';');
    fs::create_directory(temp.path() + "folder.ini");
    const std::string paths[] = {
        temp.MakeFile("huge.ini", huge),
        temp.MakeFile("latin1.ini", "[S]\nk=caf\xE9\n"),
        temp.MakeFile("nul.ini", std::string("[S]\nk=v\n\0", 9)),
        temp.path() + "folder.ini",
    };
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        const bool isFile = fs::is_regular_file(path);
        const std::string before = isFile ? ReadAll(path) : "";
        const clsIniFile ini = IniAt(path);
        EXPECT_EQ(ini.mGetString("S", "k", "dflt"), "dflt");
        EXPECT_EQ(ini.mGetInteger("S", "k", 4), 4);
        EXPECT_FALSE(ini.mSetString("S", "k", "new"));
        EXPECT_EQ(fs::is_regular_file(path), isFile);
        if (isFile) {
            EXPECT_EQ(ReadAll(path), before);
        }
    }
}

TEST(IniFile, WriteThatCannotSucceedReturnsFalseAndChangesNothing) {
    testing::TempDir temp;
    // A plain file where the folder should be: not even root can create the settings file.
    const std::string plain = temp.MakeFile("notafolder", "keep");
    const auto before = Listing(temp.path());
    for (const std::string& path : {plain + "/Karvel.ini", plain + "/sub/Karvel.ini"}) {
        const clsIniFile ini = IniAt(path);
        EXPECT_FALSE(ini.mSetString("Option", "Type", "yymm")) << path;
        EXPECT_EQ(ini.mGetString("Option", "Type", "yymmdd"), "yymmdd");
    }
    EXPECT_FALSE(IniAt("").mSetString("Option", "Type", "yymm"));
    EXPECT_EQ(ReadAll(plain), "keep");
    EXPECT_EQ(Listing(temp.path()), before);
}

TEST(IniFile, RewriteKeepsSymbolicLinkAndPermissions) {
    testing::TempDir temp;
    const std::string real = temp.MakeFile("real.ini", "[A]\nx=1\n");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    const std::string link = temp.path() + "Karvel.ini";
    fs::create_symlink(real, link);

    EXPECT_TRUE(IniAt(link).mSetString("A", "x", "2"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadAll(real), "[A]\nx=2\n");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace
}  // namespace karvel
