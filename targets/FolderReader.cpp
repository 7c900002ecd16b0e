#include "targets/FolderReader.h"

namespace karvel {

std::vector<Looked> FolderReader::LookEach(const std::string& folder,
                                           std::span<const std::string_view> names) {
    std::vector<Looked> looked(names.size());
    std::string path = folder;
    for (std::size_t i = 0; i < names.size(); ++i) {
        path.resize(folder.size());
        path += names[i];
        looked[i].error = Look(path, looked[i].entry);
    }
    return looked;
}

}  // namespace karvel
