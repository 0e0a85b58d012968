#include "model/parcel_checks.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "model/exact_rings.h"
#include "model/rings.h"

namespace vorlane {

namespace {

// The circle an arc step of a path runs on, and the angle it turns through:
// positive in the direction of growing angles (sweep), negative against it.
struct ArcTurn {
  Point centre;
  double radius = 0.0;
  double start = 0.0;  // the angle of "from" about the centre
  double turn = 0.0;
};

ArcTurn turnOf(const Point& from, const Point& to, const BorderPath::Arc& arc) {
  const double dx = to.x - from.x;
  const double dy = to.y - from.y;
  const double chord = std::hypot(dx, dy);
  ArcTurn turn;
  turn.radius = std::max(arc.radius, chord / 2);
  const double half = chord / 2;
  const double small = 2 * std::asin(std::min(1.0, half / turn.radius));
  const double angle = arc.largeArc ? 2 * std::numbers::pi - small : small;
  turn.turn = arc.sweep ? angle : -angle;
  // An arc that turns with growing angles has its centre on the left of its
  // chord when it is the small one, on the right when it is the large one.
  const double away = std::sqrt(std::max(0.0, turn.radius * turn.radius - half * half));
  const double side = arc.sweep == !arc.largeArc ? 1.0 : -1.0;
  const Point left = chord > 0 ? Point{-dy / chord, dx / chord} : Point{0, 0};
  turn.centre = Point{(from.x + to.x) / 2 + side * away * left.x,
                      (from.y + to.y) / 2 + side * away * left.y};
  turn.start = std::atan2(from.y - turn.centre.y, from.x - turn.centre.x);
  return turn;
}

// A closed subpath as a polygon: its points, with the arcs' courses as
// points sixteen to a turn (close enough to tell inside from outside), and
// its area, signed, positive where it runs with growing angles, the arcs'
// areas exact.
struct Ring {
  std::vector<Point> polygon;
  double area = 0.0;
};

// Fills "rings" (emptied first; its vectors' storage is kept for the next).
void closedRings(const CadastralModel& model, const BorderPath& path, std::vector<Ring>& rings) {
  size_t used = 0;
  auto arc = path.arcs.begin();
  for (const BorderPath::Subpath& subpath : path.subpaths) {
    const uint32_t end = subpath.first + subpath.count;
    if (!subpath.closed || subpath.count < 3) {
      while (arc != path.arcs.end() && arc->to < end) ++arc;
      continue;
    }
    if (used == rings.size()) rings.emplace_back();
    Ring& ring = rings[used++];
    ring.polygon.clear();
    double twice = 0.0;
    for (uint32_t k = subpath.first; k < end; ++k) {
      const Point& at = model.points[static_cast<size_t>(path.points[k])];
      const uint32_t next = k + 1 < end ? k + 1 : subpath.first;
      const Point& to = model.points[static_cast<size_t>(path.points[next])];
      twice += at.x * to.y - to.x * at.y;
      ring.polygon.push_back(at);
      if (arc != path.arcs.end() && arc->to == next && next != subpath.first) {
        const ArcTurn turn = turnOf(at, to, *arc);
        // The part between the arc and its chord: r²/2 (θ - sin θ).
        const double angle = std::abs(turn.turn);
        const double segment = turn.radius * turn.radius / 2 * (angle - std::sin(angle));
        twice += 2 * (turn.turn > 0 ? segment : -segment);
        for (int step = 1; step < 16; ++step) {
          const double a = turn.start + turn.turn * step / 16;
          ring.polygon.push_back(Point{turn.centre.x + turn.radius * std::cos(a),
                                       turn.centre.y + turn.radius * std::sin(a)});
        }
        ++arc;
      }
    }
    ring.area = twice / 2;
  }
  rings.resize(used);
}

bool inside(const std::vector<Point>& polygon, const Point& point) {
  bool in = false;
  for (size_t k = 0, last = polygon.size() - 1; k < polygon.size(); last = k++) {
    const Point& a = polygon[k];
    const Point& b = polygon[last];
    if ((a.y > point.y) != (b.y > point.y) &&
        point.x < a.x + (point.y - a.y) * (b.x - a.x) / (b.y - a.y)) {
      in = !in;
    }
  }
  return in;
}

bool insideAny(const std::vector<Ring>& rings, const Point& point) {
  bool in = false;
  for (const Ring& ring : rings) in ^= inside(ring.polygon, point);
  return in;
}

bool allClosed(const BorderPath& path) {
  return !path.subpaths.empty() &&
         std::all_of(path.subpaths.begin(), path.subpaths.end(),
                     [](const BorderPath::Subpath& subpath) { return subpath.closed; });
}

double enclosedArea(const CadastralModel& model, const BorderPath& path, std::vector<Ring>& rings) {
  closedRings(model, path, rings);
  double area = 0.0;
  for (size_t k = 0; k < rings.size(); ++k) {
    // A ring's depth: the other rings around the middle of its first side.
    const Point& a = rings[k].polygon[0];
    const Point& b = rings[k].polygon[1];
    const Point middle{(a.x + b.x) / 2, (a.y + b.y) / 2};
    int depth = 0;
    for (size_t other = 0; other < rings.size(); ++other) {
      if (other != k && inside(rings[other].polygon, middle)) ++depth;
    }
    area += depth % 2 == 0 ? std::abs(rings[k].area) : -std::abs(rings[k].area);
  }
  return area;
}

}  // namespace

double enclosedArea(const CadastralModel& model, const BorderPath& path) {
  std::vector<Ring> rings;
  return enclosedArea(model, path, rings);
}

bool encloses(const CadastralModel& model, const BorderPath& path, const Point& point) {
  std::vector<Ring> rings;
  closedRings(model, path, rings);
  return insideAny(rings, point);
}

// The limit of the cadastral decree (Vyhláška č. 357/2013 Sb., příloha, the
// limits for areas) for a parcel whose points are of quality code 3:
// δP = 2 (0.3 √P + 0.0002 P), P the registered area in m².
double areaTolerance(double area) { return 2 * (0.3 * std::sqrt(area) + 0.0002 * area); }

void reportParcelChecks(const CadastralModel& model, Diagnostics& diagnostics) {
  const bool areas = diagnostics.wants(FindingKind::kAreaMismatch);
  const bool numbers = diagnostics.wants(FindingKind::kNumberOutsideParcel);
  const bool unnumbered = diagnostics.wants(FindingKind::kParcelWithoutNumber);
  if (!areas && !numbers && !unnumbered) return;
  BorderPath path;
  std::vector<Ring> rings;
  std::string name;
  for (const Parcel& parcel : model.parcels) {
    const ParcelRecord* record = model.recordOf(parcel);
    if (record == nullptr) continue;  // a neighbour's fragment
    auto report = [&](Finding finding) {
      name = model.cadastralNameOf(parcel);
      finding.subject = model.text(parcel.id);
      finding.name = name;
      diagnostics.report(finding);
    };
    if (parcel.numberLabel.text.empty() && unnumbered) {
      report(Finding{.kind = FindingKind::kParcelWithoutNumber});
    }
    const TextLabel& number = parcel.numberLabel;
    const bool checkNumber =
        numbers && number.placed && !number.text.empty() && model.arrowsOf(parcel).empty();
    const bool checkArea = areas && record->area > 0;
    if (!checkNumber && !checkArea) continue;
    collectExactPath(model, parcel, path);
    if (!allClosed(path)) continue;
    if (checkArea) {
      const double area = enclosedArea(model, path, rings);
      const double tolerance = areaTolerance(static_cast<double>(record->area));
      if (std::abs(std::round(area) - static_cast<double>(record->area)) > tolerance) {
        report(Finding{.kind = FindingKind::kAreaMismatch,
                       .number = record->area,
                       .measure = area,
                       .limit = tolerance});
      }
    } else {
      closedRings(model, path, rings);
    }
    const Point at{number.x, number.y};
    if (checkNumber && !insideAny(rings, at)) {
      report(Finding{.kind = FindingKind::kNumberOutsideParcel,
                     .places = std::span<const Point>(&at, 1)});
    }
  }
}

namespace {

// The steps between points that the lines of an area join, smaller index
// first; kept from area to area so that its memory is reused.
using HeldSteps = std::vector<std::pair<int32_t, int32_t>>;

// Reports the steps of "path" between points that no line of "lines" joins,
// naming "parcel" as the cadastre does (no name for a building's outline).
void reportChords(const CadastralModel& model, const BorderPath& path,
                  std::span<const std::span<const int32_t>> lines, LineKind kind,
                  std::string_view id, const Parcel* parcel, HeldSteps& held,
                  Diagnostics& diagnostics) {
  held.clear();
  for (const std::span<const int32_t> line : lines) {
    for (size_t k = 1; k < line.size(); ++k) {
      held.emplace_back(std::min(line[k - 1], line[k]), std::max(line[k - 1], line[k]));
    }
  }
  std::sort(held.begin(), held.end());
  for (const BorderPath::Subpath& subpath : path.subpaths) {
    const std::span<const int32_t> points = path.pointsOf(subpath);
    for (size_t k = 1; k < points.size(); ++k) {
      const std::pair step{std::min(points[k - 1], points[k]), std::max(points[k - 1], points[k])};
      if (std::binary_search(held.begin(), held.end(), step)) continue;
      const Point ends[] = {model.points[static_cast<size_t>(points[k - 1])],
                            model.points[static_cast<size_t>(points[k])]};
      const double length = std::hypot(ends[1].x - ends[0].x, ends[1].y - ends[0].y);
      if (length == 0.0) continue;  // two points at one place: nothing is drawn
      const std::string name = parcel != nullptr ? model.cadastralNameOf(*parcel) : "";
      diagnostics.report(Finding{.kind = FindingKind::kChordDrawn,
                                 .line = kind,
                                 .subject = id,
                                 .name = name,
                                 .measure = length,
                                 .places = ends});
    }
  }
}

}  // namespace

void reportDrawnChords(const CadastralModel& model, Diagnostics& diagnostics) {
  if (!diagnostics.wants(FindingKind::kChordDrawn)) return;
  BorderPath path;
  std::vector<std::span<const int32_t>> lines;
  HeldSteps held;
  for (const Parcel& parcel : model.parcels) {
    if (parcel.numberLabel.text.empty()) continue;  // not drawn
    if (collectRingPath(model, parcel, path) == 0) continue;  // every step a line's
    lines.clear();
    for (const int32_t line : model.boundaryIndicesOf(parcel)) {
      lines.push_back(model.pointIndicesOf(model.parcelBoundaries[static_cast<size_t>(line)]));
    }
    reportChords(model, path, lines, LineKind::kParcelBoundary, model.text(parcel.id), &parcel,
                 held, diagnostics);
  }
  for (const Building& building : model.buildings) {
    if (collectRingPath(model, building, path) == 0) continue;
    lines.clear();
    for (const int32_t line : model.polylineIndicesOf(building)) {
      lines.push_back(model.pointIndicesOf(model.generalPolylines[static_cast<size_t>(line)]));
    }
    reportChords(model, path, lines, LineKind::kBuildingOutline, model.text(building.id),
                 nullptr, held, diagnostics);
  }
}

}  // namespace vorlane
