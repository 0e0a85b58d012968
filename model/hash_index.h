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

  // Shrinks an index less than 60 % full to one about 80 % full, for one
  // that is done growing. Cheap to call often: an index is shrunk again only
  // once it holds twice what it held then.
  void compact() {
    if (used_ * 5 >= slots_.size() * 3 || used_ < 2 * compactedUsed_) return;
    compactedUsed_ = used_;
    rehash(used_ + used_ / 4 + 1, kLazily);
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
  // The tag, scaled to the index's size, picks the slot, so that the
  // entries stand in the order of their tags, and a new table is filled in
  // order.
  size_t home(uint32_t tag) const { return static_cast<size_t>((uint64_t{tag} * slots_.size()) >> 32); }
  size_t next(size_t i) const { return i + 1 == slots_.size() ? 0 : i + 1; }

  // Doubles the table, moving every entry.
  void grow() { rehash(slots_.empty() ? 64 : slots_.size() * 2, kWritten); }

  // How a new table's memory is had: written at once, or left to the
  // system until an entry lands there. The first costs the memory of the
  // whole table from the start; the second a fault more per page, as the
  // first look at a page maps the system's zero page and the first write
  // copies it.
  enum Fill { kWritten, kLazily };

  // Moves every entry into a table of "count" slots, giving the old
  // table's memory back as it is passed: the entries keep their order, so
  // a lazily filled new table grows about as fast as the old one empties.
  // REQUIRES: count > used_.
  void rehash(size_t count, Fill fill) {
    constexpr size_t kReleaseStep = 4096;
    PodVector<Slot> old = std::move(slots_);
    if (fill == kLazily) {
      slots_.appendZeros(count);
    } else {
      slots_.append(count, Slot{});
    }
    for (size_t k = 0; k < old.size(); ++k) {
      const Slot slot = old[k];
      if (slot.entry != 0) {
        size_t i = home(slot.tag);
        while (slots_[i].entry != 0) i = next(i);
        slots_[i] = slot;
      }
      if (k % kReleaseStep == kReleaseStep - 1) old.release(k + 1 - kReleaseStep, kReleaseStep);
    }
  }

  PodVector<Slot> slots_;  // at most 2^32
  size_t used_ = 0;
  size_t compactedUsed_ = 0;  // used_ when last compacted
};

}  // namespace vorlane

#endif  // VORLANE_MODEL_HASH_INDEX_H_
