#include "model/rings.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace vorlane {

namespace {

class ScanSearch {
 public:
  explicit ScanSearch(std::span<const LineEnds> ends) : ends_(ends) {}
  // The first position after "from" whose line ends at "point", or -1.
  int find(size_t from, int32_t point) const {
    for (size_t j = from + 1; j < ends_.size(); ++j) {
      if (ends_[j].front == point || ends_[j].back == point) return static_cast<int>(j);
    }
    return -1;
  }
  void swapped(size_t, size_t) {}

 private:
  std::span<const LineEnds> ends_;
};

// Keeps, for every end point, the positions of the lines that end there: one
// entry for each end, sorted by point, so that a point's entries lie
// together (few, for a border's points).
class IndexedSearch {
 public:
  explicit IndexedSearch(std::span<const LineEnds> ends) : ends_(ends) {
    entries_.reserve(2 * ends.size());
    for (size_t position = 0; position < ends.size(); ++position) {
      entries_.push_back({ends[position].front, position});
      entries_.push_back({ends[position].back, position});
    }
    std::sort(entries_.begin(), entries_.end(),
              [](const Entry& a, const Entry& b) { return a.point < b.point; });
  }
  int find(size_t from, int32_t point) const {
    int found = -1;
    for (size_t k = first(point); k < entries_.size() && entries_[k].point == point; ++k) {
      const size_t position = entries_[k].position;
      if (position > from && (found < 0 || position < static_cast<size_t>(found))) {
        found = static_cast<int>(position);
      }
    }
    return found;
  }
  // The lines at positions a and b have just changed places.
  void swapped(size_t a, size_t b) {
    move(ends_[a], b, a);  // the line now at a was listed at b
    move(ends_[b], a, b);
  }

 private:
  struct Entry {
    int32_t point;
    size_t position;
  };

  // Where the entries of "point" begin.
  size_t first(int32_t point) const {
    return static_cast<size_t>(
        std::partition_point(entries_.begin(), entries_.end(),
                             [point](const Entry& entry) { return entry.point < point; }) -
        entries_.begin());
  }
  // Lists a line's two ends at "to" instead of "from", one entry each.
  void move(const LineEnds& line, size_t from, size_t to) {
    for (const int32_t point : {line.front, line.back}) {
      size_t k = first(point);
      while (entries_[k].position != from) ++k;
      entries_[k].position = to;
    }
  }

