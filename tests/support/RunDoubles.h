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
        if (icon != RunIcon::Question) return RunAnswer::Ok;
        if (answers.empty()) return RunAnswer::Yes;
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

    std::deque<RunAnswer> answers;  // answers to questions; Yes when none is left
    std::optional<int> stopAfterFiles;

    std::vector<ShownMessage> messages;
    std::vector<bool> busyChanges;
    std::vector<std::size_t> selected;
    std::size_t lastDone = 0;
    std::size_t lastTotal = 0;
    int eventPasses = 0;
    std::optional<std::size_t> broughtToFrontBeforeMessages;
};

enum class FsCall { Lookup, ReadTimes, WriteTimes, Rename };

class ScriptedFileSystem : public RunFileSystem {
public:
    ScriptedFileSystem() = default;
    // Over a disk whose renames behave as `calls` do.
    explicit ScriptedFileSystem(RenameCalls renameCalls) : real_(renameCalls) {}

    FolderOpening OpenFolder(const std::string& folder) override {
        if (failOpen) return {failure, {}};
        return real_.OpenFolder(folder);
    }
    void CloseFolder() override { real_.CloseFolder(); }
    StampFit TryStamp(const timespec& instant) override {
        if (stampFit) return *stampFit;
        return real_.TryStamp(instant);
    }
    Lookup LookupOrdinaryFile(const std::string& name) override {
        if (Fails(FsCall::Lookup)) return {LookupResult::Failed, failure, {}};
        return real_.LookupOrdinaryFile(name);
    }
    std::error_code ReadTimes(const std::string& name, FileInstants& out) override {
        if (Fails(FsCall::ReadTimes)) return failure;
        return real_.ReadTimes(name, out);
    }
    std::error_code WriteTimes(const std::string& name, const FileInstants& in) override {
        if (Fails(FsCall::WriteTimes)) return failure;
        return real_.WriteTimes(name, in);
    }
    std::error_code RenameNoReplace(const std::string& from, const std::string& to) override {
        if (Fails(FsCall::Rename)) return failure;
        if (beforeRename) beforeRename(to);
        return real_.RenameNoReplace(from, to);
    }
    RenameWay Way() const override { return real_.Way(); }

    // Makes the call number `index` (from 0, counted over the rows' calls) fail.
    std::optional<std::size_t> failCall;
    std::error_code failure{EIO, std::generic_category()};
    bool failOpen = false;
    std::optional<StampFit> stampFit;  // what the date probe answers, instead of the disk
    std::function<void(const std::string& target)> beforeRename;  // the target's bare name
    std::vector<FsCall> calls;

private:
    bool Fails(FsCall call) {
        calls.push_back(call);
        return failCall && *failCall == calls.size() - 1;
    }
    PosixRunFileSystem real_;
};

}  // namespace karvel::testing
