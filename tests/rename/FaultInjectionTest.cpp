// Every call of a row failing in turn with the errors disks really give: the run ends
// where it must, the rows before stay renamed, the rows after and the failing file stay
// exactly as they were.
#include <gtest/gtest.h>

#include "rename/RunFixture.h"
#include "support/ZoneFixture.h"

namespace karvel {
namespace {

using testing::DiskCall;
using testing::Nanos;
using testing::RunFixture;

struct Stamp {
    std::string content;
    long long modified = 0;
};

Stamp StampOf(RunFixture& run, const std::string& name) {
    if (!run.Exists(name)) return {};
    return {run.Content(name), Nanos(run.Stamps(name).modify)};
}

// Each call the run makes for the second row fails with each error: the row stops the
// run (or, for its stamp, goes on with its own stamps) and never changes half-way.
TEST(FaultInjection, EachCallOfARowFailingWithEachError) {
    const int errors[] = {EACCES, EROFS, ENOSPC, EXDEV, ENAMETOOLONG, EIO};
    const std::pair<DiskCall, const char*> calls[] = {{DiskCall::Lookup, "b.jpg"},
                                                      {DiskCall::Rename, "b.jpg"},
                                                      {DiskCall::WriteTimes, "x_2.jpg"}};
    for (const int error : errors) {
        for (const auto& [call, name] : calls) {
            const std::string label = std::to_string(error) + "/" + name;
            RunFixture run;
            run.List({{"a.jpg", "x_1.jpg"}, {"b.jpg", "x_2.jpg"}, {"c.jpg", "x_3.jpg"}});
            const Stamp before = StampOf(run, "b.jpg");
            run.disk.Fail(call, name, {error, std::generic_category()});
            const RunReport report = run.Start();
            EXPECT_TRUE(run.Exists("x_1.jpg")) << label;
            const std::string& message = run.host.messages.back().text;
            if (call == DiskCall::WriteTimes) {
                // Stamps are never reported: the file is renamed with its own stamps.
                EXPECT_EQ(report.result, RunResult::Completed) << label;
                EXPECT_EQ(StampOf(run, "x_2.jpg").modified, before.modified) << label;
                EXPECT_TRUE(run.Exists("x_3.jpg")) << label;
                continue;
            }
            EXPECT_EQ(report.result, RunResult::Stopped) << label;
            EXPECT_EQ(message, call == DiskCall::Lookup
                                   ? "ファイルが見つかりません  処理を中断します\r( b.jpg )"
                                   : "エラーが発生しました\r\n" + std::to_string(error) + " " +
                                         std::generic_category().message(error) +
                                         "( b.jpg > x_2.jpg )")
                << label;
            EXPECT_EQ(run.host.messages.back().icon, RunIcon::Error) << label;
            const Stamp after = StampOf(run, "b.jpg");
            EXPECT_EQ(after.content, before.content) << label;
            EXPECT_EQ(after.modified, before.modified) << label;
            EXPECT_TRUE(run.Exists("c.jpg") && !run.Exists("x_3.jpg")) << label;
            EXPECT_EQ(run.list.State(), ListState::Spent) << label;
        }
    }
}

}  // namespace
}  // namespace karvel
