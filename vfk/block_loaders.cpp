#include "vfk/block_loaders.h"

#include <algorithm>
#include <initializer_list>
#include <string>

#include "model/type_codes.h"
#include "vfk/numbers.h"
#include "vfk/text_conversion.h"

namespace vorlane {

BlockLoaders::BlockLoaders(CadastralModel& model, Diagnostics& diagnostics,
                           const PointBudget& limits)
    : model_(model), diagnostics_(diagnostics), maps_(model.pointIndexPool, limits) {}

void BlockLoaders::beginFile(int codePage, bool onePerId, bool exactTexts) {
  positions_ = FieldPositions();
  fieldsRead_.fill(0);
  codePage_ = codePage;
  onePerId_ = onePerId;
  exactTexts_ = exactTexts;
  ++file_;
}

bool BlockLoaders::givenBefore(IdBlock block, std::string_view id) {
  if (!onePerId_) return false;
  uint32_t& first = firstFileOfId_[block][idKey(id)];
  if (first == 0) first = file_;
  return first != file_;
}

void BlockLoaders::dropped(DropReason why, std::string_view block) const {
  diagnostics_.report(Finding{.kind = FindingKind::kRowDropped,
                              .reason = why,
                              .subject = block,
                              .number = static_cast<int64_t>(lineNumber_)});
}

std::optional<PointLists::Taken> BlockLoaders::takeLine(PointLists& lists, std::string_view id,
                                                        std::string_view block) {
  DropReason why = DropReason::kNone;
  const std::optional<PointLists::Taken> line = lists.take(idKey(id), why);
  if (!line) dropped(why, block);
  return line;
}

namespace {

// Where one column of a block goes in FieldPositions.
struct Column {
  std::string_view name;
  int FieldPositions::*position;
};

// The columns of a label row, and which of them a block's labels have.
struct LabelColumnSet {
  LabelColumns FieldPositions::*columns = nullptr;  // null: the block has no labels
  bool hasText = false;
  bool hasReferencePoint = false;
};

struct BlockColumns {
  BlockKind kind;
  std::initializer_list<Column> columns;
  LabelColumnSet labels;
};

using P = FieldPositions;

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

const BlockColumns kBlockColumns[] = {
    {BlockKind::SOBR,
     {{"ID", &P::pointIDIdx}, {"SOURADNICE_X", &P::pointXIdx}, {"SOURADNICE_Y", &P::pointYIdx}},
     {}},
    {BlockKind::SBP,
     {{"BP_ID", &P::pointConnectionPointIDIdx},
      {"PORADOVE_CISLO_BODU", &P::pointConnectionPointOrdinalNumberIdx},
      {"HP_ID", &P::pointConnectionHpIDIdx},
      {"OB_ID", &P::pointConnectionObIDIdx},
      {"DPM_ID", &P::pointConnectionDpmIDIdx},
      {"PARAMETRY_SPOJENI", &P::pointConnectionShapeIdx}},
     {}},
    {BlockKind::SBM,
     {{"PORADOVE_CISLO_BODU", &P::sbmPointOrdinalNumberIdx},
      {"SOURADNICE_X", &P::sbmPointXIdx},
      {"SOURADNICE_Y", &P::sbmPointYIdx},
      {"OP_ID", &P::sbmOpIDIdx},
      {"DPM_ID", &P::sbmDpmIDIdx},
      {"HBPEJ_ID", &P::sbmHbpejIDIdx}},
     {}},
    {BlockKind::HP,
     {{"ID", &P::parcelBoundaryIDIdx},
      {"PAR_ID_1", &P::parcelBoundaryParcel1IDIdx},
      {"PAR_ID_2", &P::parcelBoundaryParcel2IDIdx},
      {"TYPPPD_KOD", &P::parcelBoundaryTypeIdx}},
     {}},
    {BlockKind::OP,
     {{"ID", &P::parcelAreaIDIdx},
      {"PAR_ID", &P::parcelAreaParcelIDIdx},
      {"OPAR_TYPE", &P::parcelAreaOparTypeIdx},
      {"TYPPPD_KOD", &P::parcelAreaTypPPDIdx}},
     {&P::parcelAreaLabel, true, true}},
    {BlockKind::OB,
     {{"ID", &P::buildingAreaIDIdx},
      {"BUD_ID", &P::buildingAreaBuildingIDIdx},
      {"OBRBUD_TYPE", &P::buildingAreaKindIdx},
      {"TYPPPD_KOD", &P::buildingAreaTypPPDIdx}},
     {&P::buildingAreaLabel, false, false}},
    {BlockKind::DPM,
     {{"ID", &P::otherElementsIDIdx},
      {"DPM_TYPE", &P::otherElementsDPMTypeIdx},
      {"TYPPPD_KOD", &P::otherElementsTypPPDIdx}},
     {&P::otherElementsLabel, true, true}},
    {BlockKind::HBPEJ,
     {{"ID", &P::bpejBoundaryIDIdx},
      {"BPEJ_KOD_HRANICE_1", &P::bpejBoundaryCode1Idx},
      {"BPEJ_KOD_HRANICE_2", &P::bpejBoundaryCode2Idx}},
     {}},
    {BlockKind::OBPEJ,
     {{"BPEJ_KOD", &P::bpejIDIdx}, {"TYPPPD_KOD", &P::bpejTypPPDIdx}},
     {&P::bpejLabel, true, true}},
    {BlockKind::TYPBUD,
     {{"KOD", &P::buildingTypeCodeIdx},
      {"NAZEV", &P::buildingTypeNameIdx},
      {"ZKRATKA", &P::buildingTypeAbbreviationIdx}},
     {}},
    {BlockKind::BUD,
     {{"ID", &P::buildingBuildingIDIdx},
      {"TYPBUD_KOD", &P::buildingBudCodeIdx},
      {"CISLO_DOMOVNI", &P::buildingHouseNumberIdx}},
     {}},
    {BlockKind::OBDEBO,
     {{"BUD_ID", &P::obdeboBuildingIDIdx},
      {"SOURADNICE_X", &P::obdeboXIdx},
      {"SOURADNICE_Y", &P::obdeboYIdx}},
     {}},
};

}  // namespace

void BlockLoaders::defineBlock(BlockKind kind, const SplitLine& definition) {
  // Every position looked up here counts for the fields a row must give.
  int fieldsRead = 0;
  auto find = [&definition, &fieldsRead](std::string_view name) {
    const int position = findFieldIndex(definition, definition.fieldCount, name);
    fieldsRead = std::max(fieldsRead, position + 1);
    return position;
  };
  for (const BlockColumns& block : kBlockColumns) {
    if (block.kind != kind) continue;
    for (const Column& column : block.columns) positions_.*column.position = find(column.name);
    if (block.labels.columns == nullptr) continue;
    LabelColumns& label = positions_.*block.labels.columns;
    label = LabelColumns();
    if (block.labels.hasText) label.textIdx = find("TEXT");
    label.xIdx = find("SOURADNICE_X");
    label.yIdx = find("SOURADNICE_Y");
    label.sizeIdx = find("VELIKOST");
    label.angleIdx = find("UHEL");
    if (block.labels.hasReferencePoint) label.referencePointIdx = find("VZTAZNY_BOD");
  }
  fieldsRead_[static_cast<size_t>(kind)] = fieldsRead;
}

void BlockLoaders::loadRow(BlockKind kind, const SplitLine& row, uint64_t lineNumber) {
  lineNumber_ = lineNumber;
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
    case BlockKind::HBPEJ:
      loadHbpej(row);
      break;
    case BlockKind::OBPEJ:
      loadObpej(row);
      break;
    case BlockKind::TYPBUD:
      loadTypbud(row);
      break;
    case BlockKind::BUD:
      loadBud(row);
      break;
    case BlockKind::OBDEBO:
      loadObdebo(row);
      break;
    case BlockKind::KATUZE:  // read, but the drawing uses nothing of it
    case BlockKind::kNone:
      break;
  }
}

