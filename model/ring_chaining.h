// Ordering the lines of one area into connected chains ("rings").
#ifndef VORLANE_MODEL_RING_CHAINING_H_
#define VORLANE_MODEL_RING_CHAINING_H_

#include <utility>
#include <vector>

namespace vorlane {

// Reorders "order", a list of indices into "lines", in place so that each
// line continues from the open end of the chain before it, matching lines by
// their end point indices. Where no later line continues the chain, or where
// a ring closes (looked for from the third line on) while lines remain, a new
// ring starts with the next line in the list. Each step takes the first
// matching line in list order. Returns true when the result has more than
// one ring or breaks.
// REQUIRES: every line named has at least one point.
template <typename Line>
bool chainIntoRings(std::vector<int>& order, const std::vector<Line>& lines) {
  const int n = static_cast<int>(order.size());
  if (n == 0) return false;
  auto front = [&](int k) { return lines[order[k]].pointIndices.front(); };
  auto back = [&](int k) { return lines[order[k]].pointIndices.back(); };

  bool multipleRings = false;
  int ringStartFront = front(0);
  int end = back(0);
  for (int i = 0; i < n; ++i) {
    for (int j = i + 1; j < n; ++j) {
      const int f = front(j);
      const int b = back(j);
      if (end == f || end == b) {
        if (j != i + 1) std::swap(order[j], order[i + 1]);
        end = end == f ? b : f;
        if (i >= 2 && i + 1 < n - 1 && end == ringStartFront) {
          // The ring is closed and lines remain: the next one starts a ring.
          multipleRings = true;
          ringStartFront = front(i + 2);
          end = back(i + 2);
          ++i;
        }
        break;
      }
      if (j == n - 1) {
        // Nothing after position i continues the chain: a new ring begins.
        multipleRings = true;
        ringStartFront = front(i + 1);
        end = back(i + 1);
      }
    }
  }
  return multipleRings;
}

}  // namespace vorlane

#endif  // VORLANE_MODEL_RING_CHAINING_H_
