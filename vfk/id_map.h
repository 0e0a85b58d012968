// IdMap: the reader's lookup tables, from idKey() values to a plain value.
// One array of slots with linear probing: no allocation per entry and one
// cache line per lookup, where the rows of a large file make hundreds of
// thousands of lookups. A slot is its key and its value; the key 0 marks an
// empty slot, so the value of a real key 0 is kept beside the slots.
#ifndef VORLANE_VFK_ID_MAP_H_
#define VORLANE_VFK_ID_MAP_H_

#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "model/pod_vector.h"

namespace vorlane {

template <typename T>
class IdMap {
 public:
  // The value of "key", or null. Valid until the next insertion.
  T* find(uint64_t key) {
    if (key == kEmpty) return hasZeroKey_ ? &zeroKeyValue_ : nullptr;
    if (slots_.empty()) return nullptr;
    for (size_t i = home(key);; i = (i + 1) & mask()) {
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
    for (size_t i = home(key);; i = (i + 1) & mask()) {
      Slot& slot = slots_[i];
      if (slot.key == key) return slot.value;
      if (slot.key == kEmpty) {
        slot.key = key;
        ++size_;
        return slot.value;
      }
    }
  }

  size_t size() const { return size_; }

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

  size_t mask() const { return slots_.size() - 1; }

  // The keys are FNV hashes, whose low bits alone are poorly spread: a
  // multiplication mixes them, and its top bits pick the slot. So the
  // entries stand in the order of those bits, and doubling the table moves
  // them in order, from one end to the other, instead of all over it.
  size_t home(uint64_t key) const {
    return static_cast<size_t>((key * 0x9E3779B97F4A7C15u) >> shift_);
  }

  // Doubles the table, moving every entry.
  void grow() {
    PodVector<Slot> old = std::move(slots_);
    slots_.append(old.empty() ? 64 : old.size() * 2, Slot{});
    shift_ = 64 - std::countr_zero(slots_.size());
    for (const Slot& slot : old) {
      if (slot.key == kEmpty) continue;
      size_t i = home(slot.key);
      while (slots_[i].key != kEmpty) i = (i + 1) & mask();
      slots_[i] = slot;
    }
  }

  PodVector<Slot> slots_;
  int shift_ = 64;  // 64 less the bits of a slot's position
  size_t size_ = 0;
  bool hasZeroKey_ = false;
  T zeroKeyValue_{};
};

}  // namespace vorlane

#endif  // VORLANE_VFK_ID_MAP_H_