// Survey points. A repeated ID maps to the later point.
void BlockLoaders::loadSobr(const SplitLine& row) {
  if (givenBefore(kSobrIds, row.field(positions_.pointIDIdx))) return;
  const Point at = pointOfFileCoordinates(readReal(row.field(positions_.pointXIdx)),
                                          readReal(row.field(positions_.pointYIdx)));
  const SurveyPoint point{idKey(row.field(positions_.pointIDIdx)), model_.addPoint(at.x, at.y)};
  maps_.pointsIDHashIndexMap.prefetch(point.key);
  surveyPoints_.push(point, [this](const SurveyPoint& p) { storePoint(p); });
}

void BlockLoaders::storePoint(const SurveyPoint& point) {
  maps_.pointsIDHashIndexMap[point.key] = point.index;
}

// Point connections: one row may place its survey point in a parcel
// boundary, a building outline and a map element at once.
void BlockLoaders::loadSbp(const SplitLine& row) {
  const FieldPositions& p = positions_;
  PointConnection connection;
  connection.pointKey = idKey(row.field(p.pointConnectionPointIDIdx));
  connection.ordinal = readInt(row.field(p.pointConnectionPointOrdinalNumberIdx));
  connection.lineNumber = lineNumber_;
  if (connection.ordinal == 1) connection.shape = lineShapeOf(row.field(p.pointConnectionShapeIdx));
  const std::array<int, 3> owners = {p.pointConnectionHpIDIdx, p.pointConnectionObIDIdx,
                                     p.pointConnectionDpmIDIdx};
  const std::array<KeyCache*, 3> keys = {&hpKeys_, &obKeys_, &dpmKeys_};
  const std::array<PointLists*, 3> lists = maps_.sbpPointLists();
  for (size_t k = 0; k < owners.size(); ++k) {
    const std::string_view owner = row.field(owners[k]);
    connection.hasOwner[k] = !owner.empty();
    if (owner.empty()) continue;
    connection.ownerKeys[k] = keys[k]->keyOf(owner);
    lists[k]->prefetch(connection.ownerKeys[k]);
  }
  maps_.pointsIDHashIndexMap.prefetch(connection.pointKey);
  connections_.push(connection, [this](const PointConnection& c) { connect(c); });
}