  std::span<const LineEnds> ends_;
  std::vector<Entry> entries_;
};

// The chaining walk itself, whatever the search.
template <typename Search>
bool chain(std::span<int32_t> lines, std::span<LineEnds> ends, Search& search) {
  const size_t n = ends.size();
  bool multipleRings = false;
  int32_t ringStartFront = ends[0].front;
  int32_t end = ends[0].back;
  for (size_t i = 0; i + 1 < n; ++i) {
    const int j = search.find(i, end);
    if (j < 0) {
      // Nothing after position i continues the chain: a new ring begins.
      multipleRings = true;
      ringStartFront = ends[i + 1].front;
      end = ends[i + 1].back;
      continue;
    }
    const auto next = static_cast<size_t>(j);
    if (next != i + 1) {
      std::swap(lines[next], lines[i + 1]);
      std::swap(ends[next], ends[i + 1]);
      search.swapped(i + 1, next);
    }
    // A line whose front and back are both the open end leaves it on its back.
    end = end == ends[i + 1].front ? ends[i + 1].back : ends[i + 1].front;
    if (i >= 2 && i + 1 < n - 1 && end == ringStartFront) {
      // The ring is closed and lines remain: the next one starts a ring.
      multipleRings = true;
      ringStartFront = ends[i + 2].front;
      end = ends[i + 2].back;
      ++i;
    }
  }
  return multipleRings;
}

// Joins the chained lines named by "order" into one run of point indices;
// returns how often the chain broke.
template <typename Line>
size_t collectChain(const CadastralModel& model, std::span<const int32_t> order,
                    const PodVector<Line>& lines, std::vector<int32_t>& points) {
  points.clear();
  const size_t n = order.size();
  if (n == 0) return 0;
  auto line = [&](size_t k) { return model.pointIndicesOf(lines[static_cast<size_t>(order[k])]); };
  auto appendForwards = [&](std::span<const int32_t> part) {
    points.insert(points.end(), part.begin(), part.end());
  };
  auto appendBackwards = [&](std::span<const int32_t> part) {
    points.insert(points.end(), part.rbegin(), part.rend());
  };

  const std::span<const int32_t> first = line(0);
  if (n == 1) {
    appendForwards(first);
    return 0;
  }
  int32_t end;  // the point index where the chain is open
  const std::span<const int32_t> second = line(1);
  if (first.front() == second.front() || first.front() == second.back()) {
    appendBackwards(first);
    end = first.front();
  } else {
    appendForwards(first);
    end = first.back();
  }

  size_t breaks = 0;
  for (size_t k = 1; k < n; ++k) {
    const std::span<const int32_t> current = line(k);
    if (current.front() != end && current.back() != end) {
      ++breaks;
      // The chain breaks: a new ring starts with this line, from the end that
      // leads on to the next line.
      int32_t start = current.front();
      if (k + 1 < n) {
        const std::span<const int32_t> next = line(k + 1);
        if (current.front() == next.front() || current.front() == next.back()) {
          start = current.back();
        }
      }
      points.push_back(start);
      end = start;
    }
    if (current.front() == end) {
      appendForwards(current.subspan(1));
      end = current.back();
    } else {
      appendBackwards(current.first(current.size() - 1));
      end = current.front();
    }
  }
  return breaks;
}

// Where a record of several rings returns to the position of its ring's
// first point, and more points follow, a closed subpath ends and the next
// point begins another.
void findSubpaths(const CadastralModel& model, bool hasMultipleRings, BorderPath& path) {
  path.subpaths.clear();
  const auto n = static_cast<uint32_t>(path.points.size());
  if (n == 0) return;
  uint32_t first = 0;
  if (hasMultipleRings) {
    const Point* ringStart = &model.points[static_cast<size_t>(path.points[0])];
    for (uint32_t j = 1; j + 1 < n; ++j) {
      const Point& point = model.points[static_cast<size_t>(path.points[j])];
      if (point.x == ringStart->x && point.y == ringStart->y) {
        path.subpaths.push_back({first, j + 1 - first, true});
        first = j + 1;
        ringStart = &model.points[static_cast<size_t>(path.points[j + 1])];
        ++j;  // the new ring's first point is not looked at as a closure
      }
    }
  }
  path.subpaths.push_back({first, n - first, false});
}

// The loose ends of the lines named by "order", each counted once; with
// "circlesClose", a circle (three points, none missing) has none. "ends"
// serves as the only buffer: first the distinct lines, then after them the
// ends of their runs, of which the odd ones move to the front.
template <typename Line>
void looseEnds(const CadastralModel& model, std::span<const int32_t> order,
               const PodVector<Line>& lines, bool circlesClose, std::vector<int32_t>& ends) {
  ends.assign(order.begin(), order.end());
  std::sort(ends.begin(), ends.end());
  const auto lineCount = static_cast<size_t>(std::unique(ends.begin(), ends.end()) - ends.begin());
  ends.resize(lineCount);
  for (size_t k = 0; k < lineCount; ++k) {
    const Line& line = lines[static_cast<size_t>(ends[k])];
    const std::span<const int32_t> points = model.pointIndicesOf(line);
    if (circlesClose && isWholeCircle(points, line.shape)) continue;
    forEachRun(points,
               [&ends](std::span<const int32_t> run) {
                 ends.push_back(run.front());
                 ends.push_back(run.back());
               });
  }
  std::sort(ends.begin() + static_cast<std::ptrdiff_t>(lineCount), ends.end());
  size_t kept = 0;
  for (size_t i = lineCount; i < ends.size();) {
    size_t next = i;
    while (next < ends.size() && ends[next] == ends[i]) ++next;
    if ((next - i) % 2 == 1) ends[kept++] = ends[i];
    i = next;
  }
  ends.resize(kept);
}

}  // namespace

bool chainIntoRings(std::span<int32_t> lines, std::span<LineEnds> ends, ChainSearch how) {
  if (ends.empty()) return false;
  // Below this length a scan of the rest of the list beats building an index.
  constexpr size_t kIndexFrom = 48;
  if (how == ChainSearch::kIndexed || (how == ChainSearch::kAuto && ends.size() >= kIndexFrom)) {
    IndexedSearch search(ends);
    return chain(lines, ends, search);
  }
  ScanSearch search(ends);
  return chain(lines, ends, search);
}

size_t collectRingPath(const CadastralModel& model, const Parcel& parcel, BorderPath& path) {
  path.arcs.clear();
  const size_t breaks =
      collectChain(model, model.boundaryIndicesOf(parcel), model.parcelBoundaries, path.points);
  findSubpaths(model, model.ringLinesOf(parcel).hasMultipleRings, path);
  return breaks;
}

size_t collectRingPath(const CadastralModel& model, const Building& building, BorderPath& path) {
  path.arcs.clear();
  const size_t breaks =
      collectChain(model, model.polylineIndicesOf(building), model.generalPolylines, path.points);
  findSubpaths(model, model.ringLinesOf(building).hasMultipleRings, path);
  return breaks;
}

}  // namespace vorlane

namespace vorlane {

void findLooseEnds(const CadastralModel& model, const Parcel& parcel, std::vector<int32_t>& ends,
                   bool circlesClose) {
  looseEnds(model, model.boundaryIndicesOf(parcel), model.parcelBoundaries, circlesClose, ends);
}

void findLooseEnds(const CadastralModel& model, const Building& building,
                   std::vector<int32_t>& ends, bool circlesClose) {
  looseEnds(model, model.polylineIndicesOf(building), model.generalPolylines, circlesClose, ends);
}

}  // namespace vorlane
