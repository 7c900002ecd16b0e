#pragma once
// A host that records what the run shows and answers as told, and a file system over
// the real disk that records every call and can fail or disturb any one of them.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "rename/PosixRunFileSystem.h"
#include "rename/RunHost.h"

namespace karvel::testing {

struct ShownMessage {
    RunIcon icon;
    std::string text;
};

class RecordingHost : public RunHost {
  public:
    RunAnswer ShowMessage(RunIcon icon, const std::string& text) override {
        messages.push_back({icon, text});
        if (icon != RunIcon::Question && icon != RunIcon::WarningQuestion) return RunAnswer::Ok;
        // A warning that asks defaults to No, as its box does.
        if (answers.empty()) return icon == RunIcon::Question ? RunAnswer::Yes : RunAnswer::No;
        const RunAnswer next = answers.front();
        answers.pop_front();
        return next;
    }
    void SetBusy(bool busy) override { busyChanges.push_back(busy); }
    void RowSelected(std::size_t row) override { selected.push_back(row); }
    void Progress(std::size_t done, std::size_t total) override {
        lastDone = done;
        lastTotal = total;
    }
    void ProcessEvents() override { ++eventPasses; }
    bool StopRequested() override { return stopAfterFiles && eventPasses >= *stopAfterFiles; }
    void BringToFront() override { broughtToFrontBeforeMessages = messages.size(); }

    std::deque<RunAnswer> answers;  // answers to questions; the default when none is left
    std::optional<int> stopAfterFiles;

    std::vector<ShownMessage> messages;
    std::vector<bool> busyChanges;
    std::vector<std::size_t> selected;
    std::size_t lastDone = 0;
    std::size_t lastTotal = 0;
    int eventPasses = 0;
    std::optional<std::size_t> broughtToFrontBeforeMessages;
};

enum class FsCall { Lookup, WriteTimes, Rename, RemoveName, ListNames };

class ScriptedFileSystem : public RunFileSystem {
  public:
    ScriptedFileSystem() = default;
    // Over a disk whose renames behave as `calls` do.
    explicit ScriptedFileSystem(RenameCalls renameCalls) : real_(renameCalls) {}

    FolderOpening OpenFolder(const std::string& folder, ScratchNotes* notes) override {
        if (failOpen) return {failure, {}, {}, true};
        return real_.OpenFolder(folder, notes);
    }
    void CloseFolder() override { real_.CloseFolder(); }
    StampFit TryStamp(const timespec& instant) override {
        if (stampFit) return *stampFit;
        return real_.TryStamp(instant);
    }
    Lookup LookupRegularFile(const std::string& name) override {
        if (Fails(FsCall::Lookup, name)) return {LookupResult::Failed, failure, {}, {}, 0};
        return real_.LookupRegularFile(name);
    }
    std::error_code WriteTimes(const std::string& name, const FileInstants& in) override {
        if (Fails(FsCall::WriteTimes, name)) return failure;
        if (beforeWriteTimes) beforeWriteTimes(name);
        return real_.WriteTimes(name, in);
    }
    std::error_code RenameNoReplace(const std::string& from, const std::string& to) override {
        if (Fails(FsCall::Rename, from)) return failure;
        if (beforeRename) beforeRename(to);
        return real_.RenameNoReplace(from, to);
    }
    std::error_code RemoveName(const std::string& name) override {
        if (Fails(FsCall::RemoveName, name)) return failure;
        return real_.RemoveName(name);
    }
    std::error_code ListNames(std::vector<std::string>& out) override {
        if (Fails(FsCall::ListNames, {})) return failure;
        return real_.ListNames(out);
    }
    RenameWay Way() const override { return real_.Way(); }

    // Makes the calls of `failKind` on the name `failName` (a rename's source) fail,
    // from the `failFrom`-th such call on (counted from 0).
    std::optional<FsCall> failKind;
    std::string failName;
    std::size_t failFrom = 0;
    std::error_code failure{EIO, std::generic_category()};
    bool failOpen = false;
    std::optional<StampFit> stampFit;  // what the date probe answers, instead of the disk
    std::function<void(const std::string& target)> beforeRename;  // the target's bare name
    std::function<void(const std::string& name)> beforeWriteTimes;
    std::vector<std::pair<FsCall, std::string>> calls;

  private:
    bool Fails(FsCall call, const std::string& name) {
        calls.emplace_back(call, name);
        if (!failKind || *failKind != call || name != failName) return false;
        return matching_++ >= failFrom;
    }
    std::size_t matching_ = 0;
    PosixRunFileSystem real_;
};

}  // namespace karvel::testing