void BlockLoaders::connect(const PointConnection& connection) {
  // The row was read a few rows ago.
  lineNumber_ = connection.lineNumber;
  const int32_t* point = maps_.pointsIDHashIndexMap.find(connection.pointKey);
  // A point no SOBR row defined has no index to place.
  if (point == nullptr) {
    dropped(DropReason::kUnknownPoint, "SBP");
    return;
  }
  const std::array<PointLists*, 3> lists = maps_.sbpPointLists();
  for (size_t k = 0; k < lists.size(); ++k) {
    if (!connection.hasOwner[k]) continue;
    const DropReason why =
        lists[k]->place(connection.ownerKeys[k], *point, connection.ordinal, connection.shape);
    if (why != DropReason::kNone) dropped(why, "SBP");
  }
}

void BlockLoaders::finishRows() {
  surveyPoints_.drain([this](const SurveyPoint& p) { storePoint(p); });
  connections_.drain([this](const PointConnection& c) { connect(c); });
}

// Points with coordinates of their own: every row adds a point, and places
// it under the first owner it names (OP_ID, then DPM_ID, then HBPEJ_ID).
void BlockLoaders::loadSbm(const SplitLine& row) {
  const FieldPositions& p = positions_;
  const int ordinal = readInt(row.field(p.sbmPointOrdinalNumberIdx));
  const Point at = pointOfFileCoordinates(readReal(row.field(p.sbmPointXIdx)),
                                          readReal(row.field(p.sbmPointYIdx)));
  const int32_t index = model_.addPoint(at.x, at.y);
  for (const int ownerIdx : {p.sbmOpIDIdx, p.sbmDpmIDIdx, p.sbmHbpejIDIdx}) {
    const std::string_view owner = row.field(ownerIdx);
    if (!owner.empty()) {
      const DropReason why = maps_.sbmPointLists.place(sbmKeys_.keyOf(owner), index, ordinal);
      if (why != DropReason::kNone) dropped(why, "SBM");
      return;
    }
  }
}

