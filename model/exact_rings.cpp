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
  const bool whole = points.size() == 3 &&
                     std::none_of(points.begin(), points.end(), [](int32_t p) { return p < 0; });
  if (whole && shape == LineShape::kCircle) {
    circles.push_back(points);
  } else if (whole && shape == LineShape::kArc) {
    pieces.push_back({points, true});
  } else {
    forEachRun(points, [&pieces](std::span<const int32_t> run) { pieces.push_back({run, false}); });
  }
}

// The working memory of one thread's paths, kept from path to path: a
// drawing collects one or two paths for each of its parcels and buildings.
struct Scratch {
  std::vector<int32_t> distinct;
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

// Up to this many lines, comparing each with those before it costs less
// than sorting them.
constexpr size_t kComparedLines = 16;

template <typename Line>
void collectBorder(const CadastralModel& model, std::span<const int32_t> order,
                   const PodVector<Line>& lines, BorderPath& path) {
  path.clear();
  Scratch& kept = scratch();
  std::vector<Piece>& pieces = kept.pieces;
  std::vector<std::span<const int32_t>>& circles = kept.circles;
  pieces.clear();
  circles.clear();
  auto addLine = [&](int32_t line) {
    const Line& record = lines[static_cast<size_t>(line)];
    addPieces(model.pointIndicesOf(record), record.shape, pieces, circles);
  };
  // Each line once, in the order first listed: a few lines are compared
  // with those before them, many are looked up among them sorted.
  if (order.size() <= kComparedLines) {
    for (auto line = order.begin(); line != order.end(); ++line) {
      if (std::find(order.begin(), line, *line) == line) addLine(*line);
    }
  } else {
    std::vector<int32_t>& distinct = kept.distinct;
    distinct.assign(order.begin(), order.end());
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    std::vector<bool>& taken = kept.taken;
    taken.assign(distinct.size(), false);
    for (const int32_t line : order) {
      const auto at = static_cast<size_t>(
          std::lower_bound(distinct.begin(), distinct.end(), line) - distinct.begin());
      if (taken[at]) continue;
      taken[at] = true;
      addLine(line);
    }
  }
  PathBuilder builder(model, path);
  chainPieces(pieces, builder, kept);
  for (const std::span<const int32_t> circle : circles) {
    builder.addCircle(circle[0], circle[1], circle[2]);
  }
}

}  // namespace

void collectExactPath(const CadastralModel& model, const Parcel& parcel, BorderPath& path) {
  collectBorder(model, model.boundaryIndicesOf(parcel), model.parcelBoundaries, path);
}

void collectExactPath(const CadastralModel& model, const Building& building, BorderPath& path) {
  collectBorder(model, model.polylineIndicesOf(building), model.generalPolylines, path);
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
