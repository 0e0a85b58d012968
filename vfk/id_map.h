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

  // Shrinks a table less than 60 % full to one about 80 % full, for a table
  // that is done growing (its block ended). Cheap to call at every block: a
  // table is shrunk again only once it holds twice what it held then.
  void compact() {
    if (size_ * 5 >= slots_.size() * 3 || size_ < 2 * compactedSize_) return;
    compactedSize_ = size_;
    rehash(size_ + size_ / 4 + 1, kLazily);
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
  // multiplication mixes them, and its top bits, scaled to the table's
  // size, pick the slot. So the entries stand in the order of those bits,
  // and a new table is filled in order, from one end to the other, instead
  // of all over it.
  size_t home(uint64_t key) const {
    return static_cast<size_t>((((key * 0x9E3779B97F4A7C15u) >> 32) * slots_.size()) >> 32);
  }
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
  // REQUIRES: count > size_.
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
      if (slot.key != kEmpty) {
        size_t i = home(slot.key);
        while (slots_[i].key != kEmpty) i = next(i);
        slots_[i] = slot;
      }
      if (k % kReleaseStep == kReleaseStep - 1) old.release(k + 1 - kReleaseStep, kReleaseStep);
    }
  }

  PodVector<Slot> slots_;  // at most 2^32
  size_t size_ = 0;
  size_t compactedSize_ = 0;  // the size when last compacted
  bool hasZeroKey_ = false;
  T zeroKeyValue_{};
};

}  // namespace vorlane

#endif  // VORLANE_VFK_ID_MAP_H_
