// The step between reading and writing: cleans the point lists, puts the
// areas into identifier order and lists their members, orders the lines of
// every parcel and building into rings, supplies the default building types
// and measures the model's extent.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "model/cadastral_model.h"
#include "model/exact_rings.h"
#include "model/parcel_checks.h"
#include "model/rings.h"

namespace vorlane {

namespace {

// Calls missing(position) for each -1 placeholder of a point list, with its
// position in the list, and removes them, in place, unless "keepGaps".
template <typename Missing>
void dropMissingPoints(PodVector<int32_t>& pool, IndexRange& range, bool keepGaps,
                       const Missing& missing) {
  int32_t* const list = pool.data() + range.first;
  uint32_t kept = 0;
  for (uint32_t position = 0; position < range.count; ++position) {
    if (list[position] < 0) {
      missing(position);
    } else if (!keepGaps) {
      list[kept++] = list[position];
    }
  }
  if (!keepGaps) range.count = kept;
}

// The first eight bytes of an identifier as a number that orders as the
// bytes do.
uint64_t orderPrefix(std::string_view id) {
  uint64_t prefix = 0;
  for (size_t i = 0; i < 8; ++i) {
    prefix = prefix << 8 | (i < id.size() ? static_cast<unsigned char>(id[i]) : 0u);
  }
  return prefix;
}

// For records whose identifiers idOf(position) are all different: moved[p]
// is the position the record at p takes when the records are put into
// byte-wise order of their identifiers. Empty when they already are.
template <typename IdOf>
std::vector<int32_t> byteWiseOrder(size_t count, const IdOf& idOf) {
  struct Key {
    uint64_t prefix;
    int32_t position;
  };
  PodVector<Key> keys;
  keys.append(count, Key{});
  bool sorted = true;
  for (size_t p = 0; p < count; ++p) {
    keys[p] = Key{orderPrefix(idOf(p)), static_cast<int32_t>(p)};
    if (p > 0 && sorted) {
      const Key& before = keys[p - 1];
      sorted = before.prefix < keys[p].prefix ||
               (before.prefix == keys[p].prefix && idOf(p - 1) < idOf(p));
    }
  }
  if (sorted) return {};
  // Identifiers that share their first eight bytes are compared whole.
  std::sort(keys.begin(), keys.end(), [&idOf](const Key& a, const Key& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    return idOf(static_cast<size_t>(a.position)) < idOf(static_cast<size_t>(b.position));
  });
  std::vector<int32_t> moved(count);
  for (size_t k = 0; k < count; ++k)
    moved[static_cast<size_t>(keys[k].position)] = static_cast<int32_t>(k);
  return moved;
}

// Puts the record at p to moved[p], in place, following the permutation's
// cycles; "moved" is used up.
template <typename Record>
void applyOrder(PodVector<Record>& records, std::vector<int32_t>& moved) {
  for (size_t p = 0; p < moved.size(); ++p) {
    while (static_cast<size_t>(moved[p]) != p) {
      const auto target = static_cast<size_t>(moved[p]);
      std::swap(records[p], records[target]);
      std::swap(moved[p], moved[target]);
    }
  }
}

int32_t renumbered(int32_t position, const std::vector<int32_t>& moved) {
  return position < 0 ? position : moved[static_cast<size_t>(position)];
}

void renumberSides(PodVector<Boundary>& boundaries, const std::vector<int32_t>& moved) {
  for (Boundary& boundary : boundaries) {
    boundary.area1 = renumbered(boundary.area1, moved);
    boundary.area2 = renumbered(boundary.area2, moved);
  }
}

// For items each naming up to two owners: lists, for every owner in turn,
// the items that name it, in item order (an item naming one owner twice is
// listed twice). ownersOf(i) gives item i's two owners, -1 for none;
// setRange(owner, range) receives each owner's part of the list.
template <typename OwnersOf, typename SetRange>
PodVector<int32_t> listByOwner(size_t ownerCount, size_t itemCount, const OwnersOf& ownersOf,
                               const SetRange& setRange) {
  PodVector<uint32_t> next;
  next.append(ownerCount + 1, 0);
  for (size_t i = 0; i < itemCount; ++i) {
    for (const int32_t owner : ownersOf(i)) {
      if (owner >= 0) ++next[static_cast<size_t>(owner) + 1];
    }
  }
  for (size_t owner = 0; owner < ownerCount; ++owner) {
    next[owner + 1] += next[owner];
    setRange(owner, IndexRange{next[owner], next[owner + 1] - next[owner]});
  }
  PodVector<int32_t> list;
  list.append(next[ownerCount], 0);
  for (size_t i = 0; i < itemCount; ++i) {
    for (const int32_t owner : ownersOf(i)) {
      if (owner >= 0) list[next[static_cast<size_t>(owner)]++] = static_cast<int32_t>(i);
    }
  }
  return list;
}

// Reorders records that each name one parcel so that every parcel's records
// stand together, in the order they were added, and gives each parcel's
// range, by position; no ranges where there are no records.
template <typename Record>
void groupByParcel(PodVector<Record>& records, size_t parcelCount, PodVector<IndexRange>& ranges) {
  ranges.clear();
  if (records.empty()) return;
  ranges.append(parcelCount, IndexRange{});
  const PodVector<int32_t> order = listByOwner(
      parcelCount, records.size(),
      [&records](size_t i) {
        return std::array<int32_t, 2>{records[i].parcel, -1};
      },
      [&ranges](size_t p, IndexRange range) { ranges[p] = range; });
  PodVector<Record> grouped;
  grouped.reserve(records.size());
  for (const int32_t item : order) grouped.push_back(records[static_cast<size_t>(item)]);
  records = std::move(grouped);
}

void setRange(RingLines& lines, IndexRange range) {
  lines.first = range.first;
  lines.count = range.count & RingLines::kCountMask;  // a model's lists stay far below it
}

// Chains the lines of every record that has some into rings.
template <typename Line>
void chainAll(PodVector<RingLines>& ringLines, PodVector<int32_t>& lineLists,
              const PodVector<Line>& lines, const PodVector<int32_t>& pool) {
  std::vector<LineEnds> ends;
  for (RingLines& list : ringLines) {
    const std::span<int32_t> order = slice(lineLists, list.range());
    if (order.empty()) continue;
    ends.clear();
    for (const int32_t line : order) {
      const std::span<const int32_t> points =
          slice(pool, lines[static_cast<size_t>(line)].pointIndices);
      ends.push_back(LineEnds{points.front(), points.back()});
    }
    list.hasMultipleRings = chainIntoRings(order, ends);
  }
}

// std::min and std::max keep the value met first when neither is smaller
// (0.0 against -0.0), and a NaN coordinate never widens the box.
void widen(BoundingBox& box, const Point& point) {
  box.minX = std::min(box.minX, point.x);
  box.maxX = std::max(box.maxX, point.x);
  box.minY = std::min(box.minY, point.y);
  box.maxY = std::max(box.maxY, point.y);
}

}  // namespace

void CadastralModel::resolveGeometry() {
  IgnoredDiagnostics ignored;
  resolveGeometry(DrawingOptions(), ignored);
}

void CadastralModel::resolveGeometry(const DrawingOptions& options, Diagnostics& diagnostics) {
  resolveState(options, diagnostics);
  if (options.exact) {
    reportParcelChecks(*this, diagnostics);
  } else {
    reportDrawnChords(*this, diagnostics);
  }
  // The drawing's extent holds every state's points. The building types
  // are the map's, whatever state a building is of.
  for (auto& [state, model] : otherStates) {
    for (const BuildingType& type : buildingTypes) {
      model->addBuildingType(type.code, text(type.name), text(type.abbreviation));
    }
    model->resolveState(options, diagnostics);
    for (const Point& point : model->points) widen(boundingBox, point);
  }
}

void CadastralModel::resolveState(const DrawingOptions& options, Diagnostics& diagnostics) {
  sortAreasById();
  listAreaMembers();
  findSymbolLabels();
  joinParcelRecords();
  joinArrowLines();
  indexOwnershipSheets();
  if (buildingTypes.empty()) addDefaultBuildingTypes();
  if (diagnostics.wants(FindingKind::kLabelWithoutPosition)) reportUnplacedLabels(diagnostics);
  if (diagnostics.wants(FindingKind::kOpenBorder)) reportOpenBorders(diagnostics, options.exact);
  dropMissingPoints(diagnostics, options.exact);
  if (options.exact) {
    chainExactRings(*this);
  } else {
    chainRings();
  }
  measureExtent();
}

// Each arrow's line: the first of its parcel's arrow lines that has an end
// where the arrow stands (to a hundredth, the drawing's precision).
void CadastralModel::joinArrowLines() {
  if (arrowLines.empty()) return;
  std::stable_sort(arrowLines.begin(), arrowLines.end(),
                   [](const ArrowLine& a, const ArrowLine& b) { return a.parcel < b.parcel; });
  auto near = [](const Point& a, double x, double y) {
    return std::abs(a.x - x) < 0.005 && std::abs(a.y - y) < 0.005;
  };
  for (ParcelArrow& arrow : arrows) {
    auto line = std::lower_bound(
        arrowLines.begin(), arrowLines.end(), arrow.parcel,
        [](const ArrowLine& candidate, int32_t parcel) { return candidate.parcel < parcel; });
    for (; line != arrowLines.end() && line->parcel == arrow.parcel; ++line) {
      const Point& from = points[static_cast<size_t>(line->from)];
      const Point& to = points[static_cast<size_t>(line->to)];
      if (near(from, arrow.x, arrow.y) || near(to, arrow.x, arrow.y)) {
        arrow.hasLine = true;
        arrow.lineEnd = near(from, arrow.x, arrow.y) ? to : from;
        break;
      }
    }
  }
}

// Each parcel's record: the last PAR row of its identifier.
void CadastralModel::joinParcelRecords() {
  parcelRecordPositions_.clear();
  if (parcelRecords.empty()) return;
  parcelRecordPositions_.append(parcels.size(), -1);
  for (size_t k = 0; k < parcelRecords.size(); ++k) {
    const int32_t parcel = findParcel(text(parcelRecords[k].id));
    if (parcel >= 0) parcelRecordPositions_[static_cast<size_t>(parcel)] = static_cast<int32_t>(k);
  }
}

void CadastralModel::dropMissingPoints(Diagnostics& diagnostics, bool keepGaps) {
  auto parcelId = [this](int32_t area) {
    return area == kNoArea ? std::string_view() : text(parcels[static_cast<size_t>(area)].id);
  };
  auto missing = [&diagnostics](LineKind line, size_t position, std::string_view id1 = {},
                                std::string_view id2 = {}, std::string_view name1 = {},
                                std::string_view name2 = {}) {
    diagnostics.report(Finding{.kind = FindingKind::kMissingPoint,
                               .line = line,
                               .subject = id1,
                               .subject2 = id2,
                               .name = name1,
                               .name2 = name2,
                               .number = static_cast<int64_t>(position)});
  };
  auto parcelName = [this](int32_t area) {
    return area == kNoArea ? std::string() : cadastralNameOf(parcels[static_cast<size_t>(area)]);
  };
  for (Boundary& boundary : parcelBoundaries) {
    vorlane::dropMissingPoints(pointIndexPool, boundary.pointIndices, keepGaps, [&](size_t at) {
      missing(LineKind::kParcelBoundary, at, parcelId(boundary.area1), parcelId(boundary.area2),
              parcelName(boundary.area1), parcelName(boundary.area2));
    });
  }
  for (Polyline& polyline : generalPolylines) {
    vorlane::dropMissingPoints(pointIndexPool, polyline.pointIndices, keepGaps,
                               [&](size_t at) { missing(LineKind::kBuildingOutline, at); });
  }
  for (Boundary& boundary : bpejBoundaries) {
    vorlane::dropMissingPoints(pointIndexPool, boundary.pointIndices, keepGaps,
                               [&](size_t at) { missing(LineKind::kBpejBoundary, at); });
  }
  for (ElementPolyline& polyline : elementPolylines) {
    vorlane::dropMissingPoints(pointIndexPool, polyline.pointIndices, keepGaps,
                               [&](size_t at) { missing(LineKind::kMapElement, at); });
  }
}

void CadastralModel::reportUnplacedLabels(Diagnostics& diagnostics) const {
  std::string name;
  auto unplaced = [&diagnostics, &name](LabelKind label, std::string_view subject) {
    diagnostics.report(Finding{
        .kind = FindingKind::kLabelWithoutPosition, .label = label, .subject = subject, .name = name});
  };
  for (const Parcel& parcel : parcels) {
    const std::string_view id = text(parcel.id);
    name = cadastralNameOf(parcel);
    if (!parcel.numberLabel.text.empty() && !parcel.numberLabel.placed) {
      unplaced(LabelKind::kParcelNumber, id);
    }
    for (const ParcelLabel& extra : extraNumberLabelsOf(parcel)) {
      if (!extra.label.text.empty() && !extra.label.placed) unplaced(LabelKind::kParcelNumber, id);
    }
    for (const ParcelArrow& arrow : arrowsOf(parcel)) {
      if (!arrow.placed) unplaced(LabelKind::kParcelArrow, id);
    }
    const TextLabel& symbol = symbolLabelOf(parcel);
    if (symbol.typeCode != 0 && !symbol.placed) unplaced(LabelKind::kParcelSymbol, id);
  }
  name.clear();
  std::string number;
  for (const Building& building : buildings) {
    const std::string_view id = text(building.id);
    buildingNumberText(building, number);
    if (!number.empty() && !building.numberLabel.placed) unplaced(LabelKind::kBuildingNumber, id);
    if (building.symbolLabel.typeCode != 0 && !building.symbolLabel.placed) {
      unplaced(LabelKind::kBuildingSymbol, id);
    }
  }
  for (const BpejArea& area : bpejAreas) {
    if (!area.label.text.empty() && !area.label.placed) {
      unplaced(LabelKind::kBpejCode, text(area.code));
    }
  }
  for (const TextLabel& label : mapTexts) {
    if (!label.text.empty() && !label.placed) unplaced(LabelKind::kMapText, text(label.text));
  }
}

void CadastralModel::reportOpenBorders(Diagnostics& diagnostics, bool exact) const {
  std::vector<int32_t> ends;
  std::vector<Point> places;
  // "parcel" names the border as the cadastre does; none for a building.
  auto report = [&](LineKind line, std::string_view id, const Parcel* parcel) {
    if (ends.empty()) return;
    places.clear();
    for (const int32_t end : ends) places.push_back(points[static_cast<size_t>(end)]);
    const std::string name = parcel != nullptr ? cadastralNameOf(*parcel) : "";
    diagnostics.report(Finding{
        .kind = FindingKind::kOpenBorder, .line = line, .subject = id, .name = name, .places = places});
  };
  // Where the file describes its parcels, the parcels it does not describe
  // are neighbours' fragments, open by their nature.
  const bool described = !parcelRecords.empty();
  for (const Parcel& parcel : parcels) {
    if (described && recordOf(parcel) == nullptr) continue;
    findLooseEnds(*this, parcel, ends, exact);
    report(LineKind::kParcelBoundary, text(parcel.id), &parcel);
  }
  for (const Building& building : buildings) {
    findLooseEnds(*this, building, ends, exact);
    report(LineKind::kBuildingOutline, text(building.id), nullptr);
  }
}

void CadastralModel::sortAreasById() {
  std::vector<int32_t> moved =
      byteWiseOrder(parcels.size(), [this](size_t p) { return text(parcels[p].id); });
  if (!moved.empty()) {
    renumberSides(parcelBoundaries, moved);
    for (ParcelLabel& label : extraNumberLabels) label.parcel = renumbered(label.parcel, moved);
    for (ParcelLabel& label : symbolLabels) label.parcel = renumbered(label.parcel, moved);
    for (ParcelArrow& arrow : arrows) arrow.parcel = renumbered(arrow.parcel, moved);
    for (ArrowLine& line : arrowLines) line.parcel = renumbered(line.parcel, moved);
    parcelIndex_.renumber(moved);
    lastParcel_ = renumbered(lastParcel_, moved);
    applyOrder(parcels, moved);
  }

  moved = byteWiseOrder(bpejAreas.size(), [this](size_t a) { return text(bpejAreas[a].code); });
  if (!moved.empty()) {
    renumberSides(bpejBoundaries, moved);
    bpejAreaIndex_.renumber(moved);
    applyOrder(bpejAreas, moved);
  }

  moved = byteWiseOrder(buildings.size(), [this](size_t b) { return text(buildings[b].id); });
  if (!moved.empty()) {
    for (Polyline& polyline : generalPolylines)
      polyline.building = renumbered(polyline.building, moved);
    buildingIndex_.renumber(moved);
    applyOrder(buildings, moved);
  }
}

void CadastralModel::listAreaMembers() {
  parcelRingLines.clear();
  parcelRingLines.append(parcels.size(), RingLines{});
  buildingRingLines.clear();
  buildingRingLines.append(buildings.size(), RingLines{});
  parcelBoundaryIndices = listByOwner(
      parcels.size(), parcelBoundaries.size(),
      [this](size_t n) {
        return std::array{parcelBoundaries[n].area1, parcelBoundaries[n].area2};
      },
      [this](size_t p, IndexRange range) { setRange(parcelRingLines[p], range); });
  bpejBoundaryIndices = listByOwner(
      bpejAreas.size(), bpejBoundaries.size(),
      [this](size_t n) {
        return std::array{bpejBoundaries[n].area1, bpejBoundaries[n].area2};
      },
      [this](size_t a, IndexRange range) { bpejAreas[a].boundaryIndices = range; });
  buildingPolylineIndices = listByOwner(
      buildings.size(), generalPolylines.size(),
      [this](size_t n) {
        return std::array<int32_t, 2>{generalPolylines[n].building, -1};
      },
      [this](size_t b, IndexRange range) { setRange(buildingRingLines[b], range); });
  groupByParcel(extraNumberLabels, parcels.size(), extraNumberLabelRanges_);
  groupByParcel(arrows, parcels.size(), arrowRanges_);
}

void CadastralModel::findSymbolLabels() {
  symbolLabelPositions_.clear();
  if (symbolLabels.empty()) return;
  symbolLabelPositions_.append(parcels.size(), -1);
  for (size_t i = 0; i < symbolLabels.size(); ++i) {  // the last one of a parcel stays
    symbolLabelPositions_[static_cast<size_t>(symbolLabels[i].parcel)] = static_cast<int32_t>(i);
  }
}

void CadastralModel::chainRings() {
  chainAll(parcelRingLines, parcelBoundaryIndices, parcelBoundaries, pointIndexPool);
  chainAll(buildingRingLines, buildingPolylineIndices, generalPolylines, pointIndexPool);
}

void CadastralModel::addDefaultBuildingTypes() {
  addBuildingType(1, "budova s číslem popisným", "č.p.");
  addBuildingType(2, "budova s číslem evidenčním", "č.e.");
  addBuildingType(3, "budova bez čísla popisného nebo evidenčního", "bez čp/če");
  addBuildingType(4, "rozestavěná budova", "rozestav.");
  addBuildingType(5, "poschoďová garáž", "posch.gar");
  addBuildingType(6, "vodní dílo", "vod.dílo");
}

void CadastralModel::measureExtent() {
  for (const Point& point : points) widen(boundingBox, point);
}

}  // namespace vorlane
