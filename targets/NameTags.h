#pragma once
// Open addressing over names, with a one-byte tag per slot kept apart from what
// the slots hold: a lookup of an absent name reads only the tags, which stay in
// cache even for a list of 100,000 files.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace karvel {

class NameTags {
  public:
    NameTags() = default;
    // Room for `names` names, the table never more than half full.
    explicit NameTags(std::size_t names)
        : tags_(std::bit_ceil(std::max<std::size_t>(16, names * 2))), mask_(tags_.size() - 1) {}

    static std::uint64_t HashOf(std::string_view name) {
        return static_cast<std::uint64_t>(std::hash<std::string_view>{}(name));
    }

    std::size_t SlotCount() const { return tags_.size(); }
    // The slot a lookup of `hash` starts at; its tag is then loaded ahead.
    std::size_t Prefetch(std::uint64_t hash) const {
        const std::size_t home = Home(hash);
        if (!tags_.empty()) __builtin_prefetch(&tags_[home]);
        return home;
    }

    // The slot whose name `holds(slot)` accepts, or else the free slot the name would
    // take. `holds` is asked only of slots whose tag matches.
    template <class Holds>
    std::size_t Find(std::uint64_t hash, Holds&& holds) const {
        return Probe(
            hash, mask_, [this](std::size_t at) { return tags_[at]; }, holds);
    }

    // Linear probing over any table of 2^k slots whose tag `tagAt(slot)` gives, 0 for a
    // free slot: the slot holding the name, or the free slot it would take. The one
    // probe of every name table, so the tables agree on where a name lives.
    template <class TagAt, class Holds>
    static std::size_t Probe(std::uint64_t hash, std::size_t mask, TagAt&& tagAt, Holds&& holds) {
        const std::uint8_t tag = TagOf(hash);
        for (std::size_t at = static_cast<std::size_t>(hash) & mask;; at = (at + 1) & mask) {
            const std::uint8_t here = tagAt(at);
            if (here == 0 || (here == tag && holds(at))) return at;
        }
    }
    bool Taken(std::size_t slot) const { return tags_[slot] != 0; }
    void Take(std::size_t slot, std::uint64_t hash) { tags_[slot] = TagOf(hash); }

    // The top seven bits, the high bit set so that no tag is 0, the free mark; the
    // slot comes from the low bits.
    static std::uint8_t TagOf(std::uint64_t hash) {
        return static_cast<std::uint8_t>(0x80 | (hash >> 57));
    }

  private:
    std::size_t Home(std::uint64_t hash) const { return static_cast<std::size_t>(hash) & mask_; }

    std::vector<std::uint8_t> tags_;
    std::size_t mask_ = 0;
};

}  // namespace karvel
