// CadastralModel: the in-memory picture of one VFK file, which the reader
// fills and the SVG writer draws. Start here.
//
// Everything is stored flat, in arrays of plain records (records.h) that
// refer to each other by position:
//  - a line (boundary, outline, map-element line) is a range of the one
//    shared array of point indices, pointIndexPool; while a file is read, -1
//    marks an ordinal no row supplied;
//  - a boundary names the areas on its two sides by their positions;
//  - texts are ranges of one text store.
// While reading, areas are found by identifier through hash indexes and kept
// in the order they were created. resolveGeometry() then puts parcels, units
// and buildings into byte-wise identifier order, lists each area's lines,
// labels and arrows, chains the lines into rings and measures the extent.
// From then on the model is only read.
#ifndef VORLANE_MODEL_CADASTRAL_MODEL_H_
#define VORLANE_MODEL_CADASTRAL_MODEL_H_

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "model/diagnostics.h"
#include "model/drawing_options.h"
#include "model/hash_index.h"
#include "model/pod_vector.h"
#include "model/records.h"
#include "model/text_store.h"

namespace vorlane {

// The entries of "range" in "array".
template <typename T>
std::span<const T> slice(const PodVector<T>& array, IndexRange range) {
  return {array.data() + range.first, range.count};
}
template <typename T>
std::span<T> slice(PodVector<T>& array, IndexRange range) {
  return {array.data() + range.first, range.count};
}

// A parcel's number as the cadastre writes it: its stem and, where it has
// one, "/" and its subdivision, after "st. " for a building plot ("st. 37/1",
// "1386/9").
std::string parcelNumberOf(const ParcelRecord& record);
// Appends the parcel's number, as parcelNumberOf gives it, to "text".
void appendParcelNumber(const ParcelRecord& record, std::string& text);

class CadastralModel {
 public:
  CadastralModel() = default;
  CadastralModel(const CadastralModel&) = delete;
  CadastralModel& operator=(const CadastralModel&) = delete;
  CadastralModel(CadastralModel&&) = default;
  CadastralModel& operator=(CadastralModel&&) = default;

  // Building the model, while a file is read. The references returned are
  // valid until the next record of the same kind is created.

  // Empties the model.
  void clear();
  // Shrinks the tables that find parcels, soil units and buildings by
  // identifier, in this model and those of other states, to what they hold:
  // for when a block of records has been read. Cheap to call often.
  void compactIndexes();
  // Appends a point; returns its index.
  int32_t addPoint(double x, double y);
  // Copies "text" into the text store.
  TextRef addText(std::string_view text) { return texts.add(text); }
  // Appends a point list to pointIndexPool; returns its range.
  IndexRange addPointList(std::span<const int32_t> pointIndices);

  // The position of the parcel "id" (exact, byte-wise), or -1.
  int32_t findParcel(std::string_view id);
  // Throws std::invalid_argument "Parcel with given ID does not exist" when
  // there is no such parcel.
  Parcel& getParcel(std::string_view id);
  // The soil-valuation unit with the code, or null.
  BpejArea* findBpejArea(std::string_view code);
  // The building "id", created with default labels when it is new.
  Building& getOrCreateBuilding(std::string_view id);
  // The position of the building "id", or -1.
  int32_t findBuilding(std::string_view id) const;
  // The position of a building of this model.
  int32_t positionOf(const Building& building) const {
    return static_cast<int32_t>(&building - buildings.data());
  }

  // Appends a boundary of the points "pointIndices" (a range of
  // pointIndexPool) between the parcels id1 and id2, creating each on its
  // first boundary; an empty identifier names no parcel. Returns its index.
  int32_t addParcelBoundary(IndexRange pointIndices, std::string_view id1, std::string_view id2,
                            int32_t typeCode, LineShape shape = LineShape::kStraight);
  // The same for a soil-valuation boundary between the units code1 and code2.
  int32_t addBpejBoundary(IndexRange pointIndices, std::string_view code1, std::string_view code2);
  // Appends an outline line of the building at position "building".
  int32_t addGeneralPolyline(IndexRange pointIndices, int32_t building,
                             LineShape shape = LineShape::kStraight);
  void addElementPolyline(IndexRange pointIndices, int32_t typeCode,
                          LineShape shape = LineShape::kStraight);
  // Stores the type under its code, replacing one with the same code.
  void addBuildingType(int32_t code, std::string_view name, std::string_view abbreviation);

  // Labels of the parcel at position "parcel". A later symbol replaces an
  // earlier one (once resolved); extra labels and arrows accumulate in the
  // order given.
  void setSymbolLabel(int32_t parcel, const TextLabel& label);
  void addExtraNumberLabel(int32_t parcel, const TextLabel& label);
  // "placed": whether the file gave the arrow's position.
  void addArrow(int32_t parcel, double x, double y, float angle, bool placed = true);

