// The layers of lines: parcel borders, soil-valuation (BPEJ) unit borders with
// their codes, the cadastral-area border, building outlines, and the map
// elements (free texts and inner drawing lines).
#ifndef VORLANE_SVG_BOUNDARY_LAYERS_H_
#define VORLANE_SVG_BOUNDARY_LAYERS_H_

#include <vector>

#include "svg/svg_output.h"
#include "vfk/vfk_parser.h"

namespace vorlane {

// Points to draw, in drawing order; they point into VfkParser::points.
using RingPoints = std::vector<const Point*>;

// Empties "points" and fills it with the record's lines joined end to end in
// their chained order, each oriented to continue the one before, the shared
// point of two lines written once. Where the chain breaks, the next line is
// started from the end that leads on to the line after it. Returns the
// number of points.
int collectRingPoints(const Parcel& parcel, RingPoints& points);
int collectRingPoints(const Building& building, RingPoints& points);

// Appends the unit's boundaries, in the order they were added, to "lines";
// returns the number appended.
int collectBpejPolylines(const BpejArea& area, std::vector<const Boundary*>& lines);

void writeParcelBorders(const VfkParser& model, SvgOutput& out);
void writeBpejBorders(const VfkParser& model, SvgOutput& out);
void writeCadastralAreaBorder(const VfkParser& model, SvgOutput& out);
void writeBuildingBorders(const VfkParser& model, SvgOutput& out);
void writeMapElements(const VfkParser& model, SvgOutput& out);

}  // namespace vorlane

#endif  // VORLANE_SVG_BOUNDARY_LAYERS_H_
