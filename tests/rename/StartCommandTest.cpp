// The start command: when it refuses, what it asks, and how every run ends.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "rename/RunFixture.h"
#include "rename/RunMessages.h"

namespace karvel {
namespace {

using ::testing::ElementsAre;
using testing::RunFixture;

const std::string kConfirmThree = "3 File の ReName を開始します  よろしいですか？";

TEST(StartCommand, RefusesAnEmptyListOrOneThatAsksForFiles) {
    RunFixture empty;
    empty.list.SetState(ListState::Ready);
    EXPECT_EQ(empty.Start().result, RunResult::Refused);
    ASSERT_EQ(empty.host.messages.size(), 1U);
    EXPECT_EQ(empty.host.messages[0].icon, RunIcon::Warning);
    EXPECT_EQ(empty.host.messages[0].text, "対象ﾌｧｲﾙをﾄﾞﾛｯﾌﾟして下さい");

    // Right after a run the rows are still there, but the list asks for new files.
    RunFixture afterRun;
    afterRun.List({{"a.jpg", "240305_1.jpg"}});
    afterRun.list.SetState(ListState::Spent);
    EXPECT_EQ(afterRun.Start().result, RunResult::Refused);
    EXPECT_THAT(afterRun.MessageTexts(), ElementsAre("対象ﾌｧｲﾙをﾄﾞﾛｯﾌﾟして下さい"));
    EXPECT_TRUE(afterRun.disk.calls.empty());
    EXPECT_TRUE(afterRun.host.busyChanges.empty());
}

TEST(StartCommand, RefusesRowsWithoutNewNames) {
    RunFixture run;
    run.List({{"a.jpg", ""}, {"b.jpg", ""}});
    EXPECT_EQ(run.Start().result, RunResult::Refused);
    ASSERT_EQ(run.host.messages.size(), 1U);
    EXPECT_EQ(run.host.messages[0].icon, RunIcon::Warning);
    EXPECT_EQ(run.host.messages[0].text, "変換後のファイル名称を作成できません");
    EXPECT_TRUE(run.Exists("a.jpg"));
    EXPECT_EQ(run.list.State(), ListState::Ready);
}

TEST(StartCommand, NoChangesNothing) {
    RunFixture run;
    run.List({{"a.jpg", "x_1.jpg"}, {"b.jpg", "x_2.jpg"}, {"c.jpg", "x_3.jpg"}});
    run.host.answers = {RunAnswer::No};
    EXPECT_EQ(run.Start().result, RunResult::Declined);

    ASSERT_EQ(run.host.messages.size(), 1U);
    EXPECT_EQ(run.host.messages[0].icon, RunIcon::Question);
    EXPECT_EQ(run.host.messages[0].text, kConfirmThree);
    EXPECT_TRUE(run.disk.calls.empty());
    EXPECT_TRUE(run.host.busyChanges.empty());
    EXPECT_EQ(run.list.State(), ListState::Ready);
    EXPECT_TRUE(run.Exists("a.jpg") && run.Exists("b.jpg") && run.Exists("c.jpg"));
}

// One question a run: where a row is marked and the caller asks for it, the warning of that
// stop replaces the confirmation and its Yes starts the run; otherwise the confirmation.
TEST(StartCommand, AKnownStopIsWarnedOfInsteadOfTheConfirmation) {
    const std::string warning =
        "2 行目で処理が中断します  同じ名前のファイルが既に存在します\r( b.jpg > x_2.jpg )\r\n"
        "中断までに変換されるのは 1 File です  開始しますか？";
    struct Case {
        bool warnOfKnownStop;
        bool marked;
        RunIcon icon;
        std::string question;
    };
    for (const Case& c : {Case{true, true, RunIcon::WarningQuestion, warning},
                          Case{false, true, RunIcon::Question, kConfirmThree},
                          Case{true, false, RunIcon::Question, kConfirmThree}}) {
        SCOPED_TRACE(c.question);
        for (const RunAnswer answer : {RunAnswer::No, RunAnswer::Yes}) {
            RunFixture run;
            run.List({{"a.jpg", "x_1.jpg"}, {"b.jpg", "x_2.jpg"}, {"c.jpg", "x_3.jpg"}});
            if (c.marked) {
                run.MakeFile("x_2.jpg", "unlisted");
                run.list.MutableRows()[1].Conflict = RowConflict::NameTaken;
            }
            run.settings.warnOfKnownStop = c.warnOfKnownStop;
            run.host.answers = {answer};
            const RunReport report = run.Start();

            ASSERT_FALSE(run.host.messages.empty());
            EXPECT_EQ(run.host.messages[0].icon, c.icon);
            EXPECT_EQ(run.host.messages[0].text, c.question);
            if (answer == RunAnswer::No) {
                EXPECT_EQ(report.result, RunResult::Declined);
                EXPECT_EQ(run.host.messages.size(), 1U);
                EXPECT_TRUE(run.Exists("a.jpg"));
                continue;
            }
            // Yes runs at once: no second question; a marked row stops it there.
            EXPECT_EQ(report.result, c.marked ? RunResult::Stopped : RunResult::Completed);
            EXPECT_EQ(run.host.messages.size(), 2U);
            EXPECT_NE(run.host.messages[1].icon, RunIcon::Question);
            EXPECT_TRUE(run.Exists("x_1.jpg"));
        }
    }
}

TEST(StartCommand, ACompleteRunRenamesEveryRowAndReportsSuccess) {
    RunFixture run;
    run.List({{"b.jpg", "240305_1.jpg"}, {"a.tar.gz", "240305_2.tar.gz"}, {"c", "240305_3"}});
    const RunReport report = run.Start();

    EXPECT_EQ(report.result, RunResult::Completed);
    EXPECT_EQ(report.renamed, 3U);
    EXPECT_EQ(run.Content("240305_1.jpg"), "b.jpg");
    EXPECT_EQ(run.Content("240305_2.tar.gz"), "a.tar.gz");
    EXPECT_EQ(run.Content("240305_3"), "c");
    EXPECT_FALSE(run.Exists("b.jpg"));

    EXPECT_THAT(run.MessageTexts(), ElementsAre(kConfirmThree, "変換処理が正常終了しました"));
    EXPECT_EQ(run.host.messages[1].icon, RunIcon::Information);
    EXPECT_EQ(run.host.broughtToFrontBeforeMessages, 1U);  // in front before the success message
    EXPECT_THAT(run.host.busyChanges, ElementsAre(true, false));
    EXPECT_THAT(run.host.selected, ElementsAre(0U, 1U, 2U));
    EXPECT_EQ(run.host.eventPasses, 3);
    EXPECT_EQ(run.host.lastDone, 3U);
    EXPECT_EQ(run.host.lastTotal, 3U);

    // The rows keep their texts, the last one stays selected, the list asks for new files.
    EXPECT_EQ(run.list.Rows()[0].BeforeName, "b.jpg");
    EXPECT_FALSE(run.list.Rows()[0].Selected);
    EXPECT_TRUE(run.list.Rows()[2].Selected);
    EXPECT_EQ(run.list.State(), ListState::Spent);
    EXPECT_EQ(run.list.RowCount(), 3U);
}

TEST(StartCommand, AStoppedRunLeavesTheRowsBelowUntouched) {
    RunFixture run;
    run.List(
        {{"a.jpg", "x_1.jpg"}, {"b.jpg", "x_2.jpg"}, {"c.jpg", "x_3.jpg"}, {"d.jpg", "x_4.jpg"}});
    run.disk.RemoveEntry(run.Path("c.jpg"));
    const RunReport report = run.Start();

    EXPECT_EQ(report.result, RunResult::Stopped);
    EXPECT_EQ(report.renamed, 2U);
    EXPECT_TRUE(run.Exists("x_1.jpg") && run.Exists("x_2.jpg"));
    EXPECT_TRUE(run.Exists("d.jpg"));
    EXPECT_FALSE(run.Exists("x_4.jpg"));
    ASSERT_EQ(run.host.messages.size(), 2U);
    EXPECT_EQ(run.host.messages[1].icon, RunIcon::Error);
    EXPECT_EQ(run.host.messages[1].text, "ファイルが見つかりません  処理を中断します\r( c.jpg )");
    EXPECT_FALSE(run.host.broughtToFrontBeforeMessages);
    EXPECT_THAT(run.host.busyChanges, ElementsAre(true, false));
    EXPECT_EQ(run.list.State(), ListState::Spent);
    EXPECT_TRUE(run.list.Rows()[2].Selected);
}

TEST(StartCommand, AHostStopEndsTheRunAfterTheCurrentFileWithoutAMessage) {
    RunFixture run;
    run.List({{"a", "x_1"}, {"b", "x_2"}, {"c", "x_3"}});
    run.host.stopAfterFiles = 1;
    const RunReport report = run.Start();

    EXPECT_EQ(report.result, RunResult::Interrupted);
    EXPECT_EQ(report.renamed, 1U);
    EXPECT_TRUE(run.Exists("x_1") && run.Exists("b") && run.Exists("c"));
    EXPECT_THAT(run.MessageTexts(), ElementsAre("3 File の ReName を開始します  よろしいですか？"));
    EXPECT_EQ(run.list.State(), ListState::Spent);
}

// Past the first few hundred rows too, a missing file stops the run at its row, and a stop
// asked for right before it still names it; a stop before a row that can go on is silent.
TEST(StartCommand, AMissingFileOrAHostStopPastTheFirstRows) {
    constexpr std::size_t kRows = 600;
    constexpr std::size_t kNone = kRows;
    const struct {
        std::size_t missing;
        std::optional<int> stopAfter;
        RunResult result;
        std::size_t renamed;
    } cases[] = {
        {300, std::nullopt, RunResult::Stopped, 300}, {0, std::nullopt, RunResult::Stopped, 0},
        {256, 256, RunResult::Stopped, 256},          {257, 256, RunResult::Interrupted, 256},
        {300, 256, RunResult::Interrupted, 256},      {kNone, 599, RunResult::Interrupted, 599},
        {kNone, 600, RunResult::Completed, 600},
    };
    for (const auto& each : cases) {
        const std::string label =
            std::to_string(each.missing) + "/" + std::to_string(each.stopAfter.value_or(-1));
        RunFixture run;
        std::vector<std::pair<std::string, std::string>> names;
        for (std::size_t i = 0; i < kRows; ++i)
            names.emplace_back("f" + std::to_string(i), "x_" + std::to_string(i));
        run.List(names);
        if (each.missing != kNone) run.disk.RemoveEntry(run.Path(names[each.missing].first));
        run.host.stopAfterFiles = each.stopAfter;
        const RunReport report = run.Start();
        EXPECT_EQ(report.result, each.result) << label;
        EXPECT_EQ(report.renamed, each.renamed) << label;
        for (std::size_t i = 0; i < kRows; ++i) {
            const bool renamed = i < each.renamed;
            if (i == each.missing) continue;
            ASSERT_EQ(run.Exists(names[i].second), renamed) << label << " row " << i;
            ASSERT_EQ(run.Exists(names[i].first), !renamed) << label << " row " << i;
        }
        if (each.result == RunResult::Stopped) {
            EXPECT_EQ(
                run.host.messages.back().text,
                "ファイルが見つかりません  処理を中断します\r( " + names[each.missing].first + " )")
                << label;
        } else if (each.result == RunResult::Interrupted) {
            EXPECT_EQ(run.host.messages.size(), 1U) << label;
        }
    }
}

TEST(RunMessages, CarryTheRowAndTheSystemText) {
    EXPECT_EQ(ConfirmationText(100000), "100000 File の ReName を開始します  よろしいですか？");
    EXPECT_EQ(TargetExistsText("a.jpg", "b.jpg"),
              "変換後のファイル名称は既に存在します  処理を中断します\r( a.jpg > b.jpg )");
    EXPECT_EQ(FailureText(std::error_code(EACCES, std::generic_category()), "a", "b"),
              "エラーが発生しました\r\n13 Permission denied( a > b )");
}

}  // namespace
}  // namespace karvel
