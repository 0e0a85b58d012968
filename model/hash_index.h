// HashIndex: finds records by a key they hold (an identifier's text, say)
// through its hash. The index holds record positions only, each with a part
// of its key's hash that settles most comparisons; whether the record at a
// position really has the key asked for is the caller's test. One array of
// slots with linear probing: no allocation per record.
#ifndef VORLANE_MODEL_HASH_INDEX_H_
#define VORLANE_MODEL_HASH_INDEX_H_

#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "model/pod_vector.h"
#include "model/probed_slots.h"

namespace vorlane {

// A hash of an identifier's bytes, eight at a time.
inline uint64_t hashId(std::string_view id) {
  uint64_t hash = 0x9E3779B97F4A7C15u ^ id.size();
  size_t i = 0;
  for (; i + 8 <= id.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, id.data() + i, 8);
    hash = (hash ^ word) * 0xBF58476D1CE4E5B9u;
    hash ^= hash >> 31;
  }
  uint64_t rest = 0;
  if (i < id.size()) std::memcpy(&rest, id.data() + i, id.size() - i);
  hash = (hash ^ rest) * 0x94D049BB133111EBu;
  return hash ^ (hash >> 29);
}

class HashIndex {
 public:
  // The position of the record with the key whose hash is "hash" and for
  // which matches(position) holds, or -1.
  template <typename Matches>
  int32_t find(uint64_t hash, const Matches& matches) const {
    if (slots_.empty()) return -1;
    const uint32_t tag = tagOf(hash);
    for (size_t i = home(tag);; i = next(i)) {
      const Slot& slot = slots_[i];
      if (slot.entry == 0) return -1;
      if (slot.tag == tag && matches(slot.position())) return slot.position();
    }
  }

  // The same, but when there is no such record "newPosition" is filed under
  // the hash and returned.
  template <typename Matches>
  int32_t findOrAdd(uint64_t hash, int32_t newPosition, const Matches& matches) {
    // At most three quarters full: probes stay short and memory small.
    if ((used_ + 1) * 4 > slots_.size() * 3) grow();
    const uint32_t tag = tagOf(hash);
    for (size_t i = home(tag);; i = next(i)) {
      Slot& slot = slots_[i];
      if (slot.entry == 0) {
        slot = Slot{tag, static_cast<uint32_t>(newPosition) + 1};
        ++used_;
        return newPosition;
      }
      if (slot.tag == tag && matches(slot.position())) return slot.position();
    }
  }

  // Shrinks an index to about what it holds, for one that is done growing
  // (probed_slots::shrunkCount). Cheap to call often.
  void compact() {
    if (const size_t count = probed_slots::shrunkCount(used_, slots_.size(), shrunkAt_)) {
      rehash(count, probed_slots::Fill::kLazily);
    }
  }

  // Asks for the memory a lookup of "hash" starts at, ahead of the lookup.
  void prefetch(uint64_t hash) const {
#if defined(__GNUC__)
    if (!slots_.empty()) __builtin_prefetch(&slots_[home(tagOf(hash))]);
#endif
  }

  // Files every record at a new position: the one at n moves to moved[n].
  void renumber(std::span<const int32_t> moved) {
    for (Slot& slot : slots_) {
      if (slot.entry != 0) slot.entry = static_cast<uint32_t>(moved[slot.entry - 1]) + 1;
    }
  }

 private:
  struct Slot {
    uint32_t tag = 0;    // the hash's upper half
    uint32_t entry = 0;  // the record's position + 1; 0: empty
    int32_t position() const { return static_cast<int32_t>(entry - 1); }
  };

  static uint32_t tagOf(uint64_t hash) { return static_cast<uint32_t>(hash >> 32); }
  // The tag picks the slot: the entries stand in the order of their tags.
  size_t home(uint32_t tag) const { return probed_slots::home(tag, slots_.size()); }
  size_t next(size_t i) const { return probed_slots::next(i, slots_.size()); }

  // Doubles the table, moving every entry.
  void grow() { rehash(slots_.empty() ? 64 : slots_.size() * 2, probed_slots::Fill::kWritten); }

  void rehash(size_t count, probed_slots::Fill fill) {
    probed_slots::rehash(
        slots_, count, fill, [](const Slot& slot) { return slot.entry != 0; },
        [](const Slot& slot) { return slot.tag; });
  }

  PodVector<Slot> slots_;  // at most 2^32
  size_t used_ = 0;
  size_t shrunkAt_ = 0;  // used_ when last shrunk
};

}  // namespace vorlane

#endif  // VORLANE_MODEL_HASH_INDEX_H_
