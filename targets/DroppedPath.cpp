#include "targets/DroppedPath.h"

#include "naming/FNameEdit.h"
#include "naming/TextPieces.h"

namespace karvel {

DroppedPath ClassifyPath(std::string_view path) {
    // No file name holds a NUL; the system would see a shorter path, another file.
    if (path.empty() || path.find('\0') != std::string_view::npos) {
        return {LeftOutReason::Unusable};
    }
    if (path.front() != kPathSeparator) return {LeftOutReason::NotAbsolute};
    const FNameEdit pieces = cFNameEdit(path);
    return {std::nullopt, pieces.ifaDirName, pieces.ifaFileName};
}

}  // namespace karvel
