#include "vfk/block_loaders.h"

#include <algorithm>
#include <string>

#include "vfk/numbers.h"
#include "vfk/text_conversion.h"
#include "vfk/vfk_parser.h"

namespace vorlane {

namespace {

constexpr int kArrowTypeCode = 1033;
constexpr int kInnerDrawingTypeCode = 21800;

LabelColumns findLabelColumns(const SplitLine& definition, bool hasText,
                              bool hasReferencePoint) {
  const int count = definition.fieldCount;
  LabelColumns columns;
  if (hasText) columns.textIdx = findFieldIndex(definition, count, "TEXT");
  columns.xIdx = findFieldIndex(definition, count, "SOURADNICE_X");
  columns.yIdx = findFieldIndex(definition, count, "SOURADNICE_Y");
  columns.sizeIdx = findFieldIndex(definition, count, "VELIKOST");
  columns.angleIdx = findFieldIndex(definition, count, "UHEL");
  if (hasReferencePoint) {
    columns.referencePointIdx = findFieldIndex(definition, count, "VZTAZNY_BOD");
  }
  return columns;
}

}  // namespace

void setPointIndexAt(PointList& list, int pointIndex, int position) {
  const auto at = static_cast<size_t>(position);
  if (at >= list.size()) list.resize(at + 1, -1);
  list[at] = pointIndex;
}

BlockLoaders::BlockLoaders(VfkParser& model) : model_(model) {}

void BlockLoaders::placePoint(IdMap<PointList>& lists, std::string_view ownerId, int pointIndex,
                              int ordinal) {
  if (ownerId.empty() || ordinal < 1 || ordinal > kMaxPointOrdinal) return;
  const uint64_t key = idKey(ownerId);
  PointList* found = lists.find(key);
  const int64_t size = found == nullptr ? 0 : static_cast<int64_t>(found->size());
  const int64_t growth = std::max<int64_t>(0, ordinal - size);
  const int64_t padding = std::max<int64_t>(0, growth - 1);
  if (padding > budget_.placeholdersLeft) return;
  budget_.placeholdersLeft -= padding;
  budget_.lineEntriesLeft += growth;
  setPointIndexAt(found == nullptr ? lists[key] : *found, pointIndex, ordinal - 1);
}

const PointList* BlockLoaders::takeList(IdMap<PointList>& lists, std::string_view id) {
  const PointList* found = lists.find(idKey(id));
  if (found == nullptr) return nullptr;
  const auto size = static_cast<int64_t>(found->size());
  if (size > budget_.lineEntriesLeft) return nullptr;
  budget_.lineEntriesLeft -= size;
  return found;
}

void BlockLoaders::defineBlock(BlockKind kind, const SplitLine& definition) {
  const int count = definition.fieldCount;
  auto find = [&definition, count](std::string_view name) {
    return findFieldIndex(definition, count, name);
  };
  FieldPositions& p = positions_;
  switch (kind) {
    case BlockKind::SOBR:
      p.pointIDIdx = find("ID");
      p.pointXIdx = find("SOURADNICE_X");
      p.pointYIdx = find("SOURADNICE_Y");
      break;
    case BlockKind::SBP:
      p.pointConnectionPointIDIdx = find("BP_ID");
      p.pointConnectionPointOrdinalNumberIdx = find("PORADOVE_CISLO_BODU");
      p.pointConnectionHpIDIdx = find("HP_ID");
      p.pointConnectionObIDIdx = find("OB_ID");
      p.pointConnectionDpmIDIdx = find("DPM_ID");
      break;
    case BlockKind::SBM:
      p.sbmPointOrdinalNumberIdx = find("PORADOVE_CISLO_BODU");
      p.sbmPointXIdx = find("SOURADNICE_X");
      p.sbmPointYIdx = find("SOURADNICE_Y");
      p.sbmOpIDIdx = find("OP_ID");
      p.sbmDpmIDIdx = find("DPM_ID");
      p.sbmHbpejIDIdx = find("HBPEJ_ID");
      break;
    case BlockKind::HP:
      p.parcelBoundaryIDIdx = find("ID");
      p.parcelBoundaryParcel1IDIdx = find("PAR_ID_1");
      p.parcelBoundaryParcel2IDIdx = find("PAR_ID_2");
      p.parcelBoundaryTypeIdx = find("TYPPPD_KOD");
      break;
    case BlockKind::OP:
      p.parcelAreaParcelIDIdx = find("PAR_ID");
      p.parcelAreaOparTypeIdx = find("OPAR_TYPE");
      p.parcelAreaTypPPDIdx = find("TYPPPD_KOD");
      p.parcelAreaLabel = findLabelColumns(definition, true, true);
      break;
    case BlockKind::OB:
      p.buildingAreaIDIdx = find("ID");
      p.buildingAreaBuildingIDIdx = find("BUD_ID");
      p.buildingAreaKindIdx = find("OBRBUD_TYPE");
      p.buildingAreaTypPPDIdx = find("TYPPPD_KOD");
      p.buildingAreaLabel = findLabelColumns(definition, false, false);
      break;
    case BlockKind::DPM:
      p.otherElementsIDIdx = find("ID");
      p.otherElementsDPMTypeIdx = find("DPM_TYPE");
      p.otherElementsTypPPDIdx = find("TYPPPD_KOD");
      p.otherElementsLabel = findLabelColumns(definition, true, true);
      break;
    case BlockKind::HBPEJ:
      p.bpejBoundaryIDIdx = find("ID");
      p.bpejBoundaryCode1Idx = find("BPEJ_KOD_HRANICE_1");
      p.bpejBoundaryCode2Idx = find("BPEJ_KOD_HRANICE_2");
      break;
    case BlockKind::OBPEJ:
      p.bpejIDIdx = find("BPEJ_KOD");
      p.bpejTypPPDIdx = find("TYPPPD_KOD");
      p.bpejLabel = findLabelColumns(definition, true, true);
      break;
    case BlockKind::TYPBUD:
      p.buildingTypeCodeIdx = find("KOD");
      p.buildingTypeNameIdx = find("NAZEV");
      p.buildingTypeAbbreviationIdx = find("ZKRATKA");
      break;
    case BlockKind::BUD:
      p.buildingBuildingIDIdx = find("ID");
      p.buildingBudCodeIdx = find("TYPBUD_KOD");
      p.buildingHouseNumberIdx = find("CISLO_DOMOVNI");
      break;
    case BlockKind::OBDEBO:
      p.obdeboBuildingIDIdx = find("BUD_ID");
      p.obdeboXIdx = find("SOURADNICE_X");
      p.obdeboYIdx = find("SOURADNICE_Y");
      break;
    case BlockKind::KATUZE:
    case BlockKind::kNone:
      break;
  }
}

void BlockLoaders::loadRow(BlockKind kind, const SplitLine& row) {
  switch (kind) {
    case BlockKind::SOBR: loadSobr(row); break;
    case BlockKind::SBP: loadSbp(row); break;
    case BlockKind::SBM: loadSbm(row); break;
    case BlockKind::HP: loadHp(row); break;
    case BlockKind::OP: loadOp(row); break;
    case BlockKind::OB: loadOb(row); break;
    case BlockKind::DPM: loadDpm(row); break;
    case BlockKind::HBPEJ: loadHbpej(row); break;
    case BlockKind::OBPEJ: loadObpej(row); break;
    case BlockKind::TYPBUD: loadTypbud(row); break;
    case BlockKind::BUD: loadBud(row); break;
    case BlockKind::OBDEBO: loadObdebo(row); break;
    case BlockKind::KATUZE:  // read, but the drawing uses nothing of it
    case BlockKind::kNone:
      break;
  }
}

// Survey points. A repeated ID maps to the later point.
void BlockLoaders::loadSobr(const SplitLine& row) {
  const double y = readReal(row.field(positions_.pointYIdx));
  const double x = readReal(row.field(positions_.pointXIdx));
  const int index = model_.addPoint(-y, -x);
  maps_.pointsIDHashIndexMap[idKey(row.field(positions_.pointIDIdx))] = index;
}

// Point connections: one row may place its survey point in a parcel
// boundary, a building outline and a map element at once.
void BlockLoaders::loadSbp(const SplitLine& row) {
  const FieldPositions& p = positions_;
  const int ordinal = readInt(row.field(p.pointConnectionPointOrdinalNumberIdx));
  const int* point = maps_.pointsIDHashIndexMap.find(idKey(row.field(p.pointConnectionPointIDIdx)));
  // A point no SOBR row defined has no index to place.
  if (point == nullptr) return;
  placePoint(maps_.hpPointLists, row.field(p.pointConnectionHpIDIdx), *point, ordinal);
  placePoint(maps_.obPointLists, row.field(p.pointConnectionObIDIdx), *point, ordinal);
  placePoint(maps_.dpmPointLists, row.field(p.pointConnectionDpmIDIdx), *point, ordinal);
}

// Points with coordinates of their own: every row adds a point, and places
// it under the first owner it names (OP_ID, then DPM_ID, then HBPEJ_ID).
void BlockLoaders::loadSbm(const SplitLine& row) {
  const FieldPositions& p = positions_;
  const int ordinal = readInt(row.field(p.sbmPointOrdinalNumberIdx));
  const double x = readReal(row.field(p.sbmPointXIdx));
  const double y = readReal(row.field(p.sbmPointYIdx));
  const int index = model_.addPoint(-y, -x);
  for (const int ownerIdx : {p.sbmOpIDIdx, p.sbmDpmIDIdx, p.sbmHbpejIDIdx}) {
    const std::string_view owner = row.field(ownerIdx);
    if (!owner.empty()) {
      placePoint(maps_.sbmPointLists, owner, index, ordinal);
      return;
    }
  }
}

void BlockLoaders::loadHp(const SplitLine& row) {
  const FieldPositions& p = positions_;
  const int typeCode = readInt(row.field(p.parcelBoundaryTypeIdx));
  if (const PointList* list = takeList(maps_.hpPointLists, row.field(p.parcelBoundaryIDIdx))) {
    model_.addParcelBoundary(*list, row.field(p.parcelBoundaryParcel1IDIdx),
                             row.field(p.parcelBoundaryParcel2IDIdx), typeCode);
  }
}

// Parcel labels. A row for a parcel no boundary introduced is skipped, as
// OBPEJ rows for a missing unit are: one bad row must not cost the drawing.
void BlockLoaders::loadOp(const SplitLine& row) {
  const FieldPositions& p = positions_;
  Parcel* parcel = model_.findParcel(row.field(p.parcelAreaParcelIDIdx));
  if (parcel == nullptr) return;
  const TextLabel& label = readTextLabel(row, p.parcelAreaTypPPDIdx, p.parcelAreaLabel, false);
  const std::string_view kind = stripQuotes(row.field(p.parcelAreaOparTypeIdx));
  if (kind == "PC") {
    parcel->numberLabel = label;
  } else if (kind == "PPC") {
    parcel->extraNumberLabels.push_back(label);
  } else if (kind == "SPC") {
    if (label.typeCode == kArrowTypeCode) parcel->addArrow(label.x, label.y, label.angle);
  } else if (kind == "ZDP") {
    parcel->symbolLabel = label;
  }
}

// Building outline parts and building symbols; every row creates its
// building.
void BlockLoaders::loadOb(const SplitLine& row) {
  const FieldPositions& p = positions_;
  Building& building = model_.getOrCreateBuilding(row.field(p.buildingAreaBuildingIDIdx));
  const std::string_view kind = stripQuotes(row.field(p.buildingAreaKindIdx));
  if (kind == "ZDB") {
    building.symbolLabel = readTextLabel(row, p.buildingAreaTypPPDIdx, p.buildingAreaLabel, false);
  } else if (kind == "OB") {
    if (const PointList* list = takeList(maps_.obPointLists, row.field(p.buildingAreaIDIdx))) {
      building.polylineIndices.push_back(model_.addGeneralPolyline(*list));
    }
  }
}

// Map texts (kind "TPP") and inner drawing lines (type 21800).
void BlockLoaders::loadDpm(const SplitLine& row) {
  const FieldPositions& p = positions_;
  const std::string_view kind = stripQuotes(row.field(p.otherElementsDPMTypeIdx));
  const int typeCode = readInt(row.field(p.otherElementsTypPPDIdx));
  if (kind == "TPP") {
    model_.mapTexts.push_back(
        readTextLabel(row, p.otherElementsTypPPDIdx, p.otherElementsLabel, true));
  } else if (typeCode == kInnerDrawingTypeCode) {
    if (const PointList* list = takeList(maps_.dpmPointLists, row.field(p.otherElementsIDIdx))) {
      model_.addElementPolyline(*list, kInnerDrawingTypeCode);
    }
  }
}

// Soil-valuation unit borders, drawn through the SBM points of their ID.
void BlockLoaders::loadHbpej(const SplitLine& row) {
  const FieldPositions& p = positions_;
  const std::string_view code1 = stripQuotes(row.field(p.bpejBoundaryCode1Idx));
  const std::string_view code2 = stripQuotes(row.field(p.bpejBoundaryCode2Idx));
  if (const PointList* list = takeList(maps_.sbmPointLists, row.field(p.bpejBoundaryIDIdx))) {
    model_.addBpejBoundary(*list, code1, code2);
  }
}

void BlockLoaders::loadObpej(const SplitLine& row) {
  const FieldPositions& p = positions_;
  BpejArea* area = model_.findBpejArea(stripQuotes(row.field(p.bpejIDIdx)));
  if (area != nullptr) area->label = readTextLabel(row, p.bpejTypPPDIdx, p.bpejLabel, false);
}

// Building types; their texts are converted whatever the code page.
void BlockLoaders::loadTypbud(const SplitLine& row) {
  const FieldPositions& p = positions_;
  const int code = readInt(row.field(p.buildingTypeCodeIdx));
  std::string name(stripQuotes(row.field(p.buildingTypeNameIdx)));
  convertToUtf8(name);
  std::string abbreviation;
  if (p.buildingTypeAbbreviationIdx != -1) {
    abbreviation = stripQuotes(row.field(p.buildingTypeAbbreviationIdx));
    convertToUtf8(abbreviation);
  }
  model_.addBuildingType(code, std::move(name), std::move(abbreviation));
}

// The house number is kept as read: neither unquoted nor converted.
void BlockLoaders::loadBud(const SplitLine& row) {
  const FieldPositions& p = positions_;
  const int typeCode = readInt(row.field(p.buildingBudCodeIdx));
  Building& building = model_.getOrCreateBuilding(row.field(p.buildingBuildingIDIdx));
  building.numberLabel.text = row.field(p.buildingHouseNumberIdx);
  building.typeCode = typeCode;
}

// The position of a building's number; its other label fields stay.
void BlockLoaders::loadObdebo(const SplitLine& row) {
  const FieldPositions& p = positions_;
  const std::string_view buildingId = row.field(p.obdeboBuildingIDIdx);
  if (buildingId.empty()) return;
  const double x = readReal(row.field(p.obdeboXIdx));
  const double y = readReal(row.field(p.obdeboYIdx));
  Building& building = model_.getOrCreateBuilding(buildingId);
  building.numberLabel.x = -y;
  building.numberLabel.y = -x;
}

const TextLabel& BlockLoaders::readTextLabel(const SplitLine& row, int typeCodeIdx,
                                             const LabelColumns& columns, bool convert) {
  TextLabel& label = label_;
  label.typeCode = readInt(row.field(typeCodeIdx));

  label.text.clear();
  if (columns.textIdx != -1) {
    label.text = stripQuotes(row.field(columns.textIdx));
    if (convert && codePage >= 1) convertToUtf8(label.text);
  }

  const double x = readReal(row.field(columns.xIdx));
  const double y = readReal(row.field(columns.yIdx));
  label.x = -y;
  label.y = -x;

  // Gon to degrees, in single precision.
  label.angle = 0.0f;
  if (columns.angleIdx != -1) {
    const float gon = narrowToFloat(readReal(row.field(columns.angleIdx)));
    if (gon != 0.0f) label.angle = gon * 0.9f;
  }

  label.size = 1.0f;
  if (columns.sizeIdx != -1) label.size = narrowToFloat(readReal(row.field(columns.sizeIdx)));

  label.referencePoint = 1;
  if (columns.referencePointIdx != -1) {
    label.referencePoint = readInt(row.field(columns.referencePointIdx));
  }
  return label;
}

}  // namespace vorlane
