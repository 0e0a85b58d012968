// A border or line as a writer draws it: points of the model in drawing
// order, cut into subpaths, each of which may close, and the steps between
// points that are circular arcs rather than straight segments.
#ifndef VORLANE_MODEL_BORDER_PATH_H_
#define VORLANE_MODEL_BORDER_PATH_H_

#include <cstdint>
#include <span>
#include <vector>

namespace vorlane {

struct BorderPath {
  struct Subpath {
    uint32_t first = 0;   // its first point in "points"
    uint32_t count = 0;   // its points
    bool closed = false;  // drawn closed after its last point
  };
  // The step to points[to] is a circular arc of "radius" rather than a
  // straight segment: the large or the small one of the two arcs between
  // its ends, turning with ("sweep") or against the direction of growing
  // angles, which in the drawing's y-down view is clockwise.
  struct Arc {
    uint32_t to = 0;
    double radius = 0.0;
    bool largeArc = false;
    bool sweep = false;
  };

  std::vector<int32_t> points;  // indices in CadastralModel::points
  std::vector<Subpath> subpaths;
  std::vector<Arc> arcs;  // in the order of their "to"

  void clear() {
    points.clear();
    subpaths.clear();
    arcs.clear();
  }
  bool empty() const { return points.empty(); }
  std::span<const int32_t> pointsOf(const Subpath& subpath) const {
    return std::span<const int32_t>(points).subspan(subpath.first, subpath.count);
  }
  // The segments drawn: straight or arc steps from point to point. (A
  // subpath is closed only where its last point lies on its first, so its
  // closing adds nothing.)
  int64_t segmentCount() const;
};

inline int64_t BorderPath::segmentCount() const {
  int64_t segments = 0;
  for (const Subpath& subpath : subpaths) {
    if (subpath.count > 0) segments += subpath.count - 1;
  }
  return segments;
}

}  // namespace vorlane

#endif  // VORLANE_MODEL_BORDER_PATH_H_
