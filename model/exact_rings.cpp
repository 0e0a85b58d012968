#include "model/exact_rings.h"

#include <algorithm>
#include <cmath>

#include "model/piece_chains.h"
#include "model/rings.h"

namespace vorlane {

namespace {

// A run of a line, to be chained: its points, and whether it is an arc of
// three points, drawn from the first to the last through the middle one.
struct Piece {
  std::span<const int32_t> points;
  bool arc = false;
};

// Twice the signed area of the triangle p q r: positive when r lies on the
// side of the line p q where angles grow.
double side(const Point& p, const Point& q, const Point& r) {
  return (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x);
}

struct Circle {
  Point centre;
  double radius = 0.0;
};

// The circle through three points; false when they lie on one line.
bool circleThrough(const Point& a, const Point& b, const Point& c, Circle& circle) {
  const double d = 2.0 * side(a, b, c);
  if (d == 0.0 || !std::isfinite(d)) return false;
  const double a2 = a.x * a.x + a.y * a.y;
  const double b2 = b.x * b.x + b.y * b.y;
  const double c2 = c.x * c.x + c.y * c.y;
  circle.centre.x = (a2 * (b.y - c.y) + b2 * (c.y - a.y) + c2 * (a.y - b.y)) / d;
  circle.centre.y = (a2 * (c.x - b.x) + b2 * (a.x - c.x) + c2 * (b.x - a.x)) / d;
  circle.radius = std::hypot(a.x - circle.centre.x, a.y - circle.centre.y);
  return std::isfinite(circle.radius);
}

class PathBuilder {
 public:
  PathBuilder(const CadastralModel& model, BorderPath& path) : model_(model), path_(path) {}

  void startSubpath(int32_t point) {
    path_.subpaths.push_back({static_cast<uint32_t>(path_.points.size()), 0, false});
    add(point);
  }

  void add(int32_t point) {
    path_.points.push_back(point);
    ++path_.subpaths.back().count;
  }

  // The step from the last point to "to" along the arc through "via".
  void addArc(int32_t via, int32_t to) {
    const Point& from = at(path_.points.back());
    Circle circle;
    if (!circleThrough(from, at(via), at(to), circle)) {
      add(via);  // three points on one line: straight through them
      add(to);
      return;
    }
    // The arc through "via" is the large one when "via" and the centre lie
    // on the same side of the chord.
    const bool large = side(from, at(to), at(via)) * side(from, at(to), circle.centre) > 0.0;
    addArcStep(to, circle.radius, large, side(from, at(via), at(to)) > 0.0);
  }

  // A whole circle through a b c, as three arcs in the direction a b c.
  void addCircle(int32_t a, int32_t b, int32_t c) {
    startSubpath(a);
    Circle circle;
    if (!circleThrough(at(a), at(b), at(c), circle)) {
      add(b);
      add(c);
      add(a);
    } else {
      const bool sweep = side(at(a), at(b), at(c)) > 0.0;
      const int32_t order[] = {a, b, c, a, b};
      for (int k = 0; k < 3; ++k) {
        // The arc from p to q that does not pass the third point r is the
        // large one when r and the centre lie on opposite sides of p q.
        const Point& p = at(order[k]);
        const Point& q = at(order[k + 1]);
        const bool large = side(p, q, at(order[k + 2])) * side(p, q, circle.centre) < 0.0;
        addArcStep(order[k + 1], circle.radius, large, sweep);
      }
    }
    path_.subpaths.back().closed = true;
  }

  // Closes the subpath when it returns to where it started.
  void endSubpath() {
    BorderPath::Subpath& subpath = path_.subpaths.back();
    const Point& first = at(path_.points[subpath.first]);
    const Point& last = at(path_.points.back());
    if (subpath.count > 1 && first.x == last.x && first.y == last.y) subpath.closed = true;
  }

  // Walks a piece on from the last point, which is its start.
  void addPiece(const Piece& piece, bool reversed) {
    const std::span<const int32_t> points = piece.points;
    if (piece.arc) {
      addArc(points[1], reversed ? points.front() : points.back());
      return;
    }
    if (reversed) {
      for (size_t k = points.size() - 1; k-- > 0;) add(points[k]);
    } else {
      for (size_t k = 1; k < points.size(); ++k) add(points[k]);
    }
  }

 private:
  const Point& at(int32_t point) const { return model_.points[static_cast<size_t>(point)]; }

