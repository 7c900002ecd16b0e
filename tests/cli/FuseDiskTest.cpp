// On a disk without never-replace renames or hard links (exFAT through FUSE, as camera
// cards and phones are often reached), a run never replaces a file, keeps no date the card
// cannot, and undo takes it back after the card was out and in again.
#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "cli/ProgramRun.h"
#include "filetime/FileTimes.h"
#include "rename/PosixRunFileSystem.h"
#include "rename/RealRunFixture.h"
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
        Mount();
    }
    // Out and in again, as a card taken out and put back.
    void Remount() {
        if (mounted_) Run("umount " + ShellQuoted(mount_));
        mounted_ = false;
        Mount();
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
    void Mount() {
        if (!Run("mount.exfat-fuse -o allow_other " + ShellQuoted(device_) + " " +
                 ShellQuoted(mount_) + " >/dev/null 2>&1")) {
            problem_ = "mount.exfat-fuse failed";
            return;
        }
        mounted_ = true;
    }

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

class OnExfat : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const std::string why = WhyNoFuse(); !why.empty()) GTEST_SKIP() << why;
        disk_.emplace(dir_.path());
        if (!disk_->Problem().empty()) GTEST_SKIP() << disk_->Problem();
    }
    FuseDisk& Disk() { return *disk_; }
    const std::string& Folder() { return disk_->Folder(); }

    TempDir dir_;
    std::optional<FuseDisk> disk_;
};

const std::vector<std::string> kEnvironment = {"KARVEL_INI=/nonexistent/Karvel.ini"};
constexpr time_t kOld = 1'577'873'472;  // 2020-01-01 10:11:12 UTC

// A run renames and re-stamps; the card goes out and comes back, its files numbered anew,
// and undo still knows each one by its name, size and stamps.
TEST_F(OnExfat, ARunAndItsUndoAcrossARemount) {
    constexpr int kFiles = 100;
    std::vector<std::string> arguments = {"--batch",    "--yes",     "--verbose", "--date",
                                          "2024-03-05", "--pattern", "yymmdd",    "--digits",
                                          "3",          "--midnight"};
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = "f" + std::to_string(100 + i) + ".jpg";
        std::ofstream(Folder() + name) << name;
        FileInstants old;
        old.access.tv_sec = old.modify.tv_sec = kOld;
        ASSERT_FALSE(WriteFileInstants(Folder() + name, old));
        arguments.push_back(name);
    }
    const auto run = testing::RunProgram(KARVEL_PROGRAM, arguments, Folder(), kEnvironment);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("karvel: the folder renamed by an empty placeholder taken first, then a "
                           "rename over it"),
              std::string::npos)
        << run.err;
    for (int i = 0; i < kFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "240305_%03d.jpg", i + 1);
        EXPECT_EQ(testing::ReadAll(Folder() + name), "f" + std::to_string(100 + i) + ".jpg");
        FileInstants stamped;
        ASSERT_FALSE(ReadFileInstants(Folder() + name, stamped));
        EXPECT_EQ(stamped.modify.tv_sec, 1'709'564'400);  // 2024-03-05 00:00 at UTC+9
    }

    Disk().Remount();
    ASSERT_TRUE(Disk().Problem().empty()) << Disk().Problem();
    const auto undo = testing::RunProgram(
        KARVEL_PROGRAM, {"--batch", "--undo", "--yes", "--verbose"}, Folder(), kEnvironment);
    ASSERT_EQ(undo.status, 0) << undo.err;
    EXPECT_NE(undo.err.find("karvel: fuseblk numbers its files anew on each mount: files were told "
                            "by their names, sizes and time stamps\n"),
              std::string::npos)
        << undo.err;
    EXPECT_NE(undo.err.find(std::to_string(kFiles) + " File を元に戻しました"), std::string::npos)
        << undo.err;
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = "f" + std::to_string(100 + i) + ".jpg";
        EXPECT_EQ(testing::ReadAll(Folder() + name), name);
        FileInstants restored;
        ASSERT_FALSE(ReadFileInstants(Folder() + name, restored));
        EXPECT_EQ(restored.modify.tv_sec, kOld);
    }
}

// exFAT keeps no date before 1980, whatever FUSE's cache answers: refused before any change.
TEST_F(OnExfat, ADateTheCardCannotKeepIsRefusedFirst) {
    std::ofstream(Folder() + "a.jpg") << "a";
    const auto run =
        testing::RunProgram(KARVEL_PROGRAM, {"--batch", "--yes", "--date", "1975-01-01", "a.jpg"},
                            Folder(), kEnvironment);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("選択した日付はこのディスクに記録できません  処理を中断します"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(testing::ReadAll(Folder() + "a.jpg"), "a");
}

// Another program creates the name a file is about to get. Before the run takes the name,
// the other file wins and the run stops at that row; once the run holds it, nobody else
// can create it until the file is there.
int gIntruderError = 0;

int IntrudeThenRename(int folder, const char* from, const char* to) {
    const int fd = ::openat(folder, to, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    gIntruderError = fd < 0 ? errno : 0;
    if (fd >= 0) ::close(fd);
    return ::renameat(folder, from, folder, to);
}

TEST_F(OnExfat, AnotherProgramsFileIsNeverReplaced) {
    RenameCalls calls = SystemRenameCalls();
    calls.plainRename = &IntrudeThenRename;

    testing::RealRunFixture held(Folder());
    held.fileSystem = testing::ScriptedFileSystem(calls);
    held.List({{"a.jpg", "x_1.jpg"}});
    EXPECT_EQ(held.Start().result, RunResult::Completed);
    EXPECT_EQ(held.fileSystem.Way(), RenameWay::Placeholder);
    EXPECT_EQ(gIntruderError, EEXIST);
    EXPECT_EQ(held.Content("x_1.jpg"), "a.jpg");

    testing::RealRunFixture first(Folder());
    first.List({{"b.jpg", "x_2.jpg"}, {"c.jpg", "x_3.jpg"}});
    first.fileSystem.beforeRename = [&](const std::string& target) {
        if (target == "x_3.jpg") std::ofstream(Folder() + target) << "theirs";
    };
    EXPECT_EQ(first.Start().renamed, 1U);
    EXPECT_EQ(first.host.messages.back().text,
              "変換後のファイル名称は既に存在します  処理を中断します\r( c.jpg > x_3.jpg )");
    EXPECT_EQ(first.Content("x_3.jpg"), "theirs");
    EXPECT_EQ(first.Content("c.jpg"), "c.jpg");
}

}  // namespace
}  // namespace karvel