  // After the last row: orders and lists the areas, adds the default
  // building types when the file had none, reports labels without a position
  // and borders that do not close, drops the missing points of lines
  // (reporting each; the exact drawing keeps them as gaps), chains the lines
  // of parcels and buildings into rings for the standard drawing, and
  // computes the bounding box. "diagnostics" receives the findings.
  void resolveGeometry(const DrawingOptions& options, Diagnostics& diagnostics);
  // The same for the standard drawing, its findings ignored.
  void resolveGeometry();

  // Reading the model.

  std::string_view text(TextRef ref) const { return texts.view(ref); }
  template <typename Line>
  std::span<const int32_t> pointIndicesOf(const Line& line) const {
    return slice(pointIndexPool, line.pointIndices);
  }
  // The chained lines of a parcel or building of this model (in
  // parcelBoundaryIndices or buildingPolylineIndices); none until resolved.
  const RingLines& ringLinesOf(const Parcel& parcel) const {
    return ringLinesAt(parcelRingLines, static_cast<size_t>(&parcel - parcels.data()));
  }
  const RingLines& ringLinesOf(const Building& building) const {
    return ringLinesAt(buildingRingLines, static_cast<size_t>(&building - buildings.data()));
  }
  std::span<const int32_t> boundaryIndicesOf(const Parcel& parcel) const {
    return slice(parcelBoundaryIndices, ringLinesOf(parcel).range());
  }
  std::span<const int32_t> boundaryIndicesOf(const BpejArea& area) const {
    return slice(bpejBoundaryIndices, area.boundaryIndices);
  }
  std::span<const int32_t> polylineIndicesOf(const Building& building) const {
    return slice(buildingPolylineIndices, ringLinesOf(building).range());
  }
  // A parcel's extra number labels and arrows, in the order the rows came;
  // once resolved.
  std::span<const ParcelLabel> extraNumberLabelsOf(const Parcel& parcel) const {
    return partOf(extraNumberLabels, extraNumberLabelRanges_, parcel);
  }
  std::span<const ParcelArrow> arrowsOf(const Parcel& parcel) const {
    return partOf(arrows, arrowRanges_, parcel);
  }
  // The parcel's symbol label, the last one given; a default one when it has
  // none. Once resolved.
  const TextLabel& symbolLabelOf(const Parcel& parcel) const;
  // The type with the code, or null.
  const BuildingType* findBuildingType(int32_t code) const;
  // Sets "number" to what the drawing writes as the building's number: its
  // type's abbreviation, then, for a building with a descriptive (1) or a
  // registration (2) number, a space and its house number. Empty for none.
  void buildingNumberText(const Building& building, std::string& number) const;

  // The model. After resolveGeometry, parcels, bpejAreas and buildings are
  // in byte-wise order of their identifiers, buildingTypes in code order.
  PodVector<Parcel> parcels;
  PodVector<BpejArea> bpejAreas;
  PodVector<Building> buildings;
  PodVector<BuildingType> buildingTypes;
  PodVector<Point> points;
  PodVector<Boundary> parcelBoundaries;
  PodVector<Boundary> bpejBoundaries;
  PodVector<Polyline> generalPolylines;
  PodVector<TextLabel> mapTexts;
  PodVector<ElementPolyline> elementPolylines;
  BoundingBox boundingBox;

  // What the exact drawing draws besides, read for it alone.
  PodVector<IdentifiedLine> easements;      // ZVB, in file order
  PodVector<SurveyPoint> surveyPoints;      // SOBR, in file order: that of their points
  // The numbers of surveyPoints, position for position, as far as the last
  // point that has one: the points after it have none. A file that numbers
  // no point keeps nothing here.
  PodVector<SurveyNumber> surveyNumbers;
  PodVector<TextLabel> controlPointSymbols;  // OBBP "ZB", placed on their points
  PodVector<TextLabel> controlPointNumbers;  // OBBP "CB"
  PodVector<TextLabel> elementSymbols;       // DPM symbols, on points or placed
  PodVector<TextLabel> buildingSymbols;      // every OB "ZDB" row's symbol
  PodVector<ParcelRecord> parcelRecords;     // PAR
  PodVector<OwnershipSheet> ownershipSheets;  // TEL
  // The file's code lists.
  PodVector<CodeName> elementTypes;  // TYPPPD: VYZNAM, TYP_PRVKU
  PodVector<CodeName> landTypes;     // DRUPOZ
  PodVector<CodeName> landUses;      // ZPVYPA
  PodVector<CodeName> buildingUses;  // ZPVYBU
  PodVector<CodeName> qualityCodes;  // KODCHB
  // The cadastral area (KATUZE) and the file's format version (VERZE).
  TextRef areaCode;
  TextRef areaName;
  TextRef version;
  bool cutByPolygon = false;  // &HPOLYG: an extract cut around a site

