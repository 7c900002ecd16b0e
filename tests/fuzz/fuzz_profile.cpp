// Any bytes as the settings file. The input split at its first three NUL bytes
// also gives a file, a section, a key and a value that are written and read back.

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "settings/ProfileText.h"
#include "settings/clsIniFile.h"

namespace {

using namespace karvel;

// The keys the program itself keeps, and two spellings that must match them.
struct Name {
    std::string_view section, key;
};
constexpr Name kKnownKeys[] = {
    {"Settings", "MainLeft"},   {"Settings", "MainHeight"}, {"LVSettings", "ColWidth1"},
    {"Option", "StartNo"},      {"Option", "Type"},         {"option", "TYPE"},
    {" Option\t", " StartNo "},
};

// Never a stored value: values hold no line break.
constexpr std::string_view kDefault = "<default>\n";

// A folder for the settings file, made once per process: in KARVEL_FUZZ_SCRATCH
// when set (the run script's folder, removed even after a crash), else on tmpfs
// when there is one.
class Scratch {
  public:
    Scratch() {
        const char* base = std::getenv("KARVEL_FUZZ_SCRATCH");
        if (base == nullptr || *base == '\0')
            base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string pattern = std::string(base) + "/karvel-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) karvel::fuzz::Fail("mkdtemp", __FILE__, __LINE__);
        folder_ = pattern;
        file_ = folder_ + "/Karvel.ini";
    }
    ~Scratch() {
        ::unlink(file_.c_str());
        ::rmdir(folder_.c_str());
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const std::string& file() const { return file_; }
    const std::string& folder() const { return folder_; }

  private:
    std::string folder_;
    std::string file_;
};

const Scratch& TheScratch() {
    static const Scratch scratch;
    return scratch;
}

int LowestFreeFd() {
    const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    FUZZ_CHECK(fd >= 0);
    ::close(fd);
    return fd;
}

std::size_t EntriesIn(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    FUZZ_CHECK(dir != nullptr);
    std::size_t count = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") ++count;
    }
    ::closedir(dir);
    return count;
}

// Makes `bytes` the file's content; an empty content means no file at all.
void PutFile(const std::string& path, std::string_view bytes) {
    ::unlink(path.c_str());
    if (bytes.empty()) return;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    FUZZ_CHECK(fd >= 0);
    FUZZ_CHECK(::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
    FUZZ_CHECK(::close(fd) == 0);
}

// The file's content; empty when there is no file.
std::string FileBytes(const std::string& path) {
    std::string bytes;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return bytes;
    char buffer[4096];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;) {
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return bytes;
}

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    a = TrimBlanks(a);
    b = TrimBlanks(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
        };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// What mGetString must give for a value the text holds (or not).
std::string ExpectedRead(const std::optional<std::string>& value) {
    if (!value || value->empty()) return std::string(kDefault);
    return std::string(CutAtCharacter(*value, kIniValueMaxBytes));
}

void CheckCut(std::string_view value) {
    const std::string_view cut = CutAtCharacter(value, kIniValueMaxBytes);
    FUZZ_CHECK(value.starts_with(cut));
    FUZZ_CHECK(cut.size() <= kIniValueMaxBytes);
    if (!IsProfileText(value)) return;
    FUZZ_CHECK(IsProfileText(cut));
    // In text, at most the three continuation bytes of one character are left out.
    if (value.size() > kIniValueMaxBytes) FUZZ_CHECK(cut.size() + 3 >= kIniValueMaxBytes);
}

// The integer read must agree with std::from_chars on plain decimal text.
void CheckInteger(const clsIniFile& ini, std::string_view section, std::string_view key,
                  std::string_view value) {
    if (value.empty() || value.size() > kIniValueMaxBytes) return;
    std::int64_t number = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (end != value.data() + value.size()) return;
    const bool fits = ec == std::errc{} && number >= std::numeric_limits<std::int16_t>::min() &&
                      number <= std::numeric_limits<std::int16_t>::max();
    if (ec != std::errc{} && ec != std::errc::result_out_of_range) return;
    try {
        const std::int16_t got = ini.mGetInteger(section, key, 12345);
        FUZZ_CHECK(fits && got == number);
    } catch (const IniIntegerOverflow&) {
        FUZZ_CHECK(!fits);
    }
}

// `after` is `before` with bytes changed inside one line or lines inserted:
// every other byte is kept.
void CheckOneLineChanged(std::string_view before, std::string_view after) {
    std::size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) {
        ++prefix;
    }
    std::size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    const std::string_view removed = before.substr(prefix, before.size() - prefix - suffix);
    FUZZ_CHECK(removed.find_first_of("\r\n") == std::string_view::npos);
}

void CheckKnownKeys(std::string_view bytes) {
    const bool profile = IsProfileText(bytes);
    for (const Name& name : kKnownKeys) {
        const std::optional<std::string> value = ProfileValue(bytes, name.section, name.key);
        FUZZ_CHECK(profile || !value);
        if (!value) continue;
        FUZZ_CHECK(value->find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
        FUZZ_CHECK(IsProfileText(*value));
    }
}

// `ini` holds `bytes`. Only the input's own names go through the file, as each
// call reads the whole file.
void CheckFileRead(const clsIniFile& ini, std::string_view bytes, std::string_view section,
                   std::string_view key) {
    const bool profile = IsProfileText(bytes);
    const std::optional<std::string> value = ProfileValue(bytes, section, key);
    FUZZ_CHECK(profile || !value);
    FUZZ_CHECK(ini.mGetString(section, key, kDefault) == ExpectedRead(value));
    try {
        (void)ini.mGetInteger(section, key);
    } catch (const IniIntegerOverflow&) {
    }
}

// `ini` holds `file`.
void CheckWrite(const clsIniFile& ini, std::string_view file, std::string_view section,
                std::string_view key, std::string_view value) {
    const std::optional<std::string> changed = WithProfileValue(file, section, key, value);
    FUZZ_CHECK(ini.mSetString(section, key, value) == changed.has_value());
    const std::string stored = FileBytes(ini.pFileName());
    if (!changed) {
        FUZZ_CHECK(stored == file);
        return;
    }
    FUZZ_CHECK(stored == *changed);
    FUZZ_CHECK(IsProfileText(*changed));
    FUZZ_CHECK(ProfileValue(*changed, section, key) == std::string(value));
    FUZZ_CHECK(ini.mGetString(section, key, kDefault) == ExpectedRead(std::string(value)));
    CheckCut(value);
    CheckInteger(ini, section, key, value);
    CheckOneLineChanged(file, *changed);
    for (const Name& other : kKnownKeys) {
        if (SameName(other.section, section) && SameName(other.key, key)) continue;
        FUZZ_CHECK(ProfileValue(*changed, other.section, other.key) ==
                   ProfileValue(file, other.section, other.key));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    clsIniFile ini;
    ini.pFileName(TheScratch().file());
    const int freeFd = LowestFreeFd();

    std::string_view parts[4];
    std::string_view rest = input;
    for (std::size_t i = 0; i < 3; ++i) {
        const auto nul = rest.find('\0');
        parts[i] = rest.substr(0, nul);
        rest.remove_prefix(nul == std::string_view::npos ? rest.size() : nul + 1);
    }
    parts[3] = rest;

    CheckKnownKeys(input);
    CheckCut(input);
    CheckKnownKeys(parts[0]);
    PutFile(ini.pFileName(), parts[0]);
    CheckFileRead(ini, parts[0], parts[1], parts[2]);
    CheckWrite(ini, parts[0], parts[1], parts[2], parts[3]);

    // No file beside the settings file is left behind, nor any descriptor open.
    FUZZ_CHECK(EntriesIn(TheScratch().folder()) <= 1);
    FUZZ_CHECK(LowestFreeFd() == freeFd);
    return 0;
}
