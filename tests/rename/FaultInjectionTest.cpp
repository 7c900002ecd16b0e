// Every call of a row failing in turn with the errors disks really give: the run ends
// where it must, the rows before stay renamed, the rows after and the failing file stay
// exactly as they were.
#include <gtest/gtest.h>

#include "filetime/ZoneFixture.h"
#include "rename/RunFixture.h"

namespace karvel {
namespace {

using testing::FsCall;
using testing::Nanos;
using testing::RunFixture;

struct Stamp {
    std::string content;
    long long modified = 0;
};

Stamp StampOf(const RunFixture& run, const std::string& name) {
    FileInstants instants;
    if (ReadFileInstants(run.dir.path() + name, instants)) return {};
    return {run.Content(name), Nanos(instants.modify)};
}

TEST(FaultInjection, EachCallOfARowFailingWithEachError) {
    const int errors[] = {EACCES, EROFS, ENOSPC, EXDEV, ENAMETOOLONG, EIO};
    const FsCall calls[] = {FsCall::Lookup, FsCall::Lookup, FsCall::ReadTimes, FsCall::WriteTimes,
                            FsCall::Rename};
    for (const int error : errors) {
        for (std::size_t call = 0; call < std::size(calls); ++call) {
            const std::string label = std::to_string(error) + "/" + std::to_string(call);
            RunFixture run;
            run.List({{"a.jpg", "x_1.jpg"}, {"b.jpg", "x_2.jpg"}, {"c.jpg", "x_3.jpg"}});
            const Stamp before = StampOf(run, "b.jpg");
            run.fileSystem.failure = {error, std::generic_category()};
            run.fileSystem.failCall = std::size(calls) + call;  // the second row's call
            const RunReport report = run.Start();
            ASSERT_EQ(run.fileSystem.calls[std::size(calls) + call], calls[call]) << label;

            EXPECT_TRUE(run.Exists("x_1.jpg")) << label;
            const std::string& message = run.host.messages.back().text;
            switch (calls[call]) {
                case FsCall::Lookup:
                    EXPECT_EQ(report.result, RunResult::Stopped) << label;
                    if (call == 1 && error == ENAMETOOLONG) {
                        // A name the folder cannot hold is a failure, not a taken name.
                        EXPECT_EQ(message, "エラーが発生しました\r\n36 File name too long( b.jpg > x_2.jpg )");
                        break;
                    }
                    EXPECT_EQ(message, call == 0
                                           ? "ファイルが見つかりません  処理を中断します\r( b.jpg )"
                                           : "変換後のファイル名称は既に存在します  処理を中断します"
                                             "\r( b.jpg > x_2.jpg )")
                        << label;
                    break;
                case FsCall::ReadTimes:
                case FsCall::WriteTimes:
                    // Stamps are never reported: the file is renamed with its own stamps.
                    EXPECT_EQ(report.result, RunResult::Completed) << label;
                    EXPECT_EQ(StampOf(run, "x_2.jpg").modified, before.modified) << label;
                    EXPECT_TRUE(run.Exists("x_3.jpg")) << label;
                    continue;
                case FsCall::Rename:
                    EXPECT_EQ(report.result, RunResult::Stopped) << label;
                    EXPECT_EQ(message, "エラーが発生しました\r\n" + std::to_string(error) + " " +
                                           std::generic_category().message(error) +
                                           "( b.jpg > x_2.jpg )")
                        << label;
                    break;
            }
            EXPECT_EQ(run.host.messages.back().icon, RunIcon::Error) << label;
            const Stamp after = StampOf(run, "b.jpg");
            EXPECT_EQ(after.content, before.content) << label;
            EXPECT_EQ(after.modified, before.modified) << label;
            EXPECT_TRUE(run.Exists("c.jpg") && !run.Exists("x_3.jpg")) << label;
            EXPECT_EQ(run.list.StsBarText(), kStsDropFiles) << label;
        }
    }
}

}  // namespace
}  // namespace karvel
