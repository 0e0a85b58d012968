// The operations that build the cadastral model while a file is read.
#include "model/cadastral_model.h"

#include <algorithm>
#include <stdexcept>

#include "platform/fixed_decimals.h"

namespace vorlane {

namespace {

// Where the type with "code" stands, or would stand, in the code-ordered types.
template <typename Types>
auto typeSlot(Types& types, int32_t code) {
  return std::lower_bound(types.begin(), types.end(), code,
                          [](const BuildingType& type, int32_t c) { return type.code < c; });
}

}  // namespace

std::string parcelNumberOf(const ParcelRecord& record) {
  std::string number;
  appendParcelNumber(record, number);
  return number;
}

void appendParcelNumber(const ParcelRecord& record, std::string& text) {
  if (record.numbering == 1) text += "st. ";
  appendNumber(text, record.stem);
  if (record.subdivision > 0) {
    text += '/';
    appendNumber(text, record.subdivision);
  }
}

void CadastralModel::clear() { *this = CadastralModel(); }

void CadastralModel::compactIndexes() {
  parcelIndex_.compact();
  bpejAreaIndex_.compact();
  buildingIndex_.compact();
  for (auto& [state, model] : otherStates) model->compactIndexes();
}

int32_t CadastralModel::addPoint(double x, double y) {
  points.push_back(Point{x, y});
  return static_cast<int32_t>(points.size() - 1);
}

IndexRange CadastralModel::addPointList(std::span<const int32_t> pointIndices) {
  const IndexRange range{static_cast<uint32_t>(pointIndexPool.size()),
                         static_cast<uint32_t>(pointIndices.size())};
  pointIndexPool.append(pointIndices.data(), pointIndices.size());
  return range;
}

int32_t CadastralModel::findParcel(std::string_view id) {
  // Label rows often name the parcel of the row before, or the one made
  // after it.
  for (const int32_t near : {lastParcel_, lastParcel_ + 1}) {
    if (near >= 0 && static_cast<size_t>(near) < parcels.size() &&
        text(parcels[static_cast<size_t>(near)].id) == id) {
      lastParcel_ = near;
      return near;
    }
  }
  const int32_t position = parcelIndex_.find(hashId(id), named(parcels, &Parcel::id, id));
  if (position >= 0) lastParcel_ = position;
  return position;
}

Parcel& CadastralModel::getParcel(std::string_view id) {
  const int32_t position = findParcel(id);
  if (position < 0) throw std::invalid_argument("Parcel with given ID does not exist");
  return parcels[static_cast<size_t>(position)];
}

BpejArea* CadastralModel::findBpejArea(std::string_view code) {
  const int32_t position =
      bpejAreaIndex_.find(hashId(code), named(bpejAreas, &BpejArea::code, code));
  return position < 0 ? nullptr : &bpejAreas[static_cast<size_t>(position)];
}

int32_t CadastralModel::findBuilding(std::string_view id) const {
  return buildingIndex_.find(hashId(id), named(buildings, &Building::id, id));
}

template <typename Record>
int32_t CadastralModel::findOrAdd(PodVector<Record>& records, HashIndex& index,
                                  TextRef Record::*name, std::string_view wanted) {
  const auto next = static_cast<int32_t>(records.size());
  const int32_t position = index.findOrAdd(hashId(wanted), next, named(records, name, wanted));
  if (position == next) {
    Record record;
    record.*name = texts.add(wanted);
    records.push_back(record);
  }
  return position;
}

Building& CadastralModel::getOrCreateBuilding(std::string_view id) {
  return buildings[static_cast<size_t>(findOrAdd(buildings, buildingIndex_, &Building::id, id))];
}

int32_t CadastralModel::findOrAddParcel(std::string_view id) {
  if (id.empty()) return kNoArea;
  if (lastParcel_ < 0 || text(parcels[static_cast<size_t>(lastParcel_)].id) != id) {
    lastParcel_ = findOrAdd(parcels, parcelIndex_, &Parcel::id, id);
  }
  return lastParcel_;
}

int32_t CadastralModel::findOrAddBpejArea(std::string_view code) {
  if (code.empty()) return kNoArea;
  return findOrAdd(bpejAreas, bpejAreaIndex_, &BpejArea::code, code);
}

int32_t CadastralModel::addParcelBoundary(IndexRange pointIndices, std::string_view id1,
                                          std::string_view id2, int32_t typeCode, LineShape shape) {
  const int32_t area1 = findOrAddParcel(id1);
  const int32_t area2 = findOrAddParcel(id2);
  const bool kept = typeCode >= 0 && typeCode <= INT16_MAX;
  parcelBoundaries.push_back(
      Boundary{pointIndices, area1, area2, static_cast<int16_t>(kept ? typeCode : 0), shape});
  return static_cast<int32_t>(parcelBoundaries.size() - 1);
}

int32_t CadastralModel::addBpejBoundary(IndexRange pointIndices, std::string_view code1,
                                        std::string_view code2) {
  const int32_t area1 = findOrAddBpejArea(code1);
  const int32_t area2 = findOrAddBpejArea(code2);
  bpejBoundaries.push_back(Boundary{pointIndices, area1, area2});
  return static_cast<int32_t>(bpejBoundaries.size() - 1);
}

int32_t CadastralModel::addGeneralPolyline(IndexRange pointIndices, int32_t building,
                                           LineShape shape) {
  generalPolylines.push_back(Polyline{pointIndices, building, shape});
  return static_cast<int32_t>(generalPolylines.size() - 1);
}

void CadastralModel::addElementPolyline(IndexRange pointIndices, int32_t typeCode,
                                        LineShape shape) {
  elementPolylines.push_back(ElementPolyline{pointIndices, typeCode, shape});
}

void CadastralModel::addBuildingType(int32_t code, std::string_view name,
                                     std::string_view abbreviation) {
  const BuildingType type{code, texts.add(name), texts.add(abbreviation)};
  BuildingType* const at = typeSlot(buildingTypes, code);
  if (at != buildingTypes.end() && at->code == code) {
    *at = type;
    return;
  }
  // Types are few: inserting by moving the ones after is cheap.
  const auto position = static_cast<size_t>(at - buildingTypes.begin());
  buildingTypes.push_back(type);
  std::rotate(buildingTypes.begin() + position, buildingTypes.end() - 1, buildingTypes.end());
}

const BuildingType* CadastralModel::findBuildingType(int32_t code) const {
  const BuildingType* const at = typeSlot(buildingTypes, code);
  return at != buildingTypes.end() && at->code == code ? at : nullptr;
}

void CadastralModel::setSymbolLabel(int32_t parcel, const TextLabel& label) {
  symbolLabels.push_back(ParcelLabel{parcel, label});
}

const TextLabel& CadastralModel::symbolLabelOf(const Parcel& parcel) const {
  static const TextLabel kNone;
  if (symbolLabelPositions_.empty()) return kNone;
  const int32_t position = symbolLabelPositions_[static_cast<size_t>(&parcel - parcels.data())];
  return position < 0 ? kNone : symbolLabels[static_cast<size_t>(position)].label;
}

void CadastralModel::addExtraNumberLabel(int32_t parcel, const TextLabel& label) {
  extraNumberLabels.push_back(ParcelLabel{parcel, label});
}

void CadastralModel::addArrow(int32_t parcel, double x, double y, float angle, bool placed) {
  arrows.push_back(ParcelArrow{parcel, angle, x, y, placed});
}

CadastralModel& CadastralModel::stateModel(int32_t state) {
  if (state == 0) return *this;
  std::unique_ptr<CadastralModel>& model = otherStates[state];
  if (!model) model = std::make_unique<CadastralModel>();
  return *model;
}

std::string CadastralModel::cadastralNameOf(const Parcel& parcel) const {
  const ParcelRecord* record = recordOf(parcel);
  if (record == nullptr) return {};
  return record->numbering == 1 ? parcelNumberOf(*record) : "p.č. " + parcelNumberOf(*record);
}

std::string CadastralModel::cadastralNameOf(std::string_view parcelId) const {
  if (parcelRecordPositions_.empty() || parcelId.empty()) return {};
  const int32_t position = parcelIndex_.find(hashId(parcelId), named(parcels, &Parcel::id, parcelId));
  return position < 0 ? std::string() : cadastralNameOf(parcels[static_cast<size_t>(position)]);
}

const ParcelRecord* CadastralModel::recordOf(const Parcel& parcel) const {
  if (parcelRecordPositions_.empty()) return nullptr;
  const int32_t position = parcelRecordPositions_[static_cast<size_t>(&parcel - parcels.data())];
  return position < 0 ? nullptr : &parcelRecords[static_cast<size_t>(position)];
}

std::string_view CadastralModel::nameOf(const PodVector<CodeName>& list, int32_t code) const {
  for (const CodeName& entry : list) {
    if (entry.code == code) return text(entry.name);
  }
  return {};
}

void CadastralModel::indexOwnershipSheets() {
  sheetIndex_ = HashIndex();
  for (size_t k = 0; k < ownershipSheets.size(); ++k) {
    const std::string_view id = text(ownershipSheets[k].id);
    // The first of an identifier stays the one found.
    sheetIndex_.findOrAdd(hashId(id), static_cast<int32_t>(k),
                          named(ownershipSheets, &OwnershipSheet::id, id));
  }
}

int64_t CadastralModel::sheetNumberOf(std::string_view id) const {
  if (id.empty()) return -1;
  const int32_t sheet =
      sheetIndex_.find(hashId(id), named(ownershipSheets, &OwnershipSheet::id, id));
  return sheet < 0 ? -1 : ownershipSheets[static_cast<size_t>(sheet)].number;
}

void CadastralModel::buildingNumberText(const Building& building, std::string& number) const {
  number.clear();
  if (const BuildingType* type = findBuildingType(building.typeCode)) {
    number = text(type->abbreviation);
  }
  if (building.typeCode == 1 || building.typeCode == 2) {
    number += ' ';
    number += text(building.numberLabel.text);
  }
}

}  // namespace vorlane
