#pragma once

#include <string>

namespace karvel {

// Cuts a path into its folder, its file name and the name's two pieces around
// the first dot. Store the path in ifaFullPath, call cFNameEdit, read the results.
class FNameEdit {
  public:
    std::string ifaFullPath;
    std::string ifaDirName;
    std::string ifaFileName;
    std::string ifaFileSts1;
    std::string ifaFileSts2;

    void cFNameEdit();
    // The same cut for a path already known to name a file, without looking at the disk.
    void cFNameEditOfFile();

  private:
    void Cut(std::string work);
};

// True when `path` names an existing folder; a path whose attributes cannot be
// read, or that holds a NUL byte, is not a folder.
bool IsExistingFolder(const std::string& path);

}  // namespace karvel
