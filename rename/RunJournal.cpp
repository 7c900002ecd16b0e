#include "rename/RunJournal.h"

#include "text/Text.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace karvel {

namespace {

// Version 2 journals (no groups, no end) are still read: they may hold a run not yet undone.
constexpr std::string_view kHeader2 = "karvel-journal 2\n";
constexpr std::string_view kHeader3 = "karvel-journal 3\n";

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

bool Flag(std::string_view field) {
    return field == "0" || field == "1";
}

// Version 2: 14 fields, the 13th a flag no run ever cleared. Version 3: 14 fields, the
// last the entry's group.
std::optional<JournalEntry> ParseEntry(std::string_view line, bool version3, std::size_t index) {
    const auto fields = Fields(line);
    if (fields.size() != 14 || fields[0] != "row") return std::nullopt;
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
    const std::string_view restamped = version3 ? fields[12] : fields[13];
    if (!Flag(restamped) || (!version3 && !Flag(fields[12]))) return std::nullopt;
    entry.restamped = restamped == "1";
    if (version3) {
        // A group begins at or before its entries.
        if (!ParseNumber(fields[13], entry.group) || entry.group > index) return std::nullopt;
    } else {
        entry.group = static_cast<std::uint32_t>(index);
    }
    return entry;
}

// Version 2 told no groups: a step to a temporary name and the steps up to the one that
// leaves it went round one ring.
void GroupRings(std::vector<JournalEntry>& entries) {
    for (std::size_t first = 0; first < entries.size(); ++first) {
        if (entries[first].restamped) continue;
        const std::string& temporary = entries[first].newName;
        for (std::size_t last = first + 1; last < entries.size(); ++last) {
            entries[last].group = static_cast<std::uint32_t>(first);
            if (entries[last].oldName == temporary) {
                first = last;
                break;
            }
        }
    }
}

}  // namespace

std::size_t Journal::Pending() const {
    return static_cast<std::size_t>(std::count(done.begin(), done.end(), false));
}

bool CutBeforeAnyStep(std::string_view text) {
    const std::string_view head = text.substr(0, kHeader3.size());
    return kHeader3.starts_with(head) && std::count(text.begin(), text.end(), '\n') < 2;
}

std::string JournalHeader(const std::string& folder) {
    return std::string(kHeader3) + "folder\t" + EncodeJournalName(folder) + "\n";
}

std::string JournalLines(std::span<const JournalEntry> entries) {
    // A block is written on the run's path, ahead of its renames: one buffer, no pieces.
    std::size_t size = 0;
    for (const JournalEntry& entry : entries)
        size += entry.oldName.size() + entry.newName.size() + 170;
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
        lines += entry.restamped ? "\t1\t" : "\t0\t";
        AppendNumber(lines, entry.group);
        lines += '\n';
    }
    return lines;
}

std::string DoneLine(std::size_t entry) {
    return "done\t" + std::to_string(entry) + "\n";
}

std::string RanLine(std::size_t performed) {
    return "ran\t" + std::to_string(performed) + "\n";
}

std::string ScratchLine(std::string_view name, const timespec& at) {
    std::string line = "scratch\t";
    AppendName(line, name);
    line += '\t';
    AppendInstant(line, at);
    line += '\n';
    return line;
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
    const bool version3 = bytes.starts_with(kHeader3);
    if (!version3 && !bytes.starts_with(kHeader2)) return std::nullopt;
    bytes.remove_prefix(kHeader3.size());

    Journal journal;
    journal.entries.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')));
    bool folderRead = false;
    std::vector<std::size_t> doneMarks;
    std::optional<std::size_t> performed;
    while (true) {
        const auto end = bytes.find('\n');
        if (end == std::string_view::npos) break;  // a line cut short by a kill
        const std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end + 1);
        const auto fields = Fields(line);
        if (!folderRead) {
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
        if (fields[0] == "done") {
            std::size_t index = 0;
            if (fields.size() != 2 || !ParseNumber(fields[1], index)) return std::nullopt;
            doneMarks.push_back(index);
            continue;
        }
        if (version3 && fields[0] == "ran") {
            std::size_t count = 0;
            if (fields.size() != 2 || !ParseNumber(fields[1], count)) return std::nullopt;
            performed = count;
            continue;
        }
        if (version3 && fields[0] == "scratch") {
            ScratchNote note;
            auto name = DecodeJournalName(fields.size() == 4 ? fields[1] : std::string_view());
            if (!PlainName(name) || !ParseInstant(fields[2], fields[3], note.at))
                return std::nullopt;
            note.name = std::move(*name);
            journal.scratch = std::move(note);
            continue;
        }
        auto entry = ParseEntry(line, version3, journal.entries.size());
        if (!entry) return std::nullopt;
        journal.entries.push_back(std::move(*entry));
    }
    if (!folderRead) return std::nullopt;
    if (!version3) GroupRings(journal.entries);
    journal.done.assign(journal.entries.size(), false);
    for (const std::size_t index : doneMarks) {
        if (index < journal.done.size()) journal.done[index] = true;
    }
    if (performed) {
        journal.performed = performed;
        for (std::size_t i = std::min(*performed, journal.entries.size()); i < journal.done.size();
             ++i) {
            journal.done[i] = true;
        }
    }
    return journal;
}

}  // namespace karvel
