// IdMap: the reader's lookup tables, from idKey() values to a value. One
// array of slots with linear probing: no allocation per entry and one cache
// line per lookup, where the rows of a large file make hundreds of
// thousands of lookups.
#ifndef VORLANE_VFK_ID_MAP_H_
#define VORLANE_VFK_ID_MAP_H_

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace vorlane {

template <typename T>
class IdMap {
 public:
  // The value of "key", or null.
  T* find(uint64_t key) {
    if (slots_.empty()) return nullptr;
    for (size_t i = home(key);; i = (i + 1) & mask()) {
      Slot& slot = slots_[i];
      if (!slot.used) return nullptr;
      if (slot.key == key) return &slot.value;
    }
  }

  // The value of "key", inserted as T() when missing.
  T& operator[](uint64_t key) {
    if ((used_ + 1) * 2 > slots_.size()) grow();
    for (size_t i = home(key);; i = (i + 1) & mask()) {
      Slot& slot = slots_[i];
      if (!slot.used) {
        slot.used = true;
        slot.key = key;
        ++used_;
        return slot.value;
      }
      if (slot.key == key) return slot.value;
    }
  }

  size_t size() const { return used_; }

 private:
  struct Slot {
    uint64_t key = 0;
    bool used = false;
    T value{};
  };

  size_t mask() const { return slots_.size() - 1; }

  // The keys are FNV hashes, whose low bits alone are poorly spread; a
  // multiplication moves the well-mixed high bits down.
  size_t home(uint64_t key) const {
    return static_cast<size_t>((key * 0x9E3779B97F4A7C15u) >> 32) & mask();
  }

  // Doubles the table (at most half full), moving every entry.
  void grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_ = std::vector<Slot>(old.empty() ? 64 : old.size() * 2);
    for (Slot& slot : old) {
      if (!slot.used) continue;
      size_t i = home(slot.key);
      while (slots_[i].used) i = (i + 1) & mask();
      slots_[i] = std::move(slot);
    }
  }

  std::vector<Slot> slots_;
  size_t used_ = 0;
};

}  // namespace vorlane

#endif  // VORLANE_VFK_ID_MAP_H_
