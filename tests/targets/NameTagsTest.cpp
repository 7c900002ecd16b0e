// The name tables' one probe against std::set: random names under hashes chosen to
// collide, in home slots and in tags, so that every probing path is walked.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "targets/NameTags.h"

namespace karvel {
namespace {

struct HashCase {
    const char* what;
    std::uint64_t (*hash)(const std::string&);
};

const HashCase kHashes[] = {
    {"real hash", [](const std::string& name) { return NameTags::HashOf(name); }},
    // Four homes at the table's end and two tags: long runs that wrap past the last slot.
    {"colliding",
     [](const std::string& name) {
         const std::uint64_t real = NameTags::HashOf(name);
         return ((std::uint64_t{1} << 57) - 1 - (real & 3)) | ((real >> 2 & 1) << 57);
     }},
};

TEST(NameTagsTest, FindsEveryNameInsertedAndNoOther) {
    std::mt19937 random(17);
    for (const HashCase& hashCase : kHashes) {
        SCOPED_TRACE(hashCase.what);
        for (int round = 0; round < 200; ++round) {
            const std::size_t count = random() % 300;
            NameTags tags(count);
            std::vector<std::string> slots(tags.SlotCount());
            std::set<std::string> model;
            for (std::size_t i = 0; i < count * 2; ++i) {
                const std::string name = std::to_string(random() % (count + 1));
                const std::uint64_t hash = hashCase.hash(name);
                const std::size_t slot =
                    tags.Find(hash, [&](std::size_t at) { return slots[at] == name; });
                ASSERT_EQ(tags.Taken(slot), model.contains(name)) << name;
                if (tags.Taken(slot)) {
                    ASSERT_EQ(slots[slot], name);
                } else if (model.size() < count) {
                    tags.Take(slot, hash);
                    slots[slot] = name;
                    model.insert(name);
                }
            }
        }
    }
}

}  // namespace
}  // namespace karvel