void BlockLoaders::loadHp(const SplitLine& row) {
  const FieldPositions& p = positions_;
  if (givenBefore(kHpIds, row.field(p.parcelBoundaryIDIdx))) return;
  const int typeCode = readInt(row.field(p.parcelBoundaryTypeIdx));
  if (const auto points = takeLine(maps_.hpPointLists, row.field(p.parcelBoundaryIDIdx), "HP")) {
    model_.addParcelBoundary(points->range, row.field(p.parcelBoundaryParcel1IDIdx),
                             row.field(p.parcelBoundaryParcel2IDIdx), typeCode, points->shape);
  }
}

// Parcel labels. A row for a parcel no boundary introduced is skipped, as
// OBPEJ rows for a missing unit are: one bad row must not cost the drawing.
void BlockLoaders::loadOp(const SplitLine& row) {
  const FieldPositions& p = positions_;
  if (givenBefore(kOpIds, row.field(p.parcelAreaIDIdx))) return;
  const int32_t parcel = model_.findParcel(row.field(p.parcelAreaParcelIDIdx));
  if (parcel < 0) {
    dropped(DropReason::kUnknownParcel, "OP");
    return;
  }
  const TextLabel label = readTextLabel(row, p.parcelAreaTypPPDIdx, p.parcelAreaLabel, false);
  const std::string_view kind = stripQuotes(row.field(p.parcelAreaOparTypeIdx));
  if (kind == "PC") {
    model_.parcels[static_cast<size_t>(parcel)].numberLabel = label;
  } else if (kind == "PPC") {
    model_.addExtraNumberLabel(parcel, label);
  } else if (kind == "SPC") {
    if (label.typeCode == kArrowTypeCode) {
      model_.addArrow(parcel, label.x, label.y, label.angle, label.placed);
    }
  } else if (kind == "ZDP") {
    model_.setSymbolLabel(parcel, label);
  }
}

// Building outline parts and building symbols; every row creates its
// building.
void BlockLoaders::loadOb(const SplitLine& row) {
  const FieldPositions& p = positions_;
  if (givenBefore(kObIds, row.field(p.buildingAreaIDIdx))) return;
  Building& building = model_.getOrCreateBuilding(row.field(p.buildingAreaBuildingIDIdx));
  const std::string_view kind = stripQuotes(row.field(p.buildingAreaKindIdx));
  if (kind == "ZDB") {
    building.symbolLabel = readTextLabel(row, p.buildingAreaTypPPDIdx, p.buildingAreaLabel, false);
  } else if (kind == "OB") {
    if (const auto points = takeLine(maps_.obPointLists, row.field(p.buildingAreaIDIdx), "OB")) {
      model_.addGeneralPolyline(points->range, model_.positionOf(building), points->shape);
    }
  }
}

// Map texts (kind "TPP") and inner drawing lines (type 21800).
void BlockLoaders::loadDpm(const SplitLine& row) {
  const FieldPositions& p = positions_;
  if (givenBefore(kDpmIds, row.field(p.otherElementsIDIdx))) return;
  const std::string_view kind = stripQuotes(row.field(p.otherElementsDPMTypeIdx));
  const int typeCode = readInt(row.field(p.otherElementsTypPPDIdx));
  if (kind == "TPP") {
    model_.mapTexts.push_back(
        readTextLabel(row, p.otherElementsTypPPDIdx, p.otherElementsLabel, true));
  } else if (typeCode == kInnerDrawingTypeCode) {
    if (const auto points = takeLine(maps_.dpmPointLists, row.field(p.otherElementsIDIdx), "DPM")) {
      model_.addElementPolyline(points->range, kInnerDrawingTypeCode, points->shape);
    }
  }
}

// Soil-valuation unit borders, drawn through the SBM points of their ID.
void BlockLoaders::loadHbpej(const SplitLine& row) {
  const FieldPositions& p = positions_;
  if (givenBefore(kHbpejIds, row.field(p.bpejBoundaryIDIdx))) return;
  const std::string_view code1 = stripQuotes(row.field(p.bpejBoundaryCode1Idx));
  const std::string_view code2 = stripQuotes(row.field(p.bpejBoundaryCode2Idx));
  if (const auto points = takeLine(maps_.sbmPointLists, row.field(p.bpejBoundaryIDIdx), "HBPEJ")) {
    model_.addBpejBoundary(points->range, code1, code2);
  }
}

