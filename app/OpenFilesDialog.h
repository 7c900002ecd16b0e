#pragma once
// The file dialog that picks files for the list, so tests can answer it.

#include <string>
#include <vector>

class QWidget;

namespace karvel {

class OpenFilesDialog {
  public:
    // Lets the user pick any number of files, starting in `folder` (the file system's
    // bytes; empty: the home folder). Returns their absolute paths as the file system's bytes; none
    // when cancelled.
    static std::vector<std::string> Ask(QWidget* parent, const std::string& folder);

    // Tests: the next dialog is not shown but answered with `paths` (none: cancelled).
    static void SetNextAnswer(std::vector<std::string> paths);
    // Tests: how many dialogs were asked for, and the folder the last one started in.
    static int Count();
    static std::string LastFolder();
    static void ResetRecord();
};

}  // namespace karvel