  void addArcStep(int32_t to, double radius, bool large, bool sweep) {
    path_.arcs.push_back({static_cast<uint32_t>(path_.points.size()), radius, large, sweep});
    add(to);
  }

  const CadastralModel& model_;
  BorderPath& path_;
};

// The pieces of a line: its runs, or the whole line when it is an arc;
// circles go to "circles".
void addPieces(std::span<const int32_t> points, LineShape shape, std::vector<Piece>& pieces,
               std::vector<std::span<const int32_t>>& circles) {
  if (isWholeCircle(points, shape)) {
    circles.push_back(points);
  } else if (shape == LineShape::kArc && points.size() == 3 && hasEveryPoint(points)) {
    pieces.push_back({points, true});
  } else {
    forEachRun(points, [&pieces](std::span<const int32_t> run) { pieces.push_back({run, false}); });
  }
}

// The working memory of one thread's paths, kept from path to path: a
// drawing collects one or two paths for each of its parcels and buildings.
struct Scratch {
  std::vector<int32_t> lines;  // a record's lines, each once, in the order first listed
  std::vector<int32_t> sorted;
  std::vector<bool> taken;
  std::vector<Piece> pieces;
  std::vector<std::span<const int32_t>> circles;
  std::vector<LineEnds> ends;
  PieceChainer chainer;
};

Scratch& scratch() {
  thread_local Scratch kept;
  return kept;
}

// Up to this many lines, comparing each with those before it costs less
// than sorting them.
constexpr size_t kComparedLines = 16;

// Lists the lines of "order" in kept.lines, each once, in the order first listed.
void listLinesOnce(std::span<const int32_t> order, Scratch& kept) {
  kept.lines.clear();
  if (order.size() <= kComparedLines) {
    for (auto line = order.begin(); line != order.end(); ++line) {
      if (std::find(order.begin(), line, *line) == line) kept.lines.push_back(*line);
    }
    return;
  }
  kept.sorted.assign(order.begin(), order.end());
  std::sort(kept.sorted.begin(), kept.sorted.end());
  kept.sorted.erase(std::unique(kept.sorted.begin(), kept.sorted.end()), kept.sorted.end());
  kept.taken.assign(kept.sorted.size(), false);
  for (const int32_t line : order) {
    const auto at = static_cast<size_t>(
        std::lower_bound(kept.sorted.begin(), kept.sorted.end(), line) - kept.sorted.begin());
    if (kept.taken[at]) continue;
    kept.taken[at] = true;
    kept.lines.push_back(line);
  }
}

// Chains the pieces into subpaths, each piece once.
void chainPieces(const std::vector<Piece>& pieces, PathBuilder& builder, Scratch& scratch) {
  scratch.ends.clear();
  for (const Piece& piece : pieces) {
    scratch.ends.push_back({piece.points.front(), piece.points.back()});
  }
  scratch.chainer.chain(scratch.ends);
  const std::vector<ChainStep>& steps = scratch.chainer.steps();
  uint32_t first = 0;
  for (const uint32_t end : scratch.chainer.chainEnds()) {
    const ChainStep& start = steps[first];
    const Piece& startPiece = pieces[start.piece];
    builder.startSubpath(start.reversed ? startPiece.points.back() : startPiece.points.front());
    for (uint32_t k = first; k < end; ++k) {
      builder.addPiece(pieces[steps[k].piece], steps[k].reversed);
    }
    builder.endSubpath();
    first = end;
  }
}

// Whether a line is one piece of its own, as addPieces makes it: no point
// missing, two points at least, and no circle.
bool isWholePiece(std::span<const int32_t> points, LineShape shape) {
  return points.size() >= 2 && hasEveryPoint(points) && !isWholeCircle(points, shape);
}

// The path of lines stored as one exact ring: from the first line's start,
// each line walked on from where the one before it ended (from its front
// where both its ends are there, as the chaining took it).
template <typename Line>
void walkOneRing(const CadastralModel& model, std::span<const int32_t> order,
                 const PodVector<Line>& lines, BorderPath& path) {
  PathBuilder builder(model, path);
  int32_t end = model.pointIndicesOf(lines[static_cast<size_t>(order.front())]).front();
  builder.startSubpath(end);
  for (const int32_t line : order) {
    const Line& record = lines[static_cast<size_t>(line)];
    const std::span<const int32_t> points = model.pointIndicesOf(record);
    const Piece piece{points, points.size() == 3 && record.shape == LineShape::kArc};
    const bool reversed = points.front() != end;
    builder.addPiece(piece, reversed);
    end = reversed ? points.front() : points.back();
  }
  builder.endSubpath();
}

template <typename Line>
void collectBorder(const CadastralModel& model, const RingLines& ring,
                   const PodVector<int32_t>& lineLists, const PodVector<Line>& lines,
                   BorderPath& path) {
  path.clear();
  const std::span<const int32_t> order = slice(lineLists, ring.range());
  if (ring.oneExactRing) {
    walkOneRing(model, order, lines, path);
    return;
  }
  Scratch& kept = scratch();
  kept.pieces.clear();
  kept.circles.clear();
  listLinesOnce(order, kept);
  for (const int32_t line : kept.lines) {
    const Line& record = lines[static_cast<size_t>(line)];
    addPieces(model.pointIndicesOf(record), record.shape, kept.pieces, kept.circles);
  }
  PathBuilder builder(model, path);
  chainPieces(kept.pieces, builder, kept);
  for (const std::span<const int32_t> circle : kept.circles) {
    builder.addCircle(circle[0], circle[1], circle[2]);
  }
}

// Stores the lines of each record that make one closed chain of whole lines
// as that chain walks them, each once.
template <typename Line>
void chainAllExactly(const CadastralModel& model, PodVector<RingLines>& rings,
                     PodVector<int32_t>& lineLists, const PodVector<Line>& lines) {
  Scratch& kept = scratch();
  for (RingLines& ring : rings) {
    const std::span<int32_t> order = slice(lineLists, ring.range());
    if (order.empty()) continue;
    listLinesOnce(order, kept);
    kept.ends.clear();
    bool whole = true;
    for (const int32_t line : kept.lines) {
      const Line& record = lines[static_cast<size_t>(line)];
      const std::span<const int32_t> points = model.pointIndicesOf(record);
      if (!isWholePiece(points, record.shape)) {
        whole = false;
        break;
      }
      kept.ends.push_back({points.front(), points.back()});
    }
    if (!whole) continue;
    kept.chainer.chain(kept.ends);
    const std::vector<ChainStep>& steps = kept.chainer.steps();
    const ChainStep& last = steps.back();
    const int32_t lastEnd =
        last.reversed ? kept.ends[last.piece].front : kept.ends[last.piece].back;
    if (kept.chainer.chainEnds().size() != 1 || lastEnd != kept.ends[0].front) continue;
    for (size_t k = 0; k < steps.size(); ++k) order[k] = kept.lines[steps[k].piece];
    // The lines, each once: no more than were listed.
    ring.count = static_cast<uint32_t>(steps.size()) & RingLines::kCountMask;
    ring.oneExactRing = 1;
  }
}

}  // namespace

void collectExactPath(const CadastralModel& model, const Parcel& parcel, BorderPath& path) {
  collectBorder(model, model.ringLinesOf(parcel), model.parcelBoundaryIndices,
                model.parcelBoundaries, path);
}

void collectExactPath(const CadastralModel& model, const Building& building, BorderPath& path) {
  collectBorder(model, model.ringLinesOf(building), model.buildingPolylineIndices,
                model.generalPolylines, path);
}

void chainExactRings(CadastralModel& model) {
  chainAllExactly(model, model.parcelRingLines, model.parcelBoundaryIndices,
                  model.parcelBoundaries);
  chainAllExactly(model, model.buildingRingLines, model.buildingPolylineIndices,
                  model.generalPolylines);
}

void appendExactLine(const CadastralModel& model, std::span<const int32_t> points, LineShape shape,
                     BorderPath& path) {
  Scratch& kept = scratch();
  std::vector<Piece>& pieces = kept.pieces;
  std::vector<std::span<const int32_t>>& circles = kept.circles;
  pieces.clear();
  circles.clear();
  addPieces(points, shape, pieces, circles);
  PathBuilder builder(model, path);
  for (const Piece& piece : pieces) {
    builder.startSubpath(piece.points.front());
    builder.addPiece(piece, false);
    builder.endSubpath();
  }
  for (const std::span<const int32_t> circle : circles) {
    builder.addCircle(circle[0], circle[1], circle[2]);
  }
}

}  // namespace vorlane
