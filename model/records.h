// The records of the cadastral model: what the reader fills and the writer
// draws. They are plain values stored flat in the model's arrays and refer to
// each other by index: a line is a range of the one shared array of point
// indices, an area names its lines by a range of line indices, a boundary
// names the areas on its two sides by their positions. Texts are ranges of
// the model's one text store.
#ifndef VORLANE_MODEL_RECORDS_H_
#define VORLANE_MODEL_RECORDS_H_

#include <cfloat>
#include <cstdint>
#include <limits>

namespace vorlane {

// Coordinates everywhere in the model are the file's, negated and swapped:
// x = -SOURADNICE_Y and y = -SOURADNICE_X.
struct Point {
  double x = 0.0;
  double y = 0.0;
};

// The model's point for the file's coordinates SOURADNICE_X and SOURADNICE_Y
// (a change of sign: 0 gives -0.0).
inline Point pointOfFileCoordinates(double souradniceX, double souradniceY) {
  return Point{-souradniceY, -souradniceX};
}

// A run of "count" entries of one of the model's arrays, from "first" on.
struct IndexRange {
  uint32_t first = 0;
  uint32_t count = 0;
};

// A text in CadastralModel::texts: up to 16 MiB at an offset below 1 TiB,
// in one 64-bit word. The empty text is the default.
class TextRef {
 public:
  static constexpr uint64_t kMaxLength = (uint64_t{1} << 24) - 1;
  static constexpr uint64_t kMaxOffset = (uint64_t{1} << 40) - 1;

  TextRef() = default;
  // REQUIRES: offset <= kMaxOffset, length <= kMaxLength.
  TextRef(uint64_t offset, uint64_t length) : bits_(offset << 24 | length) {}
  uint64_t offset() const { return bits_ >> 24; }
  uint64_t length() const { return bits_ & kMaxLength; }
  bool empty() const { return length() == 0; }

 private:
  uint64_t bits_ = 0;
};

// One text or symbol placement from a label row (blocks OP, OB, OBPEJ, DPM).
struct TextLabel {
  TextRef text;
  double x = 0.0;
  double y = 0.0;
  float angle = 0.0f;    // degrees: the file's gon value times 0.9
  float size = 1.0f;     // VELIKOST
  int32_t typeCode = 0;  // TYPPPD_KOD; for a symbol label, the symbol to place
  // VZTAZNY_BOD, which selects anchor and baseline: 1 to 9, or 0 for any
  // other value (all of which place a text alike).
  int8_t referencePoint = 1;
  bool placed = false;  // the row gave both coordinates; otherwise x, y are -0.0
};

// How the points of a line are joined, as the row of its first point says
// (SBP's PARAMETRY_SPOJENI). The exact drawing draws arcs and circles; the
// standard drawing joins every line's points straight.
enum class LineShape : uint8_t {
  kStraight,
  kArc,     // "16": a circular arc from its first to its third point, through the second
  kCircle,  // "15": the circle through its three points
};

// The position of a parcel in CadastralModel::parcels, or of a soil-valuation
// unit in CadastralModel::bpejAreas; kNoArea where a boundary's identifier is
// empty (the edge of the surveyed area).
constexpr int32_t kNoArea = -1;

// A line between two areas: a parcel boundary (HP) or a BPEJ boundary (HBPEJ).
// Dense files hold hundreds of thousands of boundaries: the type code takes
// two bytes.
struct Boundary {
  IndexRange pointIndices;  // in CadastralModel::pointIndexPool
  int32_t area1 = kNoArea;  // the area on the first side
  int32_t area2 = kNoArea;  // the area on the second side
  // TYPPPD_KOD of a parcel boundary; 0 for BPEJ, and for a code below 0 or
  // above INT16_MAX, which no border type has.
  int16_t typeCode = 0;
  LineShape shape = LineShape::kStraight;
};
static_assert(sizeof(Boundary) == 20);

// One line of a building outline (OB rows of kind "OB").
struct Polyline {
  IndexRange pointIndices;  // in CadastralModel::pointIndexPool
  int32_t building = 0;     // its position in CadastralModel::buildings
  LineShape shape = LineShape::kStraight;
};

// One line of a map element (DPM rows of type 21800).
struct ElementPolyline {
  IndexRange pointIndices;  // in CadastralModel::pointIndexPool
  int32_t typeCode = 0;
  LineShape shape = LineShape::kStraight;
};

// The lines of a parcel or building, as resolveGeometry chains them into
// rings: a run of the model's list of such lines, and whether they make more
// than one ring (or a chain that breaks), where the writer then closes each
// ring as it returns to its start. Kept beside the parcels and buildings
// (CadastralModel::ringLinesOf), made once the tables of the reading are gone.
// For the exact drawing, "oneExactRing" says that its chaining makes one
// closed chain of whole lines of them: the run then holds that chain's
// lines, each once, in the order it walks them (exact_rings.h).
struct RingLines {
  static constexpr uint32_t kCountMask = (uint32_t{1} << 30) - 1;  // the count's width

