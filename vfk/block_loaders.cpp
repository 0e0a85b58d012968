#include "vfk/block_loaders.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "model/type_codes.h"
#include "vfk/numbers.h"
#include "vfk/text_conversion.h"

namespace vorlane {

namespace {

using C = Column;

// A line's shape from its first point's PARAMETRY_SPOJENI: "16" a circular
// arc through its three points, "15" the circle through them; every other
// value (among them "3" a line of two points, "4" a line of several, "11" a
// curve) joins the points straight. The codes are those of GDAL's VFK
// driver, which reads the format's documentation so.
LineShape lineShapeOf(std::string_view value) {
  value = stripQuotes(value);
  if (value == "16") return LineShape::kArc;
  if (value == "15") return LineShape::kCircle;
  return LineShape::kStraight;
}

// A copied point's key in copiedPoints_.
uint64_t copyKey(int32_t state, int32_t from, int32_t index) {
  return uint64_t{static_cast<uint16_t>(state)} << 48 |
         uint64_t{static_cast<uint16_t>(from)} << 32 | static_cast<uint32_t>(index);
}

}  // namespace

BlockLoaders::BlockLoaders(CadastralModel& model, Diagnostics& diagnostics,
                           const PointBudget& limits)
    : model_(model), diagnostics_(diagnostics), budget_(limits) {}

void BlockLoaders::beginFile(int codePage, bool onePerId, bool exact) {
  for (auto& block : blocks_) block.reset();
  fieldsRead_.fill(0);
  positions_ = nullptr;
  codePage_ = codePage;
  onePerId_ = onePerId;
  exact_ = exact;
  ++file_;
}

LookupMaps& BlockLoaders::otherMapsOf(int32_t state) {
  std::unique_ptr<LookupMaps>& maps = maps_[state];
  if (!maps) maps = std::make_unique<LookupMaps>(modelOf(state).pointIndexPool, budget_);
  lastMapsState_ = state;
  lastMaps_ = maps.get();
  return *maps;
}

int32_t BlockLoaders::pointIn(int32_t state, PointRef point) {
  if (point.state == state) return point.index;
  int32_t& copy = copiedPoints_[copyKey(state, point.state, point.index)];
  if (copy == 0) {
    const Point at = modelOf(point.state).points[static_cast<size_t>(point.index)];
    // Stored one up, so that 0 says "not copied yet".
    copy = modelOf(state).addPoint(at.x, at.y) + 1;
  }
  return copy - 1;
}

bool BlockLoaders::givenBefore(IdBlock block, std::string_view id) {
  if (!onePerId_) return false;
  uint32_t& first = firstFileOfId_[block][idKey(id)];
  if (first == 0) first = file_;
  return first != file_;
}

void BlockLoaders::dropped(DropReason why) {
  const bool later = why == DropReason::kNoPoints || why == DropReason::kUnknownParcel ||
                     why == DropReason::kUnknownBpejArea || why == DropReason::kUnknownPoint;
  if (exact_ && !retrying_ && later && row_ != nullptr) {
    deferred_.push_back(DeferredRow{kind_, lineNumber_, blocks_[static_cast<size_t>(kind_)],
                                    deferredEnds_.size(), row_->fieldCount});
    for (int k = 0; k < row_->fieldCount; ++k) {
      deferredValues_ += row_->field(k);
      deferredEnds_.push_back(deferredValues_.size());
      deferredValues_ += ';';  // where a row's fields have their semicolons (SplitLine)
    }
    return;
  }
  diagnostics_.report(Finding{.kind = FindingKind::kRowDropped,
                              .reason = why,
                              .subject = blockName_,
                              .number = static_cast<int64_t>(lineNumber_)});
}

std::optional<PointLists::Taken> BlockLoaders::takeLine(PointLists& lists, std::string_view id) {
  DropReason why = DropReason::kNone;
  const std::optional<PointLists::Taken> line = lists.take(idKey(id), why);
  if (!line) dropped(why);
  return line;
}

void BlockLoaders::defineBlock(BlockKind kind, const SplitLine& definition, bool plan,
                               std::string_view name) {
  auto& block = blocks_[static_cast<size_t>(kind)];
  block = std::make_shared<BlockColumns>();
  block->positions.fill(-1);
  block->plan = plan;
  const BlockEntry& entry = blockEntryOf(kind);
  block->name = name.empty() ? std::string(entry.name) : std::string(name);
  auto rows = std::find_if(stateRows_.begin(), stateRows_.end(),
                           [&](const auto& known) { return known.first == block->name; });
  block->stateRows = static_cast<size_t>(rows - stateRows_.begin());
  if (rows == stateRows_.end()) stateRows_.emplace_back(block->name, StateRows());
  // Every position looked up here counts for the fields a row must give.
  int fieldsRead = 0;
  auto lookUp = [&](std::span<const Column> columns) {
    for (const Column column : columns) {
      const std::string_view columnName = kColumnNames[static_cast<size_t>(column)];
      const int position = findFieldIndex(definition, definition.fieldCount, columnName);
      block->positions[static_cast<size_t>(column)] = static_cast<int16_t>(position);
      fieldsRead = std::max(fieldsRead, position + 1);
    }
  };
  lookUp(entry.columns);
  if (exact_) lookUp(entry.exactColumns);
  fieldsRead_[static_cast<size_t>(kind)] = fieldsRead;
}

void BlockLoaders::loadRow(BlockKind kind, const SplitLine& row, uint64_t lineNumber) {
  const BlockColumns* block = blocks_[static_cast<size_t>(kind)].get();
  if (block == nullptr) return;
  lineNumber_ = lineNumber;
  positions_ = block->positions.data();
  plan_ = block->plan;
  blockName_ = block->name;
  row_ = &row;
  kind_ = kind;
  rowState_ = stateOf(row);
  if (exact_ && !retrying_ && (plan_ || has(C::kStavDat))) countState(block->stateRows, rowState_);
  switch (kind) {
    case BlockKind::SOBR:
      loadSobr(row);
      break;
    case BlockKind::SBP:
      loadSbp(row);
      break;
    case BlockKind::SBM:
      loadSbm(row);
      break;
    case BlockKind::SPOL:
      loadSpol(row);
      break;
    case BlockKind::HP:
      loadHp(row);
      break;
    case BlockKind::OP:
      loadOp(row);
      break;
    case BlockKind::OB:
      loadOb(row);
      break;
    case BlockKind::DPM:
      loadDpm(row);
      break;
    case BlockKind::OBBP:
      loadObbp(row);
      break;
    case BlockKind::ZVB:
      loadZvb(row);
      break;
    case BlockKind::HBPEJ:
      loadHbpej(row);
      break;
    case BlockKind::OBPEJ:
      loadObpej(row);
      break;
    case BlockKind::TYPBUD:
      loadTypbud(row);
      break;
    case BlockKind::PAR:
      loadPar(row);
      break;
    case BlockKind::BUD:
      loadBud(row);
      break;
    case BlockKind::TEL:
      loadTel(row);
      break;
    case BlockKind::OBDEBO:
      loadObdebo(row);
      break;
    case BlockKind::KATUZE:
      loadKatuze(row);  // for the report: the drawing uses nothing of it
      break;
    case BlockKind::TYPPPD:
      loadCodeList(row, model_.elementTypes);
      break;
    case BlockKind::DRUPOZ:
      loadCodeList(row, model_.landTypes);
      break;
    case BlockKind::ZPVYPA:
      loadCodeList(row, model_.landUses);
      break;
    case BlockKind::ZPVYBU:
      loadCodeList(row, model_.buildingUses);
      break;
    case BlockKind::KODCHB:
      loadCodeList(row, model_.qualityCodes);
      break;
    case BlockKind::kNone:
      break;
  }
}

// Survey points. A repeated ID maps to the later point.
void BlockLoaders::loadSobr(const SplitLine& row) {
  if (givenBefore(kSobrIds, field(row, C::kId))) return;
  const int32_t state = rowState_;
  CadastralModel& model = modelOf(state);
  const Point at = pointOfFileCoordinates(readReal(field(row, C::kSouradniceX)),
                                          readReal(field(row, C::kSouradniceY)));
  const SurveyPointRow point{idKey(field(row, C::kId)), {model.addPoint(at.x, at.y), state}};
  if (exact_) {
    model.surveyPoints.push_back(SurveyPoint{.point = point.point.index});
    // An empty field gives none (a value below the 64-bit range, which
    // reads as kNoNumber, none either).
    if (const std::string_view number = field(row, C::kCisloBodu); !number.empty()) {
      const SurveyNumber numbered{.number = readWholeNumber(number),
                                  .record = readInt(field(row, C::kCisloZpmz)),
                                  .quality = readInt(field(row, C::kKodchbKod))};
      if (numbered.number != SurveyNumber::kNoNumber) {
        PodVector<SurveyNumber>& numbers = model.surveyNumbers;
        numbers.append(model.surveyPoints.size() - 1 - numbers.size(), SurveyNumber());
        numbers.push_back(numbered);
      }
    }
  }
  pointsIDHashIndexMap.prefetch(point.key);
  surveyPoints_.push(point, [this](const SurveyPointRow& p) { storePoint(p); });
}

void BlockLoaders::storePoint(const SurveyPointRow& point) {
  pointsIDHashIndexMap[point.key] = point.point;
}

// Point connections: one row may place its survey point in a parcel
// boundary, a building outline, a map element and an easement at once.
void BlockLoaders::loadSbp(const SplitLine& row) {
  PointConnection connection;
  connection.pointKey = idKey(field(row, C::kBpId));
  connection.ordinal = readInt(field(row, C::kPoradoveCisloBodu));
  connection.lineNumber = lineNumber_;
  connection.state = rowState_;
  if (connection.ordinal == 1) connection.shape = lineShapeOf(field(row, C::kParametrySpojeni));
  constexpr std::array<Column, kSbpOwners> kOwners = {C::kHpId, C::kObId, C::kDpmId, C::kZvbId};
  LookupMaps& maps = mapsOf(connection.state);
  for (size_t k = 0; k < kOwners.size(); ++k) {
    const std::string_view owner = field(row, kOwners[k]);
    connection.hasOwner[k] = !owner.empty();
    if (owner.empty()) continue;
    connection.ownerKeys[k] = sbpKeys_[k].keyOf(owner);
    maps.sbpPointLists[k].prefetch(connection.ownerKeys[k]);
  }
  pointsIDHashIndexMap.prefetch(connection.pointKey);
  connections_.push(connection, [this](const PointConnection& c) { connect(c); });
}

void BlockLoaders::connect(const PointConnection& connection) {
  // The row was read a few rows ago, maybe in the middle of another's.
  const uint64_t lineNumber = lineNumber_;
  const std::string_view blockName = blockName_;
  const SplitLine* row = row_;
  lineNumber_ = connection.lineNumber;
  blockName_ = "SBP";
  row_ = nullptr;  // it is not the row being loaded: it cannot be put aside
  if (const PointRef* point = pointsIDHashIndexMap.find(connection.pointKey)) {
    const int32_t index = pointIn(connection.state, *point);
    LookupMaps& maps = mapsOf(connection.state);
    for (size_t k = 0; k < kSbpOwners; ++k) {
      if (!connection.hasOwner[k]) continue;
      const DropReason why = maps.sbpPointLists[k].place(connection.ownerKeys[k], index,
                                                         connection.ordinal, connection.shape);
      if (why != DropReason::kNone) dropped(why);
    }
  } else {
    // A point no SOBR row defined has no index to place.
    dropped(DropReason::kUnknownPoint);
  }
  lineNumber_ = lineNumber;
  blockName_ = blockName;
  row_ = row;
}

void BlockLoaders::finishFile() {
  finishRows();
  // The lines first: their rows make the parcels the labels name.
  auto isLine = [](BlockKind kind) {
    return kind == BlockKind::HP || kind == BlockKind::OB || kind == BlockKind::DPM ||
           kind == BlockKind::ZVB || kind == BlockKind::HBPEJ;
  };
  std::stable_partition(deferred_.begin(), deferred_.end(),
                        [&](const DeferredRow& row) { return isLine(row.kind); });
  retrying_ = true;
  for (const DeferredRow& deferred : deferred_) {
    SplitLine row;
    const size_t first =
        deferred.firstValue == 0 ? 0 : deferredEnds_[deferred.firstValue - 1] + 1;
    row.startAt(deferredValues_.data() + first);
    row.fieldCount = std::min<int>(deferred.valueCount, kMaxFields);
    for (int k = 0; k < row.fieldCount; ++k) {
      const size_t end = deferredEnds_[deferred.firstValue + static_cast<size_t>(k)];
      row.bounds[static_cast<size_t>(k) + 1] = static_cast<uint32_t>(end + 1 - first);
    }
    // The columns the row was read with, though a later B record may have
    // defined its block again.
    std::shared_ptr<BlockColumns>& current = blocks_[static_cast<size_t>(deferred.kind)];
    const std::shared_ptr<BlockColumns> later = current;
    current = std::const_pointer_cast<BlockColumns>(deferred.block);
    loadRow(deferred.kind, row, deferred.lineNumber);
    current = later;
    finishRows();
  }
  retrying_ = false;
  deferred_.clear();
  deferredValues_.clear();
  deferredEnds_.clear();
  row_ = nullptr;
  finishBlock();
}

void BlockLoaders::countOtherState(size_t entry, int32_t state) {
  StateRows& states = stateRows_[entry].second;
  auto known = std::find_if(states.begin(), states.end(),
                            [state](const auto& counted) { return counted.first == state; });
  if (known == states.end()) known = states.emplace(states.end(), state, 0);
  ++known->second;
  counted_ = &known->second;
  countedEntry_ = entry;
  countedState_ = state;
}

std::vector<std::pair<std::string, BlockLoaders::StateRows>> BlockLoaders::takeStateRows() {
  auto rows = std::move(stateRows_);
  stateRows_.clear();
  counted_ = nullptr;
  // The blocks' entries are gone: the file's blocks are, too.
  for (auto& block : blocks_) block.reset();
  std::erase_if(rows, [](const auto& entry) { return entry.second.empty(); });
  return rows;
}

void BlockLoaders::finishRows() {
  surveyPoints_.drain([this](const SurveyPointRow& p) { storePoint(p); });
  connections_.drain([this](const PointConnection& c) { connect(c); });
}

void BlockLoaders::finishBlock() {
  finishRows();
  pointsIDHashIndexMap.compact();
  copiedPoints_.compact();
  for (IdMap<uint32_t>& ids : firstFileOfId_) ids.compact();
  model_.compactIndexes();
}

// Points with coordinates of their own: every row adds a point, and places
// it under the first owner it names (OP_ID, then DPM_ID, then HBPEJ_ID).
void BlockLoaders::loadSbm(const SplitLine& row) {
  const int32_t state = rowState_;
  const int ordinal = readInt(field(row, C::kPoradoveCisloBodu));
  const Point at = pointOfFileCoordinates(readReal(field(row, C::kSouradniceX)),
                                          readReal(field(row, C::kSouradniceY)));
  const int32_t index = modelOf(state).addPoint(at.x, at.y);
  // Only the exact drawing draws the shape of a line of its own points.
  const LineShape shape = exact_ && ordinal == 1
                              ? lineShapeOf(field(row, C::kParametrySpojeni))
                              : LineShape::kStraight;
  for (const Column ownerColumn : {C::kOpId, C::kDpmId, C::kHbpejId}) {
    const std::string_view owner = field(row, ownerColumn);
    if (!owner.empty()) {
      const DropReason why =
          mapsOf(state).sbmPointLists.place(sbmKeys_.keyOf(owner), index, ordinal, shape);
      if (why != DropReason::kNone) dropped(why);
      return;
    }
  }
}

// The measured position of a survey point, kept where it differs from the
// point's position on the map by a hundredth or more (what the drawing's two
// decimals show).
void BlockLoaders::loadSpol(const SplitLine& row) {
  const uint64_t key = idKey(field(row, C::kId));
  const PointRef* point = pointsIDHashIndexMap.find(key);
  if (point == nullptr) {
    finishRows();  // the point's row may still wait in the pipeline
    point = pointsIDHashIndexMap.find(key);
  }
  if (point == nullptr) {
    dropped(DropReason::kUnknownPoint);
    return;
  }
  // Survey points stand in the order of their points, which they add.
  CadastralModel& model = modelOf(point->state);
  SurveyPoint* const survey = std::lower_bound(
      model.surveyPoints.begin(), model.surveyPoints.end(), point->index,
      [](const SurveyPoint& candidate, int32_t index) { return candidate.point < index; });
  if (survey == model.surveyPoints.end() || survey->point != point->index) {
    dropped(DropReason::kUnknownPoint);
    return;
  }
  const Point measured = pointOfFileCoordinates(readReal(field(row, C::kSouradniceX)),
                                                readReal(field(row, C::kSouradniceY)));
  const Point drawn = model.points[static_cast<size_t>(point->index)];
  if (std::abs(measured.x - drawn.x) >= 0.005 || std::abs(measured.y - drawn.y) >= 0.005) {
    survey->measured = model.addPoint(measured.x, measured.y);
  }
}

void BlockLoaders::loadHp(const SplitLine& row) {
  if (givenBefore(kHpIds, field(row, C::kId))) return;
  const int32_t state = rowState_;
  const int typeCode = readInt(field(row, C::kTypppdKod));
  if (const auto points = takeLine(mapsOf(state).sbpPointLists[kHpOwner], field(row, C::kId))) {
    modelOf(state).addParcelBoundary(points->range, field(row, C::kParId1),
                                     field(row, C::kParId2), typeCode, points->shape);
  }
}

// Parcel labels. A row for a parcel no boundary introduced is skipped, as
// OBPEJ rows for a missing unit are: one bad row must not cost the drawing.
void BlockLoaders::loadOp(const SplitLine& row) {
  if (givenBefore(kOpIds, field(row, C::kId))) return;
  CadastralModel& model = modelOf(rowState_);
  const int32_t parcel = model.findParcel(field(row, C::kParId));
  if (parcel < 0) {
    dropped(DropReason::kUnknownParcel);
    return;
  }
  const TextLabel label = readTextLabel(row, model, false);
  const std::string_view kind = stripQuotes(field(row, C::kOparType));
  if (kind == "PC") {
    model.parcels[static_cast<size_t>(parcel)].numberLabel = label;
  } else if (kind == "PPC") {
    model.addExtraNumberLabel(parcel, label);
  } else if (kind == "SPC") {
    if (label.typeCode == kArrowTypeCode) {
      model.addArrow(parcel, label.x, label.y, label.angle, label.placed);
    } else if (exact_ && label.typeCode == kArrowLineTypeCode) {
      const auto points = takeLine(mapsOf(rowState_).sbmPointLists, field(row, C::kId));
      if (points && points->range.count >= 2) {
        const std::span<const int32_t> ends = slice(model.pointIndexPool, points->range);
        if (ends.front() >= 0 && ends.back() >= 0) {
          model.arrowLines.push_back(ArrowLine{parcel, ends.front(), ends.back()});
        }
      }
    } else if (exact_) {
      dropped(DropReason::kUnknownKind);
    }
  } else if (kind == "ZDP") {
    model.setSymbolLabel(parcel, label);
  } else if (exact_) {
    dropped(DropReason::kUnknownKind);
  }
}

// Building outline parts and building symbols; every row creates its
// building.
void BlockLoaders::loadOb(const SplitLine& row) {
  if (givenBefore(kObIds, field(row, C::kId))) return;
  const int32_t state = rowState_;
  CadastralModel& model = modelOf(state);
  Building& building = model.getOrCreateBuilding(field(row, C::kBudId));
  const std::string_view kind = stripQuotes(field(row, C::kObrbudType));
  if (kind == "ZDB") {
    building.symbolLabel = readTextLabel(row, model, false);
    // The standard drawing draws a building's last symbol; the exact one
    // every one.
    if (exact_) model.buildingSymbols.push_back(building.symbolLabel);
  } else if (kind == "OB") {
    if (const auto points = takeLine(mapsOf(state).sbpPointLists[kObOwner], field(row, C::kId))) {
      model.addGeneralPolyline(points->range, model.positionOf(building), points->shape);
    }
  } else if (exact_) {
    dropped(DropReason::kUnknownKind);
  }
}

// Map texts (kind "TPP") and inner drawing lines (type 21800). The exact
// drawing also takes a map element's symbol, placed or standing on a survey
// point, and a line of any type, through the points of SBP or of SBM.
void BlockLoaders::loadDpm(const SplitLine& row) {
  if (givenBefore(kDpmIds, field(row, C::kId))) return;
  const int32_t state = rowState_;
  CadastralModel& model = modelOf(state);
  const std::string_view kind = stripQuotes(field(row, C::kDpmType));
  const int typeCode = readInt(field(row, C::kTypppdKod));
  if (kind == "TPP") {
    model.mapTexts.push_back(readTextLabel(row, model, true));
    return;
  }
  if (!exact_) {
    if (typeCode != kInnerDrawingTypeCode) return;
    if (const auto points = takeLine(mapsOf(state).sbpPointLists[kDpmOwner], field(row, C::kId))) {
      model.addElementPolyline(points->range, kInnerDrawingTypeCode, points->shape);
    }
    return;
  }
  if (!field(row, C::kBpId).empty()) {
    if (const auto symbol = symbolOnPoint(row, state)) model.elementSymbols.push_back(*symbol);
    return;
  }
  const TextLabel label = readTextLabel(row, model, false);
  if (label.placed) {
    model.elementSymbols.push_back(label);
    return;
  }
  LookupMaps& maps = mapsOf(state);
  const uint64_t key = idKey(field(row, C::kId));
  PointLists& lists = maps.sbmPointLists.contains(key) ? maps.sbmPointLists
                                                        : maps.sbpPointLists[kDpmOwner];
  if (const auto points = takeLine(lists, field(row, C::kId))) {
    model.addElementPolyline(points->range, typeCode, points->shape);
  }
}

std::optional<TextLabel> BlockLoaders::symbolOnPoint(const SplitLine& row, int32_t state) {
  finishRows();  // the point's row may still wait in the pipeline
  const PointRef* point = pointsIDHashIndexMap.find(idKey(field(row, C::kBpId)));
  if (point == nullptr) {
    dropped(DropReason::kUnknownPoint);
    return std::nullopt;
  }
  CadastralModel& model = modelOf(state);
  TextLabel label = readTextLabel(row, model, false);
  const Point at = model.points[static_cast<size_t>(pointIn(state, *point))];
  label.x = at.x;
  label.y = at.y;
  label.placed = true;
  return label;
}

// Control points: a symbol on its survey point ("ZB"), or its number ("CB").
void BlockLoaders::loadObbp(const SplitLine& row) {
  const int32_t state = rowState_;
  const std::string_view kind = stripQuotes(field(row, C::kObbpType));
  if (kind == "ZB") {
    if (const auto symbol = symbolOnPoint(row, state)) {
      modelOf(state).controlPointSymbols.push_back(*symbol);
    }
  } else if (kind == "CB") {
    CadastralModel& model = modelOf(state);
    model.controlPointNumbers.push_back(readTextLabel(row, model, true));
  } else {
    dropped(DropReason::kUnknownKind);
  }
}

// Easements: each one's border through the SBP rows that name its ID.
void BlockLoaders::loadZvb(const SplitLine& row) {
  if (givenBefore(kZvbIds, field(row, C::kId))) return;
  const int32_t state = rowState_;
  CadastralModel& model = modelOf(state);
  const std::string_view id = field(row, C::kId);
  if (const auto points = takeLine(mapsOf(state).sbpPointLists[kZvbOwner], id)) {
    model.easements.push_back(IdentifiedLine{model.addText(id), points->range,
                                             readInt(field(row, C::kTypppdKod)), points->shape});
  }
}

// Soil-valuation unit borders, drawn through the SBM points of their ID.
void BlockLoaders::loadHbpej(const SplitLine& row) {
  if (givenBefore(kHbpejIds, field(row, C::kId))) return;
  const std::string_view code1 = stripQuotes(field(row, C::kBpejKodHranice1));
  const std::string_view code2 = stripQuotes(field(row, C::kBpejKodHranice2));
  if (const auto points = takeLine(mapsOf(0).sbmPointLists, field(row, C::kId))) {
    model_.addBpejBoundary(points->range, code1, code2);
  }
}

void BlockLoaders::loadObpej(const SplitLine& row) {
  BpejArea* area = model_.findBpejArea(stripQuotes(field(row, C::kBpejKod)));
  if (area == nullptr) {
    dropped(DropReason::kUnknownBpejArea);
    return;
  }
  area->label = readTextLabel(row, model_, false);
}

// Building types; their texts are converted whatever the code page.
void BlockLoaders::loadTypbud(const SplitLine& row) {
  const int code = readInt(field(row, C::kKod));
  std::string name(textOf(field(row, C::kNazev)));
  convertToUtf8(name, codePage_);
  std::string abbreviation;
  if (has(C::kZkratka)) {
    abbreviation = textOf(field(row, C::kZkratka));
    convertToUtf8(abbreviation, codePage_);
  }
  model_.addBuildingType(code, name, abbreviation);
}

// What the file says of a parcel, joined with the parcel of its ID.
void BlockLoaders::loadPar(const SplitLine& row) {
  CadastralModel& model = modelOf(rowState_);
  ParcelRecord record;
  record.id = model.addText(field(row, C::kId));
  record.numbering = readInt(field(row, C::kDruhCislovaniPar));
  record.stem = readInt(field(row, C::kKmenoveCisloPar));
  record.subdivision = readInt(field(row, C::kPoddeleniCislaPar));
  const std::string_view area = field(row, C::kVymeraParcely);
  record.area = area.empty() ? -1 : readWholeNumber(area);
  record.landType = readInt(field(row, C::kDrupozKod));
  record.landUse = readInt(field(row, C::kZpvypaKod));
  record.ownershipSheet = model.addText(field(row, C::kTelId));
  model.parcelRecords.push_back(record);
}

// The house number is kept as read: neither unquoted nor converted.
void BlockLoaders::loadBud(const SplitLine& row) {
  CadastralModel& model = modelOf(rowState_);
  const int typeCode = readInt(field(row, C::kTypbudKod));
  Building& building = model.getOrCreateBuilding(field(row, C::kId));
  building.numberLabel.text = model.addText(field(row, C::kCisloDomovni));
  building.typeCode = typeCode;
  if (exact_) {
    building.described = true;
    building.use = readInt(field(row, C::kZpvybuKod));
    building.ownershipSheet = model.addText(field(row, C::kTelId));
  }
}

void BlockLoaders::loadTel(const SplitLine& row) {
  model_.ownershipSheets.push_back(OwnershipSheet{
      model_.addText(field(row, C::kId)), readWholeNumber(field(row, C::kCisloTel))});
}

// The position of a building's number; its other label fields stay.
void BlockLoaders::loadObdebo(const SplitLine& row) {
  const std::string_view buildingId = field(row, C::kBudId);
  if (buildingId.empty()) return;
  const std::string_view x = field(row, C::kSouradniceX);
  const std::string_view y = field(row, C::kSouradniceY);
  const Point at = pointOfFileCoordinates(readReal(x), readReal(y));
  Building& building = model_.getOrCreateBuilding(buildingId);
  building.numberLabel.x = at.x;
  building.numberLabel.y = at.y;
  building.numberLabel.placed = !x.empty() && !y.empty();
}

void BlockLoaders::noteHeader(std::string_view key, std::string_view value) {
  if (key == "VERZE") model_.version = model_.addText(stripQuotes(value));
  if (key == "POLYG") model_.cutByPolygon = true;
}

void BlockLoaders::loadKatuze(const SplitLine& row) {
  model_.areaCode = model_.addText(field(row, C::kKod));
  model_.areaName = convertedText(model_, textOf(field(row, C::kNazev)));
}

// A code list's entry; a later one for the same code replaces it.
void BlockLoaders::loadCodeList(const SplitLine& row, PodVector<CodeName>& list) {
  CodeName entry;
  entry.code = readInt(field(row, C::kKod));
  const Column name = has(C::kVyznam) ? C::kVyznam : C::kNazev;
  entry.name = convertedText(model_, textOf(field(row, name)));
  entry.kind = readInt(field(row, C::kTypPrvku));
  for (CodeName& known : list) {
    if (known.code == entry.code) {
      known = entry;
      return;
    }
  }
  list.push_back(entry);
}

TextLabel BlockLoaders::readTextLabel(const SplitLine& row, CadastralModel& model, bool convert) {
  TextLabel label;
  label.typeCode = readInt(field(row, C::kTypppdKod));

  if (has(C::kText)) {
    const std::string_view text = textOf(field(row, C::kText));
    label.text = convert && codePage_ >= 1 ? convertedText(model, text) : model.addText(text);
  }

  const std::string_view x = field(row, C::kSouradniceX);
  const std::string_view y = field(row, C::kSouradniceY);
  const Point at = pointOfFileCoordinates(readReal(x), readReal(y));
  label.x = at.x;
  label.y = at.y;
  label.placed = !x.empty() && !y.empty();

  // Gon to degrees, in single precision.
  if (has(C::kUhel)) {
    const float gon = narrowToFloat(readReal(field(row, C::kUhel)));
    if (gon != 0.0f) label.angle = gon * 0.9f;
  }
  if (has(C::kVelikost)) label.size = narrowToFloat(readReal(field(row, C::kVelikost)));
  if (has(C::kVztaznyBod)) {
    const int32_t reference = readInt(field(row, C::kVztaznyBod));
    label.referencePoint = static_cast<int8_t>(reference >= 1 && reference <= 9 ? reference : 0);
  }
  return label;
}

std::string_view BlockLoaders::textOf(std::string_view value) {
  return exact_ ? unquotedText(value, unquoted_) : stripQuotes(value);
}

TextRef BlockLoaders::convertedText(CadastralModel& model, std::string_view text) {
  converted_.assign(text);
  convertToUtf8(converted_, codePage_);
  return model.addText(converted_);
}

}  // namespace vorlane
