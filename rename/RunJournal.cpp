#include "rename/RunJournal.h"

#include "text/Text.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace karvel {

namespace {

// Version 1 journals (one run each, no steps to temporary names, no done marks) are
// still read: they may hold a run not yet undone.
constexpr std::string_view kHeader1 = "karvel-journal 1\n";
constexpr std::string_view kHeader2 = "karvel-journal 2\n";

template <class Number>
void AppendNumber(std::string& out, Number value) {
    char digits[24];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, end);
}

void AppendInstant(std::string& out, const timespec& t) {
    AppendNumber(out, static_cast<long long>(t.tv_sec));
    out += '\t';
    AppendNumber(out, static_cast<long long>(t.tv_nsec));
}

// Names are bytes: the few that would break a line or a field are escaped.
bool Escaped(unsigned char byte) {
    return byte < 0x20 || byte == '%' || byte == 0x7f;
}

void AppendName(std::string& out, std::string_view name) {
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (Escaped(byte)) {
            out += '%';
            out += kHexDigits[byte >> 4];
            out += kHexDigits[byte & 0xf];
        } else {
            out += c;
        }
    }
}

template <class Number>
bool ParseNumber(std::string_view text, Number& out) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc{} && end == text.data() + text.size();
}

// A line's tab-separated fields, without an allocation: undo and the menu read journals
// of 100,000 lines. More fields than a row has make the count one too many.
struct LineFields {
    std::array<std::string_view, 15> field;
    std::size_t count = 0;
    std::size_t size() const { return count; }
    std::string_view operator[](std::size_t i) const { return field[i]; }
};

LineFields Fields(std::string_view line) {
    LineFields fields;
    while (fields.count < fields.field.size()) {
        const auto tab = line.find('\t');
        fields.field[fields.count++] = line.substr(0, tab);
        if (tab == std::string_view::npos) return fields;
        line.remove_prefix(tab + 1);
    }
    return fields;
}

bool ParseInstant(std::string_view seconds, std::string_view nanos, timespec& out) {
    long long s = 0;
    long n = 0;
    if (!ParseNumber(seconds, s) || !ParseNumber(nanos, n) || n < 0 || n > 999'999'999)
        return false;
    out.tv_sec = static_cast<time_t>(s);
    out.tv_nsec = n;
    return true;
}

// Undo acts on plain names inside the run's folder, nothing else.
bool PlainName(const std::optional<std::string>& name) {
    return name && !name->empty() && *name != "." && *name != ".." &&
           name->find_first_of(std::string_view("/\0", 2)) == std::string::npos;
}

std::optional<JournalEntry> ParseEntry(std::string_view line, bool version2) {
    const auto fields = Fields(line);
    const std::size_t expected = version2 ? 14 : 13;
    const auto flag = [](std::string_view f) { return f == "0" || f == "1"; };
    if (fields.size() != expected || fields[0] != "row" || !flag(fields[12])) return std::nullopt;
    if (version2 && !flag(fields[13])) return std::nullopt;
    JournalEntry entry;
    const auto oldName = DecodeJournalName(fields[1]);
    const auto newName = DecodeJournalName(fields[2]);
    if (!PlainName(oldName) || !PlainName(newName)) return std::nullopt;
    entry.oldName = *oldName;
    entry.newName = *newName;
    if (!ParseInstant(fields[3], fields[4], entry.original.access) ||
        !ParseInstant(fields[5], fields[6], entry.original.modify) ||
        !ParseInstant(fields[7], fields[8], entry.written) ||
        !ParseNumber(fields[9], entry.identity.device) ||
        !ParseNumber(fields[10], entry.identity.inode) ||
        !ParseNumber(fields[11], entry.identity.size)) {
        return std::nullopt;
    }
    entry.stampsKnown = fields[12] == "1";
    entry.restamped = !version2 || fields[13] == "1";
    return entry;
}

}  // namespace

std::size_t Journal::Pending() const {
    return static_cast<std::size_t>(std::count(done.begin(), done.end(), false));
}

std::string JournalHeader(const std::string& folder) {
    return std::string(kHeader2) + "folder\t" + EncodeJournalName(folder) + "\n";
}

std::string JournalLines(std::span<const JournalEntry> entries) {
    // A block is written on the run's path, ahead of its renames: one buffer, no pieces.
    std::size_t size = 0;
    for (const JournalEntry& entry : entries)
        size += entry.oldName.size() + entry.newName.size() + 160;
    std::string lines;
    lines.reserve(size);
    for (const JournalEntry& entry : entries) {
        lines += "row\t";
        AppendName(lines, entry.oldName);
        lines += '\t';
        AppendName(lines, entry.newName);
        lines += '\t';
        AppendInstant(lines, entry.original.access);
        lines += '\t';
        AppendInstant(lines, entry.original.modify);
        lines += '\t';
        AppendInstant(lines, entry.written);
        lines += '\t';
        AppendNumber(lines, entry.identity.device);
        lines += '\t';
        AppendNumber(lines, entry.identity.inode);
        lines += '\t';
        AppendNumber(lines, entry.identity.size);
        lines += entry.stampsKnown ? "\t1" : "\t0";
        lines += entry.restamped ? "\t1\n" : "\t0\n";
    }
    return lines;
}

std::string DoneLine(std::size_t entry) {
    return "done\t" + std::to_string(entry) + "\n";
}

std::string EncodeJournalName(std::string_view name) {
    std::string encoded;
    encoded.reserve(name.size());
    AppendName(encoded, name);
    return encoded;
}

std::optional<std::string> DecodeJournalName(std::string_view text) {
    if (text.find('%') == std::string_view::npos) return std::string(text);
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

std::optional<Journal> ReadJournalText(std::string_view bytes) {
    const bool version2 = bytes.starts_with(kHeader2);
    if (!version2 && !bytes.starts_with(kHeader1)) return std::nullopt;
    bytes.remove_prefix(kHeader2.size());

    Journal journal;
    journal.entries.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')));
    bool folderRead = false;
    std::vector<std::size_t> doneMarks;
    while (true) {
        const auto end = bytes.find('\n');
        if (end == std::string_view::npos) break;  // a line cut short by a kill
        const std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end + 1);
        if (!folderRead) {
            const auto fields = Fields(line);
            if (fields.size() != 2 || fields[0] != "folder") return std::nullopt;
            auto folder = DecodeJournalName(fields[1]);
            if (!folder || !folder->starts_with('/') || !folder->ends_with('/') ||
                folder->find('\0') != std::string::npos) {
                return std::nullopt;
            }
            journal.folder = std::move(*folder);
            folderRead = true;
            continue;
        }
        if (version2 && line.starts_with("done\t")) {
            std::size_t index = 0;
            if (!ParseNumber(line.substr(5), index)) return std::nullopt;
            doneMarks.push_back(index);
            continue;
        }
        auto entry = ParseEntry(line, version2);
        if (!entry) return std::nullopt;
        journal.entries.push_back(std::move(*entry));
    }
    if (!folderRead) return std::nullopt;
    journal.done.assign(journal.entries.size(), false);
    for (const std::size_t index : doneMarks) {
        if (index < journal.done.size()) journal.done[index] = true;
    }
    return journal;
}

}  // namespace karvel
