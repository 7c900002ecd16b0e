#pragma once
// The real disk through the folder reader, counting what is asked of it; a listing can be
// made to tell other inodes than a look does, as some layered file systems do.

#include "targets/FolderReader.h"

namespace karvel::testing {

class CountingReader final : public FolderReader {
  public:
    std::error_code Look(const std::string& path, FileEntry& out) override {
        ++looks;
        return disk_.Look(path, out);
    }
    std::error_code LookThrough(const std::string& path, FileEntry& out) override {
        ++looksThrough;
        return disk_.LookThrough(path, out);
    }
    std::optional<std::string> RealFolder(const std::string& folder) override {
        return disk_.RealFolder(folder);
    }
    std::error_code List(const std::string& folder, ListingSink& sink) override {
        ++listings;
        if (inodeShift == 0) return disk_.List(folder, sink);
        Shifted shifted(sink, inodeShift);
        return disk_.List(folder, shifted);
    }

    int looks = 0;
    int looksThrough = 0;
    int listings = 0;
    unsigned long long inodeShift = 0;  // added to every inode a listing tells

  private:
    class Shifted final : public ListingSink {
      public:
        Shifted(ListingSink& sink, unsigned long long shift) : sink_(sink), shift_(shift) {}
        void Expect(std::size_t folderBytes) override { sink_.Expect(folderBytes); }
        void Entry(std::string_view name, unsigned char type, unsigned long long inode) override {
            sink_.Entry(name, type, inode + shift_);
        }

      private:
        ListingSink& sink_;
        unsigned long long shift_;
    };

    FolderReader& disk_ = SystemFolderReader();
};

}  // namespace karvel::testing
