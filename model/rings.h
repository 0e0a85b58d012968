// Rings: how the lines of one parcel or building become its border. Two
// steps, both here:
//  - chaining (resolveGeometry): the record's list of lines is reordered so
//    that each line continues from the open end of the chain before it, a
//    new ring starting where the chain closes or breaks;
//  - the ring path (for the writer of the standard drawing): the chained
//    lines are turned to run on from each other and joined into one sequence
//    of points, split into subpaths where a ring of a record of several rings
//    closes.
// The exact drawing's paths are found in exact_rings.h.
// Lines always meet by point index, never by position.
#ifndef VORLANE_MODEL_RINGS_H_
#define VORLANE_MODEL_RINGS_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "model/border_path.h"
#include "model/cadastral_model.h"

namespace vorlane {

// The first and the last point index of a line.
struct LineEnds {
  int32_t front = 0;
  int32_t back = 0;
};

// How the next line of a chain is looked for (here, and for the exact
// drawing's pieces in piece_chains.h). Both find the same line: the first, in
// list order, after the current position that has the chain's open end at
// its front or back.
enum class ChainSearch {
  kScan,     // walk the rest of the list: quadratic, but fastest for short lists
  kIndexed,  // look the point up in an index of line ends: n log n
  kAuto,     // kScan for short lists, kIndexed for long ones
};

// Reorders a record's lines in place: "lines" holds their line indices and
// "ends" their ends, position by position; both are permuted alike. Each
// step takes the first matching line in list order. Where no later line
// continues the chain, or where a ring closes (looked for from the third line
// on) while lines remain, a new ring starts with the next line in the list.
// Returns true when the result has more than one ring or breaks.
// REQUIRES: lines.size() == ends.size().
bool chainIntoRings(std::span<int32_t> lines, std::span<LineEnds> ends,
                    ChainSearch how = ChainSearch::kAuto);

// Fills "path" (emptied first) with the border of one parcel or building
// in the standard drawing, from its chained lines: lines are turned so that
// each continues from where the one before ended, their shared point listed
// once; where the chain breaks, the next line starts from the end that leads
// on to the line after it. For a record of several rings (hasMultipleRings)
// a subpath ends, closed, where a point returns to the position of its
// ring's first point and more points follow; the last one is not closed.
// Returns how often the chain broke: where it did not, every step of the
// path is a step of one of the lines.
size_t collectRingPath(const CadastralModel& model, const Parcel& parcel, BorderPath& path);
size_t collectRingPath(const CadastralModel& model, const Building& building, BorderPath& path);

// Whether none of a line's points is missing (-1).
inline bool hasEveryPoint(std::span<const int32_t> points) {
  return std::none_of(points.begin(), points.end(), [](int32_t p) { return p < 0; });
}

// Whether a line is a circle drawn whole: its shape says so, and it has its
// three points, none missing.
inline bool isWholeCircle(std::span<const int32_t> points, LineShape shape) {
  return shape == LineShape::kCircle && points.size() == 3 && hasEveryPoint(points);
}

// Calls visit(run) for each run of a line's points between missing ones
// (-1), of two points or more, in order: the parts of the line that can be
// drawn.
template <typename Visit>
void forEachRun(std::span<const int32_t> points, const Visit& visit) {
  size_t start = 0;
  for (size_t i = 0; i <= points.size(); ++i) {
    if (i < points.size() && points[i] >= 0) continue;
    if (i >= start + 2) visit(points.subspan(start, i - start));
    start = i + 1;
  }
}

// The loose ends of a record's border, in ascending point index: the points
// where an odd number of the runs of its lines end, each line counted once
// however often the record lists it. A border whose lines close has none;
// with "circlesClose" (the exact drawing, which draws circles round), a
// circle's line has none either.
void findLooseEnds(const CadastralModel& model, const Parcel& parcel, std::vector<int32_t>& ends,
                   bool circlesClose = false);
void findLooseEnds(const CadastralModel& model, const Building& building,
                   std::vector<int32_t>& ends, bool circlesClose = false);

}  // namespace vorlane

#endif  // VORLANE_MODEL_RINGS_H_
