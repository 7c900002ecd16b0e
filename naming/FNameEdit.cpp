#include "naming/FNameEdit.h"

#include <sys/stat.h>

#include <string_view>

#include "naming/TextPieces.h"
#include "text/Text.h"

namespace karvel {

bool IsExistingFolder(const std::string& path) {
    // The system would read the path only up to a NUL byte: another path.
    if (path.find('\0') != std::string::npos) return false;
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

namespace {}  // namespace

void FNameEdit::cFNameEdit() {
    std::string work(Trim(ifaFullPath, " "));
    if (!work.empty() && IsExistingFolder(work)) work = AddTrailingBackslash(work);
    Cut(std::move(work));
}

void FNameEdit::cFNameEditOfFile() {
    Cut(std::string(Trim(ifaFullPath, " ")));
}

void FNameEdit::Cut(std::string work) {
    ifaDirName.clear();
    ifaFileName.clear();
    ifaFileSts1.clear();
    ifaFileSts2.clear();
    if (work.empty()) return;

    if (work.back() == kPathSeparator) {
        ifaDirName = std::move(work);
        return;
    }

    const auto lastSeparator = work.rfind(kPathSeparator);
    if (lastSeparator == std::string::npos) {
        ifaFileName = std::move(work);
    } else {
        ifaDirName = work.substr(0, lastSeparator + 1);
        ifaFileName = work.substr(lastSeparator + 1);
    }
    ifaFileSts1 = GetTextBeforeFirstDot(ifaFileName);
    ifaFileSts2 = GetTextFromFirstDot(ifaFileName);
}

}  // namespace karvel
