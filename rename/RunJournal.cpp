#include "rename/RunJournal.h"

#include <errno.h>
#include <fcntl.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <sstream>

#include "settings/SmallFile.h"

namespace karvel {

namespace {

constexpr std::string_view kHeader = "karvel-journal 1\n";
// A journal of 100,000 rows stays far below this.
constexpr std::size_t kMaxJournalBytes = 256u << 20;

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool MakeFolders(const std::string& folder) {
    for (std::size_t slash = 1; slash != std::string::npos; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::string Instant(const timespec& t) {
    return std::to_string(t.tv_sec) + "\t" + std::to_string(t.tv_nsec);
}

template <class Number>
bool ParseNumber(std::string_view text, Number& out) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc{} && end == text.data() + text.size();
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    while (true) {
        const auto tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos) return fields;
        line.remove_prefix(tab + 1);
    }
}

bool ParseInstant(std::string_view seconds, std::string_view nanos, timespec& out) {
    long long s = 0;
    long n = 0;
    if (!ParseNumber(seconds, s) || !ParseNumber(nanos, n) || n < 0 || n > 999'999'999) return false;
    out.tv_sec = static_cast<time_t>(s);
    out.tv_nsec = n;
    return true;
}

std::optional<JournalEntry> ParseEntry(std::string_view line) {
    const auto fields = Fields(line);
    if (fields.size() != 13 || fields[0] != "row" || (fields[12] != "0" && fields[12] != "1")) {
        return std::nullopt;
    }
    JournalEntry entry;
    const auto oldName = DecodeJournalName(fields[1]);
    const auto newName = DecodeJournalName(fields[2]);
    // Undo acts on plain names inside the run's folder, nothing else.
    const auto plain = [](const std::optional<std::string>& name) {
        return name && !name->empty() && *name != "." && *name != ".." &&
               name->find_first_of(std::string_view("/\0", 2)) == std::string::npos;
    };
    if (!plain(oldName) || !plain(newName)) return std::nullopt;
    entry.oldName = *oldName;
    entry.newName = *newName;
    if (!ParseInstant(fields[3], fields[4], entry.original.access) ||
        !ParseInstant(fields[5], fields[6], entry.original.modify) ||
        !ParseInstant(fields[7], fields[8], entry.written) ||
        !ParseNumber(fields[9], entry.identity.device) || !ParseNumber(fields[10], entry.identity.inode) ||
        !ParseNumber(fields[11], entry.identity.size)) {
        return std::nullopt;
    }
    entry.stampsKnown = fields[12] == "1";
    return entry;
}

}  // namespace

std::string JournalFilePath() {
    const char* stateHome = ::getenv("XDG_STATE_HOME");
    if (stateHome != nullptr && stateHome[0] == '/') return std::string(stateHome) + "/Karvel/last-run.journal";
    const char* home = ::getenv("HOME");
    if (home != nullptr && home[0] != '\0') return std::string(home) + "/.local/state/Karvel/last-run.journal";
    return {};
}

// Names are bytes: the few that would break a line or a field are escaped.
std::string EncodeJournalName(std::string_view name) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(name.size());
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == '%' || byte == 0x7f) {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0xf];
        } else {
            encoded += c;
        }
    }
    return encoded;
}

std::optional<std::string> DecodeJournalName(std::string_view text) {
    const auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    std::string name;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            name += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int high = hex(text[i + 1]);
        const int low = hex(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        name += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return name;
}

JournalFile::~JournalFile() {
    if (fd_ >= 0) {
        ::fdatasync(fd_);
        ::close(fd_);
    }
}

bool JournalFile::Begin(const std::string& folder) {
    begun_ = true;
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    const auto slash = path_.rfind('/');
    if (path_.empty() || slash == std::string::npos) return false;
    const std::string journalFolder = path_.substr(0, slash);
    if (!MakeFolders(journalFolder)) return false;

    const std::string temp = path_ + ".new";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const std::string header = std::string(kHeader) + "folder\t" + EncodeJournalName(folder) + "\n";
    if (!WriteAll(fd, header) || ::fdatasync(fd) != 0 || ::rename(temp.c_str(), path_.c_str()) != 0) {
        ::close(fd);
        ::unlink(temp.c_str());
        return false;
    }
    SyncFolder(journalFolder);
    fd_ = fd;
    return true;
}

bool JournalFile::Record(const JournalEntry& entry) {
    if (fd_ < 0) return false;
    // One write per entry: a kill keeps it whole or cuts only this last line.
    const std::string line = "row\t" + EncodeJournalName(entry.oldName) + "\t" +
                             EncodeJournalName(entry.newName) + "\t" + Instant(entry.original.access) +
                             "\t" + Instant(entry.original.modify) + "\t" + Instant(entry.written) + "\t" +
                             std::to_string(entry.identity.device) + "\t" +
                             std::to_string(entry.identity.inode) + "\t" +
                             std::to_string(entry.identity.size) + "\t" +
                             (entry.stampsKnown ? "1" : "0") + "\n";
    if (WriteAll(fd_, line)) return true;
    ::close(fd_);
    fd_ = -1;
    return false;
}

std::optional<Journal> ReadJournal(const std::string& path) {
    const SmallFile file = ReadSmallFile(path, kMaxJournalBytes);
    if (file.status != FileStatus::Read) return std::nullopt;
    return ReadJournalText(file.bytes);
}

std::optional<Journal> ReadJournalText(std::string_view bytes) {
    if (!bytes.starts_with(kHeader)) return std::nullopt;
    bytes.remove_prefix(kHeader.size());

    Journal journal;
    bool folderRead = false;
    while (true) {
        const auto end = bytes.find('\n');
        if (end == std::string_view::npos) break;  // a line cut short by a kill
        const std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end + 1);
        if (!folderRead) {
            const auto fields = Fields(line);
            if (fields.size() != 2 || fields[0] != "folder") return std::nullopt;
            const auto folder = DecodeJournalName(fields[1]);
            if (!folder || !folder->starts_with('/') || !folder->ends_with('/')) return std::nullopt;
            journal.folder = *folder;
            folderRead = true;
            continue;
        }
        const auto entry = ParseEntry(line);
        if (!entry) return std::nullopt;
        journal.entries.push_back(*entry);
    }
    if (!folderRead) return std::nullopt;
    return journal;
}

}  // namespace karvel
