// VfkParser's operations on the cadastral model, called by the block loaders.
#include <stdexcept>
#include <utility>

#include "vfk/vfk_parser.h"

namespace vorlane {

Parcel::Parcel(const Parcel& other)
    : id(other.id),
      numberLabel(other.numberLabel),
      extraNumberLabels(other.extraNumberLabels),
      symbolLabel(other.symbolLabel),
      arrows(other.arrows ? std::make_unique<std::vector<ParcelArrow>>(*other.arrows)
                          : nullptr),
      hasMultipleRings(other.hasMultipleRings),
      boundaryIndices(other.boundaryIndices),
      owner(other.owner) {}

Parcel& Parcel::operator=(const Parcel& other) {
  if (this != &other) *this = Parcel(other);
  return *this;
}

void Parcel::addArrow(double x, double y, float angle) {
  if (!arrows) arrows = std::make_unique<std::vector<ParcelArrow>>();
  arrows->push_back(ParcelArrow{angle, x, y});
}

// A model object reads one file, so the collections that are not emptied
// here are still empty when the reader starts.
void VfkParser::clear() {
  parcels.clear();
  buildings.clear();
  points.clear();
  parcelBoundaries.clear();
  generalPolylines.clear();
  mapTexts.clear();
  boundingBox = BoundingBox{};
}

int VfkParser::addPoint(double x, double y) {
  points.push_back(Point{x, y});
  return static_cast<int>(points.size()) - 1;
}

Parcel* VfkParser::findParcel(std::string_view id) {
  const auto found = parcels.find(id);
  return found == parcels.end() ? nullptr : &found->second;
}

Parcel& VfkParser::getParcel(std::string_view id) {
  Parcel* parcel = findParcel(id);
  if (parcel == nullptr) throw std::invalid_argument("Parcel with given ID does not exist");
  return *parcel;
}

BpejArea* VfkParser::findBpejArea(std::string_view code) {
  const auto found = bpejAreas.find(code);
  return found == bpejAreas.end() ? nullptr : &found->second;
}

Building& VfkParser::getOrCreateBuilding(std::string_view id) {
  auto found = buildings.find(id);
  if (found == buildings.end()) {
    Building building;
    building.id = std::string(id);
    building.owner = this;
    found = buildings.emplace(building.id, std::move(building)).first;
  }
  return found->second;
}

namespace {

// Lists boundary n with the area keyed "id", creating the area on its first
// boundary. An empty identifier (the edge of the surveyed area) registers
// nothing.
template <typename Area, typename Init>
void registerBoundary(std::map<std::string, Area, std::less<>>& areas, std::string_view id,
                      int n, Init initNewArea) {
  if (id.empty()) return;
  const auto found = areas.lower_bound(id);
  if (found != areas.end() && found->first == id) {
    found->second.boundaryIndices.push_back(n);
    return;
  }
  Area area;
  initNewArea(area, std::string(id));
  area.boundaryIndices.push_back(n);
  areas.emplace_hint(found, std::string(id), std::move(area));
}

}  // namespace

int VfkParser::addParcelBoundary(const PointList& pointList, std::string_view id1,
                                 std::string_view id2, int typeCode) {
  parcelBoundaries.push_back(
      Boundary{pointList, this, std::string(id1), std::string(id2), typeCode});
  const int n = static_cast<int>(parcelBoundaries.size()) - 1;
  auto init = [this](Parcel& parcel, std::string id) {
    parcel.id = std::move(id);
    parcel.owner = this;
  };
  registerBoundary(parcels, id1, n, init);
  registerBoundary(parcels, id2, n, init);
  return n;
}

int VfkParser::addBpejBoundary(const PointList& pointList, std::string_view id1,
                               std::string_view id2) {
  bpejBoundaries.push_back(Boundary{pointList, this, std::string(id1), std::string(id2), 0});
  const int n = static_cast<int>(bpejBoundaries.size()) - 1;
  auto init = [this](BpejArea& area, std::string code) {
    area.code = std::move(code);
    area.owner = this;
  };
  registerBoundary(bpejAreas, id1, n, init);
  registerBoundary(bpejAreas, id2, n, init);
  return n;
}

int VfkParser::addGeneralPolyline(const PointList& pointList) {
  generalPolylines.push_back(Polyline{pointList});
  return static_cast<int>(generalPolylines.size()) - 1;
}

void VfkParser::addElementPolyline(const PointList& pointList, int typeCode) {
  elementPolylines.push_back(ElementPolyline{pointList, this, typeCode});
}

void VfkParser::addBuildingType(int code, std::string name, std::string abbreviation) {
  buildingTypes.insert_or_assign(code,
                                 BuildingType{code, std::move(name), std::move(abbreviation)});
}

}  // namespace vorlane
