// IdMap: the reader's lookup tables, from idKey() values to a plain value.
// One array of slots with linear probing: no allocation per entry and one
// cache line per lookup, where the rows of a large file make hundreds of
// thousands of lookups. A slot is its key and its value; the key 0 marks an
// empty slot, so the value of a real key 0 is kept beside the slots.
#ifndef VORLANE_VFK_ID_MAP_H_
#define VORLANE_VFK_ID_MAP_H_

#include <cstddef>
#include <cstdint>
#include <utility>

#include "model/pod_vector.h"
#include "model/probed_slots.h"

namespace vorlane {

template <typename T>
class IdMap {
 public:
  // The value of "key", or null. Valid until the next insertion.
  T* find(uint64_t key) {
    if (key == kEmpty) return hasZeroKey_ ? &zeroKeyValue_ : nullptr;
    if (slots_.empty()) return nullptr;
    for (size_t i = home(key);; i = next(i)) {
      Slot& slot = slots_[i];
      if (slot.key == key) return &slot.value;
      if (slot.key == kEmpty) return nullptr;
    }
  }

  // The value of "key", inserted as T() when missing. Valid until the next
  // insertion.
  T& operator[](uint64_t key) {
    if (key == kEmpty) {
      if (!hasZeroKey_) {
        hasZeroKey_ = true;
        ++size_;
      }
      return zeroKeyValue_;
    }
    // At most three quarters full: probes stay short and memory small.
    if ((size_ + 1) * 4 > slots_.size() * 3) grow();
    for (size_t i = home(key);; i = next(i)) {
      Slot& slot = slots_[i];
      if (slot.key == key) return slot.value;
      if (slot.key == kEmpty) {
        slot = Slot{key, T{}};
        ++size_;
        return slot.value;
      }
    }
  }

  size_t size() const { return size_; }

  // Shrinks a table to about what it holds, for one that is done growing
  // (its block ended; probed_slots::shrunkCount). Cheap to call often.
  void compact() {
    if (const size_t count = probed_slots::shrunkCount(size_, slots_.size(), shrunkAt_)) {
      rehash(count, probed_slots::Fill::kLazily);
    }
  }

  // Asks for the memory a lookup of "key" starts at, ahead of the lookup.
  void prefetch(uint64_t key) const {
#if defined(__GNUC__)
    if (!slots_.empty()) __builtin_prefetch(&slots_[home(key)]);
#endif
  }

 private:
  static constexpr uint64_t kEmpty = 0;

  struct Slot {
    uint64_t key = kEmpty;
    T value{};
  };

  // The keys are FNV hashes, whose low bits alone are poorly spread: a
  // multiplication mixes them, and its top bits pick the slot.
  static uint32_t hashBits(uint64_t key) {
    return static_cast<uint32_t>((key * 0x9E3779B97F4A7C15u) >> 32);
  }
  size_t home(uint64_t key) const { return probed_slots::home(hashBits(key), slots_.size()); }
  size_t next(size_t i) const { return probed_slots::next(i, slots_.size()); }

  // Doubles the table, moving every entry.
  void grow() { rehash(slots_.empty() ? 64 : slots_.size() * 2, probed_slots::Fill::kWritten); }

  void rehash(size_t count, probed_slots::Fill fill) {
    probed_slots::rehash(
        slots_, count, fill, [](const Slot& slot) { return slot.key != kEmpty; },
        [](const Slot& slot) { return hashBits(slot.key); });
  }

  PodVector<Slot> slots_;  // at most 2^32
  size_t size_ = 0;
  size_t shrunkAt_ = 0;  // size_ when last shrunk
  bool hasZeroKey_ = false;
  T zeroKeyValue_{};
};

}  // namespace vorlane

#endif  // VORLANE_VFK_ID_MAP_H_
