// On a disk without never-replace renames or hard links (exFAT through FUSE, as file
// managers reach phones and shares), a run renames and re-stamps, and undo takes it back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "cli/ProgramRun.h"
#include "filetime/FileTimes.h"
#include "support/TempDir.h"

namespace karvel {
namespace {

using testing::ShellQuoted;
using testing::TempDir;

bool Run(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

// An exFAT image on a loop device, mounted through FUSE for the test's lifetime.
class FuseDisk {
  public:
    explicit FuseDisk(const std::string& folder)
        : image_(folder + "disk.img"), mount_(folder + "mnt/") {
        std::filesystem::create_directories(mount_);
        if (!Run("truncate -s 16M " + ShellQuoted(image_) + " && mkfs.exfat " +
                 ShellQuoted(image_) + " >/dev/null 2>&1")) {
            problem_ = "mkfs.exfat failed";
            return;
        }
        const std::string deviceFile = folder + "device";
        if (!Run("losetup -f --show " + ShellQuoted(image_) + " >" + ShellQuoted(deviceFile) +
                 " 2>/dev/null")) {
            problem_ = "no loop device can be attached";
            return;
        }
        device_ = testing::ReadAll(deviceFile);
        while (!device_.empty() && device_.back() == '\n') device_.pop_back();
        if (!Run("mount.exfat-fuse -o allow_other " + ShellQuoted(device_) + " " +
                 ShellQuoted(mount_) + " >/dev/null 2>&1")) {
            problem_ = "mount.exfat-fuse failed";
            return;
        }
        mounted_ = true;
    }
    ~FuseDisk() {
        if (mounted_) Run("umount " + ShellQuoted(mount_));
        if (!device_.empty()) Run("losetup -d " + ShellQuoted(device_));
    }
    FuseDisk(const FuseDisk&) = delete;
    FuseDisk& operator=(const FuseDisk&) = delete;

    const std::string& Problem() const { return problem_; }
    const std::string& Folder() const { return mount_; }

  private:
    std::string image_;
    std::string mount_;
    std::string device_;
    std::string problem_;
    bool mounted_ = false;
};

std::string WhyNoFuse() {
    if (::geteuid() != 0) return "mounting needs root";
    if (::access("/dev/fuse", R_OK | W_OK) != 0) return "/dev/fuse is not available";
    for (const char* tool :
         {"/usr/sbin/mount.exfat-fuse", "/usr/sbin/mkfs.exfat", "/usr/sbin/losetup"}) {
        if (::access(tool, X_OK) != 0) return std::string(tool) + " is not installed";
    }
    return {};
}

TEST(FuseDisk, ARunAndItsUndoOnExfat) {
    if (const std::string why = WhyNoFuse(); !why.empty()) GTEST_SKIP() << why;
    TempDir dir;
    const FuseDisk disk(dir.path());
    if (!disk.Problem().empty()) GTEST_SKIP() << disk.Problem();
    const std::string& folder = disk.Folder();

    constexpr int kFiles = 100;
    constexpr time_t kOld = 1'577'873'472;  // 2020-01-01 10:11:12 UTC
    std::vector<std::string> arguments = {"--batch",    "--yes",     "--verbose", "--date",
                                          "2024-03-05", "--pattern", "yymmdd",    "--digits",
                                          "3",          "--midnight"};
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = "f" + std::to_string(100 + i) + ".jpg";
        std::ofstream(folder + name) << name;
        FileInstants old;
        old.access.tv_sec = old.modify.tv_sec = kOld;
        ASSERT_FALSE(WriteFileInstants(folder + name, old));
        arguments.push_back(name);
    }
    const std::vector<std::string> environment = {"KARVEL_INI=/nonexistent/Karvel.ini"};
    const auto run = testing::RunProgram(KARVEL_PROGRAM, arguments, folder, environment);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("karvel: the folder renamed by an empty placeholder taken first, then a "
                           "rename over it"),
              std::string::npos)
        << run.err;
    for (int i = 0; i < kFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "240305_%03d.jpg", i + 1);
        EXPECT_EQ(testing::ReadAll(folder + name), "f" + std::to_string(100 + i) + ".jpg");
        FileInstants stamped;
        ASSERT_FALSE(ReadFileInstants(folder + name, stamped));
        EXPECT_EQ(stamped.modify.tv_sec, 1'709'564'400);  // 2024-03-05 00:00 at UTC+9
    }

    const auto undo =
        testing::RunProgram(KARVEL_PROGRAM, {"--batch", "--undo", "--yes"}, folder, environment);
    ASSERT_EQ(undo.status, 0) << undo.err;
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = "f" + std::to_string(100 + i) + ".jpg";
        EXPECT_EQ(testing::ReadAll(folder + name), name);
        FileInstants restored;
        ASSERT_FALSE(ReadFileInstants(folder + name, restored));
        EXPECT_EQ(restored.modify.tv_sec, kOld);
    }
}

}  // namespace
}  // namespace karvel