  uint32_t first = 0;
  uint32_t count : 30 = 0;
  uint32_t hasMultipleRings : 1 = 0;
  uint32_t oneExactRing : 1 = 0;
  IndexRange range() const { return IndexRange{first, count}; }
};

struct ParcelArrow {
  int32_t parcel = 0;  // its parcel's position in CadastralModel::parcels
  float angle = 0.0f;
  double x = 0.0;
  double y = 0.0;
  bool placed = false;  // as TextLabel::placed
  // Read for the exact drawing: the other end of the arrow's line (type
  // 1032), where a line of its parcel ends at the arrow.
  bool hasLine = false;
  Point lineEnd;
};

// A line an arrow stands on (OP, type 1032), by the points of its ends.
struct ArrowLine {
  int32_t parcel = 0;  // its parcel's position in CadastralModel::parcels
  int32_t from = 0;
  int32_t to = 0;
};

// A label of a parcel other than its number: a further number ("PPC") or
// its land-use symbol ("ZDP").
struct ParcelLabel {
  int32_t parcel = 0;  // its parcel's position in CadastralModel::parcels
  TextLabel label;
};

// Its further number labels, symbol and arrows, which many parcels lack, are
// found through CadastralModel::extraNumberLabelsOf, symbolLabelOf and
// arrowsOf.
struct Parcel {
  TextRef id;
  TextLabel numberLabel;  // "PC"; only parcels with its text are drawn
};

// A soil-valuation unit.
struct BpejArea {
  TextRef code;
  TextLabel label;
  IndexRange boundaryIndices;  // in CadastralModel::bpejBoundaryIndices, once resolved
};

struct Building {
  TextRef id;
  TextLabel numberLabel;      // text from BUD, position from OBDEBO
  TextLabel symbolLabel;      // "ZDB": the building-type symbol
  int32_t typeCode = 0;       // TYPBUD_KOD
  // Read for the exact drawing only:
  bool described = false;   // a BUD row came
  int32_t use = 0;          // ZPVYBU_KOD
  TextRef ownershipSheet;   // TEL_ID
};

struct BuildingType {
  int32_t code = 0;
  TextRef name;          // UTF-8
  TextRef abbreviation;  // UTF-8; empty when the file has no ZKRATKA
};

// Starts empty, so that the first point sets all four values.
// A line with an identifier of its own: an easement's border (ZVB).
struct IdentifiedLine {
  TextRef id;
  IndexRange pointIndices;  // in CadastralModel::pointIndexPool
  int32_t typeCode = 0;     // TYPPPD_KOD
  LineShape shape = LineShape::kStraight;
};

// A survey point (SOBR): where it is drawn, and its measured position (SPOL)
// where that differs.
struct SurveyPoint {
  int32_t point = 0;  // in CadastralModel::points
  // SPOL's position, where it differs, in CadastralModel::points; -1 for none.
  int32_t measured = -1;
};

// A survey point's number as the surveyor gives it.
struct SurveyNumber {
  // A number that no point has: the file gives the point none.
  static constexpr int64_t kNoNumber = std::numeric_limits<int64_t>::min();

  int64_t number = kNoNumber;  // CISLO_BODU
  int32_t record = 0;   // CISLO_ZPMZ: the survey record that numbers it
  int32_t quality = 0;  // KODCHB_KOD, 0 where the file gives none
};

// What the file says of a parcel (PAR).
struct ParcelRecord {
  TextRef id;
  int32_t numbering = 0;    // DRUH_CISLOVANI_PAR: 1 a building plot ("st."), 2 a land parcel
  int32_t stem = 0;         // KMENOVE_CISLO_PAR
  int32_t subdivision = 0;  // PODDELENI_CISLA_PAR; 0 for none
  int64_t area = -1;        // VYMERA_PARCELY in square metres; -1 where not given
  int32_t landType = 0;     // DRUPOZ_KOD
  int32_t landUse = 0;      // ZPVYPA_KOD
  TextRef ownershipSheet;   // TEL_ID
};

// One entry of a code list the file carries: a code and what it means.
struct CodeName {
  int32_t code = 0;
  TextRef name;
  int32_t kind = 0;  // TYPPPD's TYP_PRVKU: 1 a line, 4 a text, 7 a symbol
};

// An ownership sheet (TEL): its identifier and its number.
struct OwnershipSheet {
  TextRef id;
  int64_t number = 0;  // CISLO_TEL
};

struct BoundingBox {
  double minX = DBL_MAX;
  double minY = DBL_MAX;
  double maxX = -DBL_MAX;
  double maxY = -DBL_MAX;
};

}  // namespace vorlane

#endif  // VORLANE_MODEL_RECORDS_H_