  // The records of other states than the current one (STAV_DAT other than
  // 0; the geometric plan's blocks are state 1), each a model of its own,
  // by state. Resolved with this one.
  std::map<int32_t, std::unique_ptr<CadastralModel>> otherStates;
  // The model of "state": this one for 0, made when first asked for.
  CadastralModel& stateModel(int32_t state);

  // The parcel's record (PAR), or null; once resolved.
  const ParcelRecord* recordOf(const Parcel& parcel) const;
  // The parcel as the cadastre names it ("p.č. 1386/9", "st. 37/1"), or ""
  // where the file does not describe it; once resolved.
  std::string cadastralNameOf(const Parcel& parcel) const;
  std::string cadastralNameOf(std::string_view parcelId) const;
  // The name a code list gives a code, or "".
  std::string_view nameOf(const PodVector<CodeName>& list, int32_t code) const;
  // The number of the ownership sheet with this identifier (its first), or
  // -1; once resolved.
  int64_t sheetNumberOf(std::string_view id) const;

  // The arrays that the records' ranges and positions refer to.
  PodVector<int32_t> pointIndexPool;
  PodVector<ParcelLabel> symbolLabels;
  PodVector<ParcelLabel> extraNumberLabels;
  PodVector<ParcelArrow> arrows;
  PodVector<ArrowLine> arrowLines;  // the exact drawing's
  PodVector<int32_t> parcelBoundaryIndices;
  PodVector<int32_t> bpejBoundaryIndices;
  PodVector<int32_t> buildingPolylineIndices;
  // By parcel and building position, once resolved.
  PodVector<RingLines> parcelRingLines;
  PodVector<RingLines> buildingRingLines;
  TextStore texts;

 private:
  // Steps of resolveGeometry (geometry_resolution.cpp).
  void sortAreasById();
  void listAreaMembers();
  void findSymbolLabels();
  void addDefaultBuildingTypes();
  void reportUnplacedLabels(Diagnostics& diagnostics) const;
  void reportOpenBorders(Diagnostics& diagnostics, bool exact) const;
  void dropMissingPoints(Diagnostics& diagnostics, bool keepGaps);
  void resolveState(const DrawingOptions& options, Diagnostics& diagnostics);
  void indexOwnershipSheets();
  void chainRings();
  void measureExtent();

  int32_t findOrAddParcel(std::string_view id);

  static const RingLines& ringLinesAt(const PodVector<RingLines>& lines, size_t position) {
    static constexpr RingLines kNone{};
    return position < lines.size() ? lines[position] : kNone;
  }

  // The position of the record of "records" whose "name" is "wanted", made
  // with that name when there is none.
  template <typename Record>
  int32_t findOrAdd(PodVector<Record>& records, HashIndex& index, TextRef Record::*name,
                    std::string_view wanted);

  // The test whether the record at a position has the name "wanted".
  template <typename Record>
  auto named(const PodVector<Record>& records, TextRef Record::*name,
             std::string_view wanted) const {
    return [this, &records, name, wanted](int32_t p) {
      return text(records[static_cast<size_t>(p)].*name) == wanted;
    };
  }

  // The parcel's part of "records", grouped by parcel; "ranges" is empty when
  // no parcel has any.
  template <typename Record>
  std::span<const Record> partOf(const PodVector<Record>& records,
                                 const PodVector<IndexRange>& ranges, const Parcel& parcel) const {
    if (ranges.empty()) return {};
    return slice(records, ranges[static_cast<size_t>(&parcel - parcels.data())]);
  }
  int32_t findOrAddBpejArea(std::string_view code);

  void joinParcelRecords();
  void joinArrowLines();

  // By parcel position: its range of extraNumberLabels and of arrows, its
  // last symbol label's position in symbolLabels (-1 for none), and its
  // record's position in parcelRecords (-1 for none).
  PodVector<IndexRange> extraNumberLabelRanges_;
  PodVector<IndexRange> arrowRanges_;
  PodVector<int32_t> symbolLabelPositions_;
  PodVector<int32_t> parcelRecordPositions_;

  // By identifier, exactly, byte for byte.
  HashIndex parcelIndex_;
  // The parcel found last: consecutive rows often name the same one.
  int32_t lastParcel_ = -1;
  HashIndex bpejAreaIndex_;
  HashIndex buildingIndex_;
  HashIndex sheetIndex_;  // once resolved
};

}  // namespace vorlane

#endif  // VORLANE_MODEL_CADASTRAL_MODEL_H_