void BlockLoaders::loadObpej(const SplitLine& row) {
  const FieldPositions& p = positions_;
  BpejArea* area = model_.findBpejArea(stripQuotes(row.field(p.bpejIDIdx)));
  if (area == nullptr) {
    dropped(DropReason::kUnknownBpejArea, "OBPEJ");
    return;
  }
  area->label = readTextLabel(row, p.bpejTypPPDIdx, p.bpejLabel, false);
}

// Building types; their texts are converted whatever the code page.
void BlockLoaders::loadTypbud(const SplitLine& row) {
  const FieldPositions& p = positions_;
  const int code = readInt(row.field(p.buildingTypeCodeIdx));
  std::string name(textOf(row.field(p.buildingTypeNameIdx)));
  convertToUtf8(name, codePage_);
  std::string abbreviation;
  if (p.buildingTypeAbbreviationIdx != -1) {
    abbreviation = textOf(row.field(p.buildingTypeAbbreviationIdx));
    convertToUtf8(abbreviation, codePage_);
  }
  model_.addBuildingType(code, name, abbreviation);
}

// The house number is kept as read: neither unquoted nor converted.
void BlockLoaders::loadBud(const SplitLine& row) {
  const FieldPositions& p = positions_;
  const int typeCode = readInt(row.field(p.buildingBudCodeIdx));
  Building& building = model_.getOrCreateBuilding(row.field(p.buildingBuildingIDIdx));
  building.numberLabel.text = model_.addText(row.field(p.buildingHouseNumberIdx));
  building.typeCode = typeCode;
}

// The position of a building's number; its other label fields stay.
void BlockLoaders::loadObdebo(const SplitLine& row) {
  const FieldPositions& p = positions_;
  const std::string_view buildingId = row.field(p.obdeboBuildingIDIdx);
  if (buildingId.empty()) return;
  const std::string_view x = row.field(p.obdeboXIdx);
  const std::string_view y = row.field(p.obdeboYIdx);
  const Point at = pointOfFileCoordinates(readReal(x), readReal(y));
  Building& building = model_.getOrCreateBuilding(buildingId);
  building.numberLabel.x = at.x;
  building.numberLabel.y = at.y;
  building.numberLabel.placed = !x.empty() && !y.empty();
}

TextLabel BlockLoaders::readTextLabel(const SplitLine& row, int typeCodeIdx,
                                      const LabelColumns& columns, bool convert) {
  TextLabel label;
  label.typeCode = readInt(row.field(typeCodeIdx));

  if (columns.textIdx != -1) {
    const std::string_view text = textOf(row.field(columns.textIdx));
    label.text = convert && codePage_ >= 1 ? convertedText(text) : model_.addText(text);
  }

  const std::string_view x = row.field(columns.xIdx);
  const std::string_view y = row.field(columns.yIdx);
  const Point at = pointOfFileCoordinates(readReal(x), readReal(y));
  label.x = at.x;
  label.y = at.y;
  label.placed = !x.empty() && !y.empty();

  // Gon to degrees, in single precision.
  if (columns.angleIdx != -1) {
    const float gon = narrowToFloat(readReal(row.field(columns.angleIdx)));
    if (gon != 0.0f) label.angle = gon * 0.9f;
  }
  if (columns.sizeIdx != -1) label.size = narrowToFloat(readReal(row.field(columns.sizeIdx)));
  if (columns.referencePointIdx != -1) {
    label.referencePoint = readInt(row.field(columns.referencePointIdx));
  }
  return label;
}

std::string_view BlockLoaders::textOf(std::string_view value) {
  return exactTexts_ ? unquotedText(value, unquoted_) : stripQuotes(value);
}

TextRef BlockLoaders::convertedText(std::string_view text) {
  converted_.assign(text);
  convertToUtf8(converted_, codePage_);
  return model_.addText(converted_);
}

}  // namespace vorlane
