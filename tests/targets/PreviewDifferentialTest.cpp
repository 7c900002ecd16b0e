// The conflict preview against a plain model of the run: over thousands of random folders
// and lists, the first row the preview marks is the row where a run that moves files one
// by one, freeing names before taking them, would have to stop.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "support/MemoryDisk.h"
#include "targets/ListRefresh.h"

namespace karvel {
namespace {

struct Row {
    std::string source;
    std::string target;
    bool usable;  // the file is there and is a regular file
};

// Whether rows [0, k) all complete with moves of their own: move any row whose target is
// free; when every row left waits for another row left, one of them goes to a temporary name.
bool PrefixCompletes(const std::vector<Row>& rows, std::size_t k,
                     const std::set<std::string>& folder) {
    std::map<std::string, int> names;  // name -> row whose file stands there, -1 for one not listed
    for (const std::string& name : folder) names[name] = -1;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].usable) names[rows[i].source] = static_cast<int>(i);
    }
    std::set<std::string> claimed;
    std::map<std::size_t, std::string> pending;  // row -> the name its file has now
    for (std::size_t i = 0; i < k; ++i) {
        if (!rows[i].usable || !claimed.insert(rows[i].target).second) return false;
        pending[i] = rows[i].source;
    }
    while (!pending.empty()) {
        bool moved = false;
        for (auto at = pending.begin(); at != pending.end();) {
            const auto& [row, current] = *at;
            const std::string& target = rows[row].target;
            if (current == target || !names.contains(target)) {
                names.erase(current);
                names[target] = static_cast<int>(row);
                at = pending.erase(at);
                moved = true;
            } else {
                ++at;
            }
        }
        if (moved) continue;
        for (const auto& [row, current] : pending) {
            const int holder = names[rows[row].target];
            if (holder < 0 || !pending.contains(static_cast<std::size_t>(holder)))
                return false;  // never freed
        }
        auto& [row, current] = *pending.begin();
        names.erase(current);
        current = "temporary " + std::to_string(row);
        names[current] = static_cast<int>(row);
    }
    return true;
}

std::size_t ModelStop(const std::vector<Row>& rows, const std::set<std::string>& folder) {
    for (std::size_t k = rows.size(); k > 0; --k) {
        if (PrefixCompletes(rows, k, folder)) return k;
    }
    return 0;
}

TEST(PreviewDifferential, TheFirstMarkIsWhereAOneByOneRunStops) {
    std::mt19937 random(20261207);
    const std::vector<std::string> alphabet = {"a", "b", "c", "d", "e", "f", "g", "h"};
    testing::MemoryDisk disk;
    const auto isFile = [&disk](const std::string& path) {
        return disk.ContentOf(path).has_value();
    };
    int lists = 0;
    for (int layout = 0; layout < 1000; ++layout) {
        // A fresh folder: some names as files not listed, some as folders.
        const std::string folder = "/" + std::to_string(layout) + "/";
        disk.MakeFolder(folder);
        std::set<std::string> unlisted;
        std::vector<std::string> names = alphabet;
        std::shuffle(names.begin(), names.end(), random);
        const std::size_t sources = 1 + random() % 6;
        for (std::size_t i = sources; i < names.size(); ++i) {
            if (random() % 3 == 0) {
                unlisted.insert(names[i]);
                if (random() % 4 == 0) {
                    disk.MakeFolder(folder + names[i]);
                } else {
                    disk.MakeFile(folder + names[i]);
                }
            }
        }
        for (std::size_t i = 0; i < sources; ++i) {
            if (random() % 8 != 0) disk.MakeFile(folder + names[i]);  // now and then missing
        }
        for (int list = 0; list < 10; ++list, ++lists) {
            std::vector<TargetRow> rows;
            std::vector<Row> model;
            for (std::size_t i = 0; i < sources; ++i) {
                TargetRow row{names[i], alphabet[random() % alphabet.size()], "", false};
                rows.push_back(row);
                model.push_back({row.BeforeName, row.AfterName, isFile(folder + names[i])});
            }
            std::shuffle(rows.begin(), rows.end(), random);
            for (std::size_t i = 0; i < rows.size(); ++i) {
                model[i] = {rows[i].BeforeName, rows[i].AfterName,
                            isFile(folder + rows[i].BeforeName)};
            }
            TargetList target;
            target.SetTargetFolder(folder);
            target.AssignRows(rows);
            target.SetState(ListState::Ready);
            RefreshList(target, ListChanges::Folder(), disk);
            std::size_t firstMark = target.RowCount();
            for (std::size_t i = 0; i < target.RowCount(); ++i) {
                if (target.Rows()[i].Conflict != RowConflict::None) {
                    firstMark = i;
                    break;
                }
            }
            std::string shown;
            for (const Row& row : model)
                shown += row.source + ">" + row.target + (row.usable ? " " : "(gone) ");
            ASSERT_EQ(firstMark, ModelStop(model, unlisted)) << shown << " with unlisted files";
        }
    }
    EXPECT_EQ(lists, 10'000);
}

}  // namespace
}  // namespace karvel
