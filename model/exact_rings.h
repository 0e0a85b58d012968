// The paths of the exact drawing: every segment a record's lines hold, once,
// and no segment they do not hold. A line is drawn in its runs of points
// between the points the file lacks; arcs and circles as arcs. The runs of a
// parcel's or building's lines are joined where they share a point into
// chains that run on as far as they can, a chain that returns to its first
// point drawn closed. So holes, islands and rings that touch at a point are
// drawn with all their segments, and a border cut open stays open.
#ifndef VORLANE_MODEL_EXACT_RINGS_H_
#define VORLANE_MODEL_EXACT_RINGS_H_

#include "model/border_path.h"
#include "model/cadastral_model.h"

namespace vorlane {

// Fills "path" (emptied first) with the border of one parcel or building:
// its lines, each once however often the record lists it, chained. The
// chains start with the lines in the order the record lists them; where a
// chain can go on along several lines, it takes the first listed.
void collectExactPath(const CadastralModel& model, const Parcel& parcel, BorderPath& path);
void collectExactPath(const CadastralModel& model, const Building& building, BorderPath& path);

// For the exact drawing's resolution, once the lines' missing points are
// gaps: chains the lines of each parcel and building as collectExactPath
// does, and where that makes one closed chain of whole lines (the border of
// most), lists them as that chain walks them, each once, and marks the
// record (RingLines::oneExactRing), so that collectExactPath walks them as
// they stand instead of chaining them again. Each path stays as it was.
void chainExactRings(CadastralModel& model);

// Appends one line to "path": each of its runs as a subpath, closed when it
// returns to the position it started from.
void appendExactLine(const CadastralModel& model, std::span<const int32_t> points, LineShape shape,
                     BorderPath& path);

}  // namespace vorlane

#endif  // VORLANE_MODEL_EXACT_RINGS_H_
