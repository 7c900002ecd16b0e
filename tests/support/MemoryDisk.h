#pragma once
// A disk held in memory, for tests that need no temporary folder: folders, files with their
// stamps and inodes, links and pipes; the run's, the list's and the history's calls all land
// on it. It records every call, fails or disturbs any call by kind and name, and has a clock.

#include <dirent.h>
#include <errno.h>
#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/MountKind.h"
#include "rename/RunFileSystem.h"
#include "rename/StateDisk.h"
#include "targets/FolderReader.h"

namespace karvel::testing {

enum class DiskCall {
    OpenFolder,
    TryStamp,
    Lookup,
    WriteTimes,
    Rename,
    Remove,
    ListNames,
    Look,
    LookThrough,
    RealFolder,
    List,
    MakeFolders,
    TakeLock,
    Create,
    Append,
    Read,
};

class MemoryDisk final : public RunFileSystem, public FolderReader, public StateDisk {
  public:
    MemoryDisk() { root_ = NewNode(Kind::Folder, 0755); }

    // --- Setting the disk up, and reading it back.

    // The folder and those above it.
    void MakeFolder(const std::string& path) { (void)MakeFolders(path); }
    // A file holding `content`; its stamps are `stamps`, or now.
    FileId MakeFile(const std::string& path, std::string content = "x",
                    std::optional<FileInstants> stamps = std::nullopt, unsigned mode = 0644) {
        Node* folder = ParentOf(path, true);
        auto node = NewNode(Kind::File, mode);
        node->content = std::move(content);
        if (stamps) node->times = *stamps;
        const FileId id{kDevice, node->inode};
        folder->entries[BareName(path)] = std::move(node);
        return id;
    }
    void MakeLink(const std::string& path, std::string target) {
        auto node = NewNode(Kind::Link, 0777);
        node->content = std::move(target);
        ParentOf(path, true)->entries[BareName(path)] = std::move(node);
    }
    void MakePipe(const std::string& path) {
        ParentOf(path, true)->entries[BareName(path)] = NewNode(Kind::Pipe, 0600);
    }
    void RemoveEntry(const std::string& path) {
        if (Node* folder = ParentOf(path, false)) folder->entries.erase(BareName(path));
    }
    // Moves an entry, replacing whatever is at `to`, as another program might.
    void MoveEntry(const std::string& from, const std::string& to) {
        Node* source = ParentOf(from, false);
        Node* target = ParentOf(to, true);
        auto found = source->entries.find(BareName(from));
        if (found == source->entries.end()) return;
        auto node = std::move(found->second);
        source->entries.erase(found);
        node->parent = target;
        target->entries[BareName(to)] = std::move(node);
    }
    bool Exists(const std::string& path) { return Find(path, false) != nullptr; }
    std::optional<std::string> ContentOf(const std::string& path) {
        const Node* node = Find(path, false);
        if (node == nullptr || node->kind != Kind::File) return std::nullopt;
        return node->content;
    }
    void Write(const std::string& path, std::string content) {
        if (Node* node = Find(path, false)) {
            node->content = std::move(content);
            node->times.modify = Tick();
        }
    }
    std::optional<FileInstants> StampsOf(const std::string& path) {
        const Node* node = Find(path, false);
        if (node == nullptr) return std::nullopt;
        return node->times;
    }
    void SetStamps(const std::string& path, const FileInstants& stamps) {
        if (Node* node = Find(path, false)) node->times = stamps;
    }
    void SetMode(const std::string& path, unsigned mode) {
        if (Node* node = Find(path, false)) node->mode = mode;
    }
    FileId IdOf(const std::string& path) {
        const Node* node = Find(path, true);
        return node == nullptr ? FileId{} : FileId{kDevice, node->inode};
    }
    // Every file of a folder with what it holds and its modified time: two folders that
    // compare equal hold the same files.
    std::map<std::string, std::pair<std::string, long long>> FilesOf(const std::string& folder) {
        std::map<std::string, std::pair<std::string, long long>> files;
        if (const Node* node = Find(folder, true)) {
            for (const auto& [name, entry] : node->entries) {
                files[name] = {
                    entry->kind == Kind::File ? entry->content : "<not a file>",
                    entry->times.modify.tv_sec * 1'000'000'000LL + entry->times.modify.tv_nsec};
            }
        }
        return files;
    }
    // The kind of file system the folder and all below it lie on.
    void SetMountKind(const std::string& folder, MountKind kind) { kinds_[Folder(folder)] = kind; }
    // Renames that take a name with a placeholder first, as on disks without safe renames.
    bool placeholders = false;

    // --- Faults, disturbances and the record of calls.

    // Calls of `call` on `name` (a bare name inside the opened folder, a path otherwise)
    // fail with `error`, from the `from`-th such call on (counted from 0).
    void Fail(DiskCall call, std::string name,
              std::error_code error = {EIO, std::generic_category()}, std::size_t from = 0) {
        faults_.push_back({call, std::move(name), error, from, 0});
    }
    // Runs right before each call, with its kind and name: another program at work.
    std::function<void(DiskCall, const std::string&)> before;
    // Runs right before each rename, with its source and target.
    std::function<void(const std::string& from, const std::string& to)> beforeRename;
    std::vector<std::pair<DiskCall, std::string>> calls;
    std::size_t CallsOf(DiskCall call) const {
        return static_cast<std::size_t>(
            std::ranges::count(calls, call, &decltype(calls)::value_type::first));
    }
    // Added to every inode a listing tells, as some layered file systems do.
    unsigned long long listedInodeShift = 0;

    // --- The clock: every reading moves it on by a microsecond.
    timespec now{1'796'000'000, 0};  // 2026-11-30

    // --- RunFileSystem
    FolderOpening OpenFolder(const std::string& folder, ScratchNotes* notes) override {
        opened_ = nullptr;
        notes_ = notes;
        if (const auto error = Enter(DiskCall::OpenFolder, folder)) return {error, {}, {}, true};
        Node* node = nullptr;
        if (const auto error = Resolve(WithoutSlash(folder), false, node))
            return {error, {}, {}, true};
        if (node->kind == Kind::Link) return {Error(ELOOP), {}, {}, true};
        if (node->kind != Kind::Folder) return {Error(ENOTDIR), {}, {}, true};
        opened_ = node;
        openedPath_ = Folder(folder);
        const MountKind kind = KindAt(openedPath_);
        return {{}, {kDevice, node->inode}, kind.type, kind.keepsInodes};
    }
    void CloseFolder() override {
        opened_ = nullptr;
        notes_ = nullptr;
    }
    StampFit TryStamp(const timespec& instant) override {
        if (Enter(DiskCall::TryStamp, openedPath_)) return StampFit::Unknown;
        const MountKind kind = KindAt(openedPath_);
        if (!kind.firstYear || !kind.lastYear) return StampFit::Kept;
        // A day's worth of seconds either way is as close as a test's dates need.
        const long long year = 1970 + instant.tv_sec / 31'556'952;
        return year >= *kind.firstYear && year <= *kind.lastYear ? StampFit::Kept
                                                                 : StampFit::Changed;
    }
    Lookup LookupRegularFile(const std::string& name) override {
        if (const auto error = Enter(DiskCall::Lookup, name))
            return {LookupResult::Failed, error, {}, {}, 0};
        Node* node = nullptr;
        if (const auto error = InOpened(name, node)) {
            if (error == std::errc::no_such_file_or_directory) return {};
            return {LookupResult::Failed, error, {}, {}, 0};
        }
        if (node->kind != Kind::File) return {};
        return {LookupResult::Found,
                {},
                {kDevice, node->inode, static_cast<long long>(node->content.size())},
                node->times,
                S_IFREG | node->mode};
    }
    std::error_code WriteTimes(const std::string& name, const FileInstants& in) override {
        if (const auto error = Enter(DiskCall::WriteTimes, name)) return error;
        Node* node = nullptr;
        if (const auto error = InOpened(name, node)) return error;
        node->times.access = in.access;
        node->times.modify = in.modify;
        return {};
    }
    std::error_code RenameNoReplace(const std::string& from, const std::string& to) override {
        if (beforeRename) beforeRename(from, to);
        if (const auto error = Enter(DiskCall::Rename, from)) return error;
        if (opened_ == nullptr) return Error(EBADF);
        if (const auto error = NameError(to)) return error;
        auto source = opened_->entries.find(from);
        if (source == opened_->entries.end()) return Error(ENOENT);
        if (opened_->entries.contains(to)) return Error(EEXIST);
        if (placeholders) {
            way_ = RenameWay::Placeholder;
            if (notes_ != nullptr && !notes_->BeforeScratch(to)) return ScratchNotRecorded();
            opened_->entries[to] = NewNode(Kind::File, 0600);
            source = opened_->entries.find(from);
        } else {
            way_ = RenameWay::NoReplace;
        }
        auto node = std::move(source->second);
        opened_->entries.erase(source);
        opened_->entries[to] = std::move(node);
        return {};
    }
    std::error_code RemoveName(const std::string& name) override {
        if (const auto error = Enter(DiskCall::Remove, name)) return error;
        if (opened_ == nullptr) return Error(EBADF);
        const auto found = opened_->entries.find(name);
        if (found == opened_->entries.end()) return Error(ENOENT);
        if (found->second->kind == Kind::Folder) return Error(EISDIR);
        opened_->entries.erase(found);
        return {};
    }
    std::error_code ListNames(std::vector<std::string>& out) override {
        if (const auto error = Enter(DiskCall::ListNames, openedPath_)) return error;
        if (opened_ == nullptr) return Error(EBADF);
        for (const auto& [name, node] : opened_->entries) out.push_back(name);
        return {};
    }
    RenameWay Way() const override { return way_; }

    // --- FolderReader
    std::error_code Look(const std::string& path, FileEntry& out) override {
        return LookAt(path, false, out);
    }
    std::error_code LookThrough(const std::string& path, FileEntry& out) override {
        return LookAt(path, true, out);
    }
    std::optional<std::string> RealFolder(const std::string& folder) override {
        if (Enter(DiskCall::RealFolder, folder)) return std::nullopt;
        Node* node = nullptr;
        if (Resolve(folder, true, node) || node->kind != Kind::Folder) return std::nullopt;
        std::string path;
        for (const Node* at = node; at->parent != nullptr; at = at->parent)
            path = "/" + NameIn(*at->parent, at) + path;
        return path.empty() ? "/" : path;
    }
    std::error_code List(const std::string& folder, ListingSink& sink) override {
        if (const auto error = Enter(DiskCall::List, folder)) return error;
        Node* node = nullptr;
        if (const auto error = Resolve(folder, true, node)) return error;
        if (node->kind != Kind::Folder) return Error(ENOTDIR);
        sink.Expect(node->entries.size() * 20);
        for (const auto& [name, entry] : node->entries)
            sink.Entry(name, TypeOf(entry->kind), entry->inode + listedInodeShift);
        return {};
    }

    // --- StateDisk
    std::error_code MakeFolders(const std::string& folder) override {
        if (const auto error = Enter(DiskCall::MakeFolders, folder)) return error;
        Node* at = root_.get();
        for (const std::string& part : Parts(folder)) {
            auto& entry = at->entries[part];
            if (!entry) {
                entry = NewNode(Kind::Folder, 0700);
                entry->parent = at;
            }
            if (entry->kind != Kind::Folder) return Error(ENOTDIR);
            at = entry.get();
        }
        return {};
    }
    LockTaking TakeLock(const std::string& path) override {
        LockTaking taking;
        if ((taking.error = Enter(DiskCall::TakeLock, path))) return taking;
        Node* folder = ParentOf(path, false);
        if (folder == nullptr) {
            taking.error = Error(ENOENT);
            return taking;
        }
        auto& entry = folder->entries[BareName(path)];
        if (!entry) entry = NewNode(Kind::File, 0600);
        if (entry->kind == Kind::Folder) taking.error = Error(EISDIR);
        if (entry->kind == Kind::Link) taking.error = Error(ELOOP);
        if (entry->kind == Kind::Pipe)
            taking.error = std::make_error_code(std::errc::not_supported);
        if (taking.error) return taking;
        if (entry->locked) {
            taking.state = LockTaking::State::Busy;
            taking.error = Error(EWOULDBLOCK);
            return taking;
        }
        taking.state = LockTaking::State::Held;
        taking.lock = std::make_unique<Held>(*entry);
        return taking;
    }
    std::unique_ptr<AppendFile> Create(const std::string& path) override {
        if (Enter(DiskCall::Create, path)) return nullptr;
        Node* folder = ParentOf(path, false);
        if (folder == nullptr || folder->entries.contains(BareName(path))) return nullptr;
        auto node = NewNode(Kind::File, 0600);
        Node* file = node.get();
        folder->entries[BareName(path)] = std::move(node);
        return std::make_unique<Appending>(*this, path, *file);
    }
    std::unique_ptr<AppendFile> OpenToAppend(const std::string& path) override {
        Node* node = Find(path, false);
        if (node == nullptr || node->kind != Kind::File) return nullptr;
        return std::make_unique<Appending>(*this, path, *node);
    }
    StateFile Read(const std::string& path, std::size_t maxBytes) override {
        if (Enter(DiskCall::Read, path)) return {StateRead::Unusable, {}};
        const Node* node = Find(path, false);
        if (node == nullptr) return {StateRead::Missing, {}};
        if (node->kind != Kind::File) return {StateRead::NotAFile, {}};
        if (node->content.size() > maxBytes) return {StateRead::Unusable, {}};
        return {StateRead::Read, node->content};
    }
    std::vector<std::string> Names(const std::string& folder) override {
        std::vector<std::string> names;
        if (const Node* node = Find(folder, true); node != nullptr && node->kind == Kind::Folder)
            for (const auto& [name, entry] : node->entries) names.push_back(name);
        return names;
    }
    std::optional<std::size_t> SizeOf(const std::string& path) override {
        const Node* node = Find(path, false);
        if (node == nullptr) return std::nullopt;
        return node->content.size();
    }
    std::optional<std::time_t> ModifiedOf(const std::string& path) override {
        const Node* node = Find(path, false);
        if (node == nullptr) return std::nullopt;
        return node->times.modify.tv_sec;
    }
    void Remove(const std::string& path) override { RemoveEntry(path); }
    void SyncFolder(const std::string&) override {}
    timespec Now() override { return Tick(); }
    int ProcessId() override { return 4242; }

  private:
    enum class Kind { Folder, File, Link, Pipe };
    static constexpr unsigned long long kDevice = 1;

    struct Node {
        Kind kind;
        unsigned mode;
        unsigned long long inode;
        FileInstants times;
        std::string content;  // a file's bytes, a link's target
        std::map<std::string, std::unique_ptr<Node>> entries;
        Node* parent = nullptr;
        bool locked = false;
    };
    struct Fault {
        DiskCall call;
        std::string name;
        std::error_code error;
        std::size_t from;
        std::size_t seen;
    };
    class Held final : public HeldLock {
      public:
        explicit Held(Node& node) : node_(node) { node_.locked = true; }
        ~Held() override { node_.locked = false; }
        std::string Read() override { return node_.content; }
        void Replace(std::string_view text) override { node_.content = text; }

      private:
        Node& node_;
    };
    class Appending final : public AppendFile {
      public:
        Appending(MemoryDisk& disk, std::string path, Node& node)
            : disk_(disk), path_(std::move(path)), node_(node) {}
        bool Append(std::string_view bytes) override {
            if (disk_.Enter(DiskCall::Append, path_)) return false;
            node_.content += bytes;
            node_.times.modify = disk_.Tick();
            return true;
        }
        bool Sync() override { return true; }

      private:
        MemoryDisk& disk_;
        std::string path_;
        Node& node_;
    };

    static std::error_code Error(int code) { return {code, std::generic_category()}; }
    static std::string WithoutSlash(std::string path) {
        while (path.size() > 1 && path.ends_with('/')) path.pop_back();
        return path;
    }
    static std::string Folder(const std::string& path) { return WithoutSlash(path) + "/"; }
    static std::string BareName(const std::string& path) {
        const std::string trimmed = WithoutSlash(path);
        return trimmed.substr(trimmed.rfind('/') + 1);
    }
    static std::vector<std::string> Parts(const std::string& path) {
        std::vector<std::string> parts;
        std::string_view rest = path;
        while (!rest.empty()) {
            const auto slash = rest.find('/');
            const std::string_view part = rest.substr(0, slash);
            if (!part.empty()) parts.emplace_back(part);
            if (slash == std::string_view::npos) break;
            rest.remove_prefix(slash + 1);
        }
        return parts;
    }
    static unsigned char TypeOf(Kind kind) {
        switch (kind) {
            case Kind::Folder:
                return DT_DIR;
            case Kind::File:
                return DT_REG;
            case Kind::Link:
                return DT_LNK;
            case Kind::Pipe:
                return DT_FIFO;
        }
        return DT_UNKNOWN;
    }
    static std::string NameIn(const Node& folder, const Node* node) {
        for (const auto& [name, entry] : folder.entries)
            if (entry.get() == node) return name;
        return {};
    }

    std::unique_ptr<Node> NewNode(Kind kind, unsigned mode) {
        auto node = std::make_unique<Node>();
        node->kind = kind;
        node->mode = mode;
        node->inode = nextInode_++;
        const timespec made = Tick();
        node->times = {made, made, made, true};
        return node;
    }
    timespec Tick() {
        const timespec reading = now;
        now.tv_nsec += 1000;
        if (now.tv_nsec >= 1'000'000'000) {
            now.tv_nsec -= 1'000'000'000;
            ++now.tv_sec;
        }
        return reading;
    }
    std::error_code Enter(DiskCall call, const std::string& name) {
        calls.emplace_back(call, name);
        if (before) before(call, name);
        for (Fault& fault : faults_) {
            if (fault.call == call && fault.name == name && fault.seen++ >= fault.from)
                return fault.error;
        }
        return {};
    }
    static std::error_code NameError(const std::string& name) {
        if (name.size() > 255) return Error(ENAMETOOLONG);
        return {};
    }
    // Follows the path from the root; links on the way are followed, the last one only
    // when asked.
    std::error_code Resolve(const std::string& path, bool followLast, Node*& out, int depth = 0) {
        if (depth > 40) return Error(ELOOP);
        if (path.empty() || path.front() != '/') return Error(ENOENT);
        Node* at = root_.get();
        const std::vector<std::string> parts = Parts(path);
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const std::string& part = parts[i];
            if (part.size() > 255) return Error(ENAMETOOLONG);
            if (at->kind != Kind::Folder) return Error(ENOTDIR);
            if (part == ".") continue;
            if (part == "..") {
                if (at->parent != nullptr) at = at->parent;
                continue;
            }
            const auto found = at->entries.find(part);
            if (found == at->entries.end()) return Error(ENOENT);
            Node* next = found->second.get();
            const bool last = i + 1 == parts.size();
            if (next->kind == Kind::Link && (!last || followLast)) {
                std::string target = next->content;
                if (!target.starts_with('/')) {
                    std::string here;
                    for (const Node* up = at; up->parent != nullptr; up = up->parent)
                        here = "/" + NameIn(*up->parent, up) + here;
                    target = here + "/" + target;
                }
                if (const auto error = Resolve(target, true, next, depth + 1)) return error;
            }
            at = next;
        }
        out = at;
        return {};
    }
    Node* Find(const std::string& path, bool followLast) {
        Node* node = nullptr;
        return Resolve(WithoutSlash(path), followLast, node) ? nullptr : node;
    }
    Node* ParentOf(const std::string& path, bool make) {
        const std::string trimmed = WithoutSlash(path);
        const std::string folder = trimmed.substr(0, trimmed.rfind('/') + 1);
        if (make) (void)MakeFolders(folder);
        Node* node = Find(folder, true);
        return node != nullptr && node->kind == Kind::Folder ? node : nullptr;
    }
    std::error_code InOpened(const std::string& name, Node*& out) {
        if (opened_ == nullptr) return Error(EBADF);
        if (const auto error = NameError(name)) return error;
        if (name.find('/') == std::string::npos) {
            const auto found = opened_->entries.find(name);
            if (found == opened_->entries.end()) return Error(ENOENT);
            out = found->second.get();
            return {};
        }
        return Resolve(openedPath_ + name, false, out);
    }
    std::error_code LookAt(const std::string& path, bool follow, FileEntry& out) {
        if (const auto error = Enter(follow ? DiskCall::LookThrough : DiskCall::Look, path))
            return error;
        Node* node = nullptr;
        if (const auto error = Resolve(WithoutSlash(path), follow, node)) return error;
        static constexpr unsigned kTypes[] = {S_IFDIR, S_IFREG, S_IFLNK, S_IFIFO};
        out.mode = kTypes[static_cast<int>(node->kind)] | node->mode;
        out.instants = node->times;
        out.device = kDevice;
        out.inode = node->inode;
        out.size = static_cast<long long>(node->content.size());
        return {};
    }
    MountKind KindAt(const std::string& folder) const {
        for (const auto& [base, kind] : kinds_)
            if (folder.starts_with(base)) return kind;
        return {"memory", true, {}, {}};
    }

    std::unique_ptr<Node> root_;
    unsigned long long nextInode_ = 2;
    Node* opened_ = nullptr;
    std::string openedPath_;
    ScratchNotes* notes_ = nullptr;
    RenameWay way_ = RenameWay::NotYetKnown;
    std::map<std::string, MountKind> kinds_;
    std::vector<Fault> faults_;
};

}  // namespace karvel::testing
