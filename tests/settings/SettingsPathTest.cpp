#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

#include "settings/SettingsPath.h"
#include "support/TempDir.h"

namespace karvel {
namespace {

// Sets or clears an environment variable for one test and puts it back after.
class EnvOverride {
  public:
    EnvOverride(const char* name, const char* value) : name_(name) {
        if (const char* old = ::getenv(name)) old_ = old;
        if (value) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~EnvOverride() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    EnvOverride(const EnvOverride&) = delete;
    EnvOverride& operator=(const EnvOverride&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(SettingsPath, WritableProgramFolderHoldsTheFile) {
    testing::TempDir temp;
    const EnvOverride config("XDG_CONFIG_HOME", "/elsewhere");
    EXPECT_EQ(SettingsFilePath(temp.path()), temp.path() + "Karvel.ini");
    EXPECT_EQ(SettingsFilePath(temp.path() + "//"), temp.path() + "Karvel.ini");
    const std::string bare = temp.path().substr(0, temp.path().size() - 1);
    EXPECT_EQ(SettingsFilePath(bare), bare + "/Karvel.ini");
}

TEST(SettingsPath, UnwritableProgramFolderFallsBackToTheUserConfiguration) {
    testing::TempDir temp;
    const std::string gone = temp.path() + "not-there";
    {
        const EnvOverride config("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(SettingsFilePath(gone), "/cfg/Karvel/Karvel.ini");
        EXPECT_EQ(SettingsFilePath(""), "/cfg/Karvel/Karvel.ini");
        // Root may write anywhere; for anyone else a read-only folder is no place for it.
        const std::string locked = temp.path() + "locked";
        ASSERT_EQ(::mkdir(locked.c_str(), 0555), 0);
        EXPECT_EQ(SettingsFilePath(locked),
                  ::geteuid() == 0 ? locked + "/Karvel.ini" : "/cfg/Karvel/Karvel.ini");
    }
    const EnvOverride home("HOME", "/home/someone");
    for (const char* ignored : {static_cast<const char*>(nullptr), "", "relative/cfg"}) {
        const EnvOverride config("XDG_CONFIG_HOME", ignored);
        EXPECT_EQ(SettingsFilePath(gone), "/home/someone/.config/Karvel/Karvel.ini")
            << (ignored ? ignored : "(unset)");
    }
}

}  // namespace
}  // namespace karvel
