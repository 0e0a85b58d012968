#include "vfk/point_lists.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <stdexcept>

namespace vorlane {

namespace {
constexpr int32_t kMissingPoint = -1;
// List::count has 22 bits; ordinals stay below kMaxPointOrdinal.
constexpr uint32_t kCountMask = (1u << 22) - 1;
}  // namespace

namespace {
// idKey() values are FNV hashes, whose low bits alone are poorly spread; a
// multiplication mixes the high bits down.
uint64_t mixed(uint64_t key) { return key * 0x9E3779B97F4A7C15u; }
}  // namespace

int32_t PointLists::find(uint64_t key) {
  if (lastUsed_ >= 0 && lists_[static_cast<size_t>(lastUsed_)].key == key) return lastUsed_;
  if (indexLetGo_) restoreIndex();
  const int32_t found = byKey_.find(
      mixed(key), [this, key](int32_t n) { return lists_[static_cast<size_t>(n)].key == key; });
  if (found >= 0) lastUsed_ = found;
  return found;
}

void PointLists::restoreIndex() {
  indexLetGo_ = false;
  for (size_t n = 0; n < lists_.size(); ++n) {
    byKey_.findOrAdd(mixed(lists_[n].key), static_cast<int32_t>(n), [](int32_t) { return false; });
  }
}

void PointLists::prefetch(uint64_t key) const {
  if (lastUsed_ >= 0 && lists_[static_cast<size_t>(lastUsed_)].key == key) return;
  byKey_.prefetch(mixed(key));
}

DropReason PointLists::place(uint64_t key, int32_t pointIndex, int ordinal, LineShape shape) {
  if (ordinal < 1) return DropReason::kBadOrdinal;
  if (ordinal > budget_.maxOrdinal) return DropReason::kOrdinalBeyondBound;
  int32_t found = find(key);
  const int64_t size = found < 0 ? 0 : lists_[static_cast<size_t>(found)].count;
  const int64_t growth = std::max<int64_t>(0, ordinal - size);
  const int64_t padding = std::max<int64_t>(0, growth - 1);
  if (padding > budget_.placeholdersLeft) return DropReason::kTooManyGaps;
  budget_.placeholdersLeft -= padding;
  budget_.lineEntriesLeft += growth;
  if (found < 0) {
    // A new list, at the end of the pool.
    found = static_cast<int32_t>(lists_.size());
    List list;
    list.key = key;
    list.first = static_cast<uint32_t>(pool_.size());
    lists_.push_back(list);
    byKey_.findOrAdd(mixed(key), found, [](int32_t) { return false; });
    lastUsed_ = found;
  }

  List& list = lists_[static_cast<size_t>(found)];
  const auto position = static_cast<uint32_t>(ordinal - 1);
  if (position < list.count) {
    // The line that holds the list keeps its points.
    if (list.taken) {
      list.first = copyToEnd(list, list.count);
      list.capacityLog2 = 0;
      list.taken = false;
    }
  } else {
    reserve(list, position + 1);
    std::fill(pool_.begin() + list.first + list.count, pool_.begin() + list.first + position,
              kMissingPoint);
    list.count = (position + 1) & kCountMask;
  }
  pool_[list.first + position] = pointIndex;
  if (ordinal == 1) list.shape = static_cast<uint32_t>(shape) & 3;
  return DropReason::kNone;
}

std::optional<PointLists::Taken> PointLists::take(uint64_t key, DropReason& why) {
  int32_t found = -1;
  if (nextToTake_ < lists_.size() && lists_[nextToTake_].key == key) {
    found = static_cast<int32_t>(nextToTake_);
    if (nextToTake_ == 0) {  // the first line takes the first list
      byKey_ = HashIndex();
      indexLetGo_ = true;
    }
  } else {
    found = find(key);
  }
  if (found < 0) {
    why = DropReason::kNoPoints;
    return std::nullopt;
  }
  List& list = lists_[static_cast<size_t>(found)];
  if (list.count > budget_.lineEntriesLeft) {
    why = DropReason::kTooManyLineEntries;
    return std::nullopt;
  }
  budget_.lineEntriesLeft -= list.count;
  nextToTake_ = static_cast<size_t>(found) + 1;
  const auto shape = static_cast<LineShape>(list.shape);
  if (list.taken) return Taken{IndexRange{copyToEnd(list, list.count), list.count}, shape};
  list.taken = true;
  return Taken{IndexRange{list.first, list.count}, shape};
}

void PointLists::reserve(List& list, uint32_t count) {
  const uint32_t capacity = list.capacity();
  if (count <= capacity) return;
  if (list.first + capacity == pool_.size()) {
    // At the end of the pool: the list grows where it is.
    checkRoom(count - capacity);
    pool_.append(count - capacity, kMissingPoint);
    list.capacityLog2 = 0;
    return;
  }
  // Room for twice what is needed keeps a list that grows here and there
  // linear in its length.
  const auto log2 = static_cast<uint32_t>(std::bit_width(2 * count - 1));
  list.first = copyToEnd(list, uint32_t{1} << log2);
  list.capacityLog2 = log2 & 31;
  list.taken = false;
}

void PointLists::checkRoom(size_t entries) const {
  // Ranges hold 32-bit positions: far more than memory holds for real files.
  if (pool_.size() + entries > std::numeric_limits<uint32_t>::max()) {
    throw std::length_error("too many point list entries");
  }
}

uint32_t PointLists::copyToEnd(const List& list, uint32_t capacity) {
  const size_t first = pool_.size();
  checkRoom(capacity);
  pool_.append(pool_.data() + list.first, list.count);
  pool_.append(capacity - list.count, kMissingPoint);
  return static_cast<uint32_t>(first);
}

}  // namespace vorlane
