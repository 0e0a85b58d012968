// What HashIndex and the reader's IdMap share: a table of slots searched by
// linear probing, where 32 bits of an entry's hash, scaled to the table's
// size, pick its first slot. So the entries stand in the order of those
// bits, and a new table is filled in order, from one end to the other,
// instead of all over it; a table may have any size up to 2^32.
#ifndef VORLANE_MODEL_PROBED_SLOTS_H_
#define VORLANE_MODEL_PROBED_SLOTS_H_

#include <cstddef>
#include <cstdint>
#include <utility>

#include "model/pod_vector.h"

namespace vorlane::probed_slots {

// The first slot of an entry with these hash bits in a table of "count".
inline size_t home(uint32_t hashBits, size_t count) {
  return static_cast<size_t>((uint64_t{hashBits} * count) >> 32);
}

// The slot after "i", the last one followed by the first.
inline size_t next(size_t i, size_t count) { return i + 1 == count ? 0 : i + 1; }

// The size a table of "count" slots holding "used" entries shrinks to once
// it is done growing (its block ended), or 0 when it stays: one less than
// 60 % full becomes about 80 % full. "shrunkAt" is what it held when last
// shrunk, and is updated: a table is shrunk again only once it holds twice
// that, so shrinking at every block costs little.
inline size_t shrunkCount(size_t used, size_t count, size_t& shrunkAt) {
  if (used * 5 >= count * 3 || used < 2 * shrunkAt) return 0;
  shrunkAt = used;
  return used + used / 4 + 1;
}

// How a new table's memory is had: written at once, or left to the system
// until an entry lands there. The first costs the memory of the whole table
// from the start; the second a fault more per page, as the first look at a
// page maps the system's zero page and the first write copies it.
enum class Fill { kWritten, kLazily };

// Moves the entries of "slots" into a new table of "count" slots, in which
// an unused slot is all zero bytes, giving the old table's memory back as
// it is passed: the entries keep their order, so a lazily filled new table
// grows about as fast as the old one empties. isUsed(slot) tells an entry,
// hashBits(slot) its bits for home(). REQUIRES: count > the entries.
template <typename Slot, typename IsUsed, typename HashBits>
void rehash(PodVector<Slot>& slots, size_t count, Fill fill, const IsUsed& isUsed,
            const HashBits& hashBits) {
  // The old table goes back in steps of 128 to 256 KiB: each step is a
  // system call that flushes the process's address translations, in a
  // virtual machine a costly one.
  constexpr size_t kReleaseStep = 16384;
  PodVector<Slot> old = std::move(slots);
  if (fill == Fill::kLazily) {
    slots.appendZeros(count);
  } else {
    slots.append(count, Slot{});
  }
  for (size_t k = 0; k < old.size(); ++k) {
    const Slot slot = old[k];
    if (isUsed(slot)) {
      size_t i = home(hashBits(slot), count);
      while (isUsed(slots[i])) i = next(i, count);
      slots[i] = slot;
    }
    if (k % kReleaseStep == kReleaseStep - 1) old.release(k + 1 - kReleaseStep, kReleaseStep);
  }
}

}  // namespace vorlane::probed_slots

#endif  // VORLANE_MODEL_PROBED_SLOTS_H_
