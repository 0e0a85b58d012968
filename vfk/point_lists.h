// The point lists of the lines being read: the SBP and SBM rows place
// points, by ordinal number, into the list of the line they name, and the
// HP, OB, DPM and HBPEJ rows that follow hand those lists to the model.
//
// Lists are kept, like the model's lines, as ranges of the model's one
// shared array of point indices (CadastralModel::pointIndexPool). A line
// takes its list's range as it stands, without a copy. Rows of a real file
// build each list in one run and take it once, so every list is written once
// at the end of the array, where it grows in place, and is taken as it is. A
// list that is changed after a line took it, or taken a second time, is first
// copied, so that every line keeps the points its list had when it was read
// and no two lines share entries.
#ifndef VORLANE_VFK_POINT_LISTS_H_
#define VORLANE_VFK_POINT_LISTS_H_

#include <cstdint>
#include <optional>

#include "model/diagnostics.h"
#include "model/hash_index.h"
#include "model/pod_vector.h"
#include "model/records.h"

namespace vorlane {

// The highest ordinal number (PORADOVE_CISLO_BODU) placed in a point list.
// Rows beyond it are not placed: it bounds what a corrupt file can make the
// reader allocate.
constexpr int kMaxPointOrdinal = 1'000'000;

// Bounds on what one file can make the reader store beyond its own rows, so
// that memory, time and the warnings about missing points grow with the file
// and not with the numbers written in it. A real file has no gaps in its
// ordinals and takes each point list once; a corrupt one may do neither.
// The defaults are the product's; the fuzzers use smaller ones, so that a
// few bytes cannot spend their time on a million placeholders.
struct PointBudget {
  // The highest ordinal placed, at most kMaxPointOrdinal.
  int maxOrdinal = kMaxPointOrdinal;
  // Gaps: -1 placeholders all point lists may receive in all. A row whose
  // ordinal would pad a list beyond this is not placed.
  int64_t placeholdersLeft = 1'000'000;
  // Lines may take, in all, the entries the point lists grew by plus this
  // spare (a list taken once more, say). A line whose list would overdraw
  // it is dropped like one without a list.
  int64_t lineEntriesLeft = 1'000'000;
};

class PointLists {
 public:
  // "pool" and "budget" must outlive the lists; the budget may be shared.
  PointLists(PodVector<int32_t>& pool, PointBudget& budget) : pool_(pool), budget_(budget) {}

  // Puts "pointIndex" at position ordinal - 1 of the list of "key" (an
  // idKey()), creating the list; positions skipped on the way hold -1, and a
  // later row for the same position replaces the point. Ordinals outside 1
  // to the budget's maxOrdinal, or beyond its placeholders, place nothing;
  // the result says why (DropReason::kNone when the point was placed).
  // The row of ordinal 1 gives the line's shape.
  DropReason place(uint64_t key, int32_t pointIndex, int ordinal,
                   LineShape shape = LineShape::kStraight);

  // Whether a row has put a point into the list of "key".
  bool contains(uint64_t key) { return find(key) >= 0; }

  // Asks for the memory a later place() or take() of "key" will look at.
  void prefetch(uint64_t key) const;

  // The list of "key" as it stands, as a range of the pool for a new line
  // that no other line shares, with the line's shape; nullopt when there is
  // no list or the line would overdraw the budget, and "why" says which.
  struct Taken {
    IndexRange range;
    LineShape shape;
  };
  std::optional<Taken> take(uint64_t key, DropReason& why);

 private:
  // A list's capacity is the entries from "first" on that belong to it: its
  // count, unless it was moved with room to grow, and then 2^capacityLog2.
  struct List {
    uint64_t key = 0;
    uint32_t first = 0;
    uint32_t count : 22 = 0;  // enough for kMaxPointOrdinal
    uint32_t taken : 1 = 0;   // a line holds the range [first, first + count)
    uint32_t capacityLog2 : 5 = 0;
    uint32_t shape : 2 = 0;  // a LineShape
    uint32_t capacity() const { return capacityLog2 == 0 ? count : uint32_t{1} << capacityLog2; }
  };

  // The position of the list of "key" in lists_, or -1.
  int32_t find(uint64_t key);
  // Makes room for "count" entries, moving the list to the end of the pool
  // when it cannot grow where it is.
  void reserve(List& list, uint32_t count);
  // Copies the list's entries to the end of the pool, with room for
  // "capacity" entries; returns where they went.
  uint32_t copyToEnd(const List& list, uint32_t capacity);
  // Throws std::length_error when the pool cannot take "entries" more.
  void checkRoom(size_t entries) const;
  // Files every list in byKey_ again, once it was let go.
  void restoreIndex();

  PodVector<int32_t>& pool_;
  PointBudget& budget_;
  PodVector<List> lists_;  // in the order they were made
  HashIndex byKey_;        // positions in lists_
  // Rows of one line follow each other, and lines mostly take their lists
  // in the order the lists were made: these are tried before byKey_.
  int32_t lastUsed_ = -1;
  size_t nextToTake_ = 0;
  // When lines start taking the lists, which a file mostly does in the
  // order they were made, byKey_ is let go: its memory serves the lines
  // being read. The first lookup after that files the lists again, for good.
  bool indexLetGo_ = false;
};

}  // namespace vorlane

#endif  // VORLANE_VFK_POINT_LISTS_H_
