#include "naming/FNameEdit.h"

#include "naming/TextPieces.h"

namespace karvel {

FNameEdit cFNameEdit(std::string_view ifaFullPath) {
    // Without a separator npos + 1 wraps to 0: no folder, all name.
    const std::size_t nameStart = ifaFullPath.rfind(kPathSeparator) + 1;
    const std::string_view name = ifaFullPath.substr(nameStart);
    return {ifaFullPath.substr(0, nameStart), name, GetTextBeforeFirstDot(name),
            GetTextFromFirstDot(name)};
}

}  // namespace karvel
