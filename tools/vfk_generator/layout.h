// The cadastral area the generator draws: survey points, parcels and their
// boundaries, buildings, soil-valuation (BPEJ) units and map elements. The
// layout is made first, whole; the block writers then only format it.
//
// The area is a jittered grid of cells. Parcels are rectangles of cells,
// road rows and columns, and streams winding down between the roads; a few
// small parcels lie inside a cell of another parcel, which then has a hole.
#ifndef VORLANE_TOOLS_VFK_GENERATOR_LAYOUT_H_
#define VORLANE_TOOLS_VFK_GENERATOR_LAYOUT_H_

#include <cstdint>
#include <vector>

#include "tools/vfk_generator/geometry.h"

namespace vfkgen {

// Land use: decides the land type, the usage and the map symbol.
enum class Use : uint8_t {
  kArable,
  kHopField,
  kVineyard,
  kGarden,
  kOrchard,
  kMeadow,
  kPasture,
  kForest,
  kPark,
  kCemetery,
  kBarren,
  kMonument,
  kYard,
  kOtherArea,
  kRoad,
  kStream,
  kPond,
  kBuildingPlot,
};

struct UseCodes {
  int landType;  // DRUPOZ_KOD
  int usage;     // ZPVYPA_KOD; 0 for none
  int symbol;    // TYPPPD_KOD of the land-use symbol; 0 for none
};
UseCodes useCodes(Use use);

// A text or symbol placement. Angles are in ten-thousandths of a gon.
struct Placement {
  Coord at;
  int32_t angle = 0;
  int reference = 1;  // VZTAZNY_BOD; 0 writes an empty value
};

struct Parcel {
  Use use = Use::kArable;
  bool buildingPlot = false;  // numbered in the building-plot series
  int stem = 0;               // parcel number: stem, and subdivision when not 0
  int subdivision = 0;
  Placement number;
  int symbol = 0;  // TYPPPD_KOD of the land-use symbol, 0 for none
  Coord symbolAt;
  bool hasArrow = false;  // a number placed outside (PPC) with an arrow (SPC)
  Placement extraNumber;
  Placement arrow;
  int64_t areaSquareMetres = 0;
  int cellCount = 0;
  int building = -1;  // the building standing on a building plot
  int host = -1;      // for a parcel inside another: the one around it
  int hole = -1;      // for a parcel with a hole: the parcel inside
  int sheet = 0;      // ownership sheet (TEL), an index
};

// One parcel boundary (HP): a polyline through survey points.
struct ParcelLine {
  std::vector<int> points;  // indices into Layout::points
  int parcel1 = -1;
  int parcel2 = -1;          // -1 on the edge of the area
  int typeCode = 21900;
  bool ordinalsBackwards = false;  // its SBP rows are written last point first
};

struct Building {
  std::vector<int> corners;             // the outline, a ring of survey points
  std::vector<std::vector<int>> lines;  // the outline split into OB lines
  int parcel = -1;
  int typeCode = 1;     // TYPBUD_KOD
  int houseNumber = 0;  // 0 for none
  int symbol = 404;     // TYPPPD_KOD of the building symbol
  Coord symbolAt;
  Coord numberAt;
};

struct BpejUnit {
  int code = 0;  // five digits
  Coord label;
};

// A soil-valuation unit border, with coordinates of its own (SBM rows).
struct BpejBorder {
  std::vector<Coord> points;
  int unit1 = -1;
  int unit2 = -1;  // -1 on the edge of the area
};

struct MapText {
  int name = 0;  // index into Vocabulary::fieldNames, or -1 for the area's name
  Placement at;
  int typeCode = 1009;
  int size = 44;  // VELIKOST in tenths
};

struct Layout {
  std::vector<Coord> points;
  std::vector<Parcel> parcels;
  std::vector<ParcelLine> lines;  // in file order
  std::vector<Building> buildings;
  std::vector<BpejUnit> bpejUnits;
  std::vector<BpejBorder> bpejBorders;
  std::vector<MapText> mapTexts;
  std::vector<std::vector<int>> innerLines;  // map lines 21800, through survey points
  std::vector<std::vector<int>> easements;   // easement lines (ZVB), through survey points
  std::vector<int> boundaryMarks;            // survey points with a boundary mark
  std::vector<int> definitionPoints;         // parcels with a definition point (OBDEBO)
  int sheetCount = 1;
  Coord northWest;  // the extent of the grid
  Coord southEast;
};

// A layout with about "targetParcels" parcels; the same arguments always
// give the same layout.
Layout makeLayout(uint64_t seed, int targetParcels);

// Angles: integral degrees, as a real export stores them, in 1e-4 gon.
int32_t degreesToGon(int degrees);

}  // namespace vfkgen

#endif  // VORLANE_TOOLS_VFK_GENERATOR_LAYOUT_H_
