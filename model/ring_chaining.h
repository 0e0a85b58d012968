// Ordering the lines of one area into connected chains ("rings").
#ifndef VORLANE_MODEL_RING_CHAINING_H_
#define VORLANE_MODEL_RING_CHAINING_H_

#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vorlane {

// How the next line of a chain is looked for. Both find the same line: the
// first, in list order, after the current position that has the chain's open
// end at its front or back.
enum class ChainSearch {
  kScan,     // walk the rest of the list: quadratic, but fastest for short lists
  kIndexed,  // look the point up in an index of line ends: n log n
  kAuto,     // kScan for short lists, kIndexed for long ones
};

namespace chaining_internal {

// The lines named by "order", seen through their end points.
template <typename Line>
class LineEnds {
 public:
  LineEnds(const std::vector<int>& order, const std::vector<Line>& lines)
      : order_(order), lines_(lines) {}
  int front(int position) const { return lines_[order_[position]].pointIndices.front(); }
  int back(int position) const { return lines_[order_[position]].pointIndices.back(); }
  int size() const { return static_cast<int>(order_.size()); }

 private:
  const std::vector<int>& order_;
  const std::vector<Line>& lines_;
};

template <typename Ends>
class ScanSearch {
 public:
  explicit ScanSearch(const Ends& ends) : ends_(ends) {}
  // The first position after "from" whose line ends at "point", or -1.
  int find(int from, int point) const {
    for (int j = from + 1; j < ends_.size(); ++j) {
      if (ends_.front(j) == point || ends_.back(j) == point) return j;
    }
    return -1;
  }
  void swapped(int, int) {}

 private:
  const Ends& ends_;
};

// Keeps, for every end point, the positions of the lines that end there.
template <typename Ends>
class IndexedSearch {
 public:
  explicit IndexedSearch(const Ends& ends) : ends_(ends) {
    for (int position = 0; position < ends.size(); ++position) add(position);
  }
  int find(int from, int point) const {
    const auto found = positionsByPoint_.find(point);
    if (found == positionsByPoint_.end()) return -1;
    const auto next = found->second.upper_bound(from);
    return next == found->second.end() ? -1 : *next;
  }
  // The lines at positions a and b have just changed places.
  void swapped(int a, int b) {
    remove(a, b);  // the line now at a was listed at b
    remove(b, a);
    add(a);
    add(b);
  }

 private:
  void add(int position) {
    positionsByPoint_[ends_.front(position)].insert(position);
    positionsByPoint_[ends_.back(position)].insert(position);
  }
  // Removes the entries of the line now at "position", listed at "listedAt".
  void remove(int position, int listedAt) {
    positionsByPoint_[ends_.front(position)].erase(listedAt);
    positionsByPoint_[ends_.back(position)].erase(listedAt);
  }

  const Ends& ends_;
  std::unordered_map<int, std::set<int>> positionsByPoint_;
};

// The chaining walk itself, whatever the search.
template <typename Ends, typename Search>
bool chain(std::vector<int>& order, const Ends& ends, Search& search) {
  const int n = ends.size();
  bool multipleRings = false;
  int ringStartFront = ends.front(0);
  int end = ends.back(0);
  for (int i = 0; i + 1 < n; ++i) {
    const int j = search.find(i, end);
    if (j < 0) {
      // Nothing after position i continues the chain: a new ring begins.
      multipleRings = true;
      ringStartFront = ends.front(i + 1);
      end = ends.back(i + 1);
      continue;
    }
    if (j != i + 1) {
      std::swap(order[j], order[i + 1]);
      search.swapped(i + 1, j);
    }
    // A line whose front and back are both the open end leaves it on its back.
    end = end == ends.front(i + 1) ? ends.back(i + 1) : ends.front(i + 1);
    if (i >= 2 && i + 1 < n - 1 && end == ringStartFront) {
      // The ring is closed and lines remain: the next one starts a ring.
      multipleRings = true;
      ringStartFront = ends.front(i + 2);
      end = ends.back(i + 2);
      ++i;
    }
  }
  return multipleRings;
}

}  // namespace chaining_internal

// Reorders "order", a list of indices into "lines", in place so that each
// line continues from the open end of the chain before it, matching lines by
// their end point indices. Each step takes the first matching line in list
// order. Where no later line continues the chain, or where a ring closes
// (looked for from the third line on) while lines remain, a new ring starts
// with the next line in the list. Returns true when the result has more than
// one ring or breaks.
// REQUIRES: every line named has at least one point.
template <typename Line>
bool chainIntoRings(std::vector<int>& order, const std::vector<Line>& lines,
                    ChainSearch how = ChainSearch::kAuto) {
  using namespace chaining_internal;
  if (order.empty()) return false;
  // Below this length a scan of the rest of the list beats building an index.
  constexpr size_t kIndexFrom = 48;
  const LineEnds<Line> ends(order, lines);
  if (how == ChainSearch::kIndexed || (how == ChainSearch::kAuto && order.size() >= kIndexFrom)) {
    IndexedSearch<LineEnds<Line>> search(ends);
    return chain(order, ends, search);
  }
  ScanSearch<LineEnds<Line>> search(ends);
  return chain(order, ends, search);
}

}  // namespace vorlane

#endif  // VORLANE_MODEL_RING_CHAINING_H_
