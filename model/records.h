// The records of the cadastral model: what the reader fills and the writer
// draws. Geometry is held by index: a line is a list of indices into the one
// vector of points, and an area is a list of indices into its line vector.
#ifndef VORLANE_MODEL_RECORDS_H_
#define VORLANE_MODEL_RECORDS_H_

#include <cfloat>
#include <memory>
#include <string>
#include <vector>

namespace vorlane {

class VfkParser;

// Coordinates everywhere in the model are the file's, negated and swapped:
// x = -SOURADNICE_Y and y = -SOURADNICE_X.
struct Point {
  double x = 0.0;
  double y = 0.0;
};

// Position k holds the index in VfkParser::points of the point with ordinal
// number k + 1. While a file is read, -1 marks an ordinal no row supplied.
using PointList = std::vector<int>;

// One text or symbol placement from a label row (blocks OP, OB, OBPEJ, DPM).
struct TextLabel {
  float angle = 0.0f;      // degrees: the file's gon value times 0.9
  int referencePoint = 1;  // VZTAZNY_BOD: selects anchor and baseline
  std::string text;
  double x = 0.0;
  double y = 0.0;
  float size = 1.0f;  // VELIKOST
  int typeCode = 0;   // TYPPPD_KOD; for a symbol label, the symbol to place
};

// A line between two areas: a parcel boundary (HP) or a BPEJ boundary (HBPEJ).
struct Boundary {
  PointList pointIndices;
  VfkParser* owner = nullptr;
  std::string id1;   // area on the first side; may be empty
  std::string id2;   // area on the second side; may be empty
  int typeCode = 0;  // TYPPPD_KOD of a parcel boundary; 0 for BPEJ
};

// One line of a building outline (OB rows of kind "OB").
struct Polyline {
  PointList pointIndices;
};

// One line of a map element (DPM rows of type 21800).
struct ElementPolyline {
  PointList pointIndices;
  VfkParser* owner = nullptr;
  int typeCode = 0;
};

struct ParcelArrow {
  float angle = 0.0f;
  double x = 0.0;
  double y = 0.0;
};

struct Parcel {
  Parcel() = default;
  // A copy gets its own copy of the arrow list.
  Parcel(const Parcel& other);
  Parcel& operator=(const Parcel& other);
  Parcel(Parcel&&) noexcept = default;
  Parcel& operator=(Parcel&&) noexcept = default;
  ~Parcel() = default;

  // Appends an arrow, creating the list on the first one.
  void addArrow(double x, double y, float angle);

  std::string id;
  TextLabel numberLabel;                   // "PC"; only parcels with its text are drawn
  std::vector<TextLabel> extraNumberLabels;  // "PPC", in file order
  TextLabel symbolLabel;                   // "ZDP": the land-use symbol
  std::unique_ptr<std::vector<ParcelArrow>> arrows;  // "SPC"; null until the first
  bool hasMultipleRings = false;
  std::vector<int> boundaryIndices;  // into VfkParser::parcelBoundaries
  VfkParser* owner = nullptr;
};

// A soil-valuation unit.
struct BpejArea {
  std::string code;
  TextLabel label;
  std::vector<int> boundaryIndices;  // into VfkParser::bpejBoundaries, in the order added
  VfkParser* owner = nullptr;
};

struct Building {
  std::string id;
  TextLabel numberLabel;  // text from BUD, position from OBDEBO
  TextLabel symbolLabel;  // "ZDB": the building-type symbol
  std::vector<int> polylineIndices;  // into VfkParser::generalPolylines
  bool hasMultipleRings = false;
  int typeCode = 0;  // TYPBUD_KOD
  VfkParser* owner = nullptr;
};

struct BuildingType {
  int code = 0;
  std::string name;          // UTF-8
  std::string abbreviation;  // UTF-8; empty when the file has no ZKRATKA
};

// Starts empty, so that the first point sets all four values.
struct BoundingBox {
  double minX = DBL_MAX;
  double minY = DBL_MAX;
  double maxX = -DBL_MAX;
  double maxY = -DBL_MAX;
};

}  // namespace vorlane

#endif  // VORLANE_MODEL_RECORDS_H_
