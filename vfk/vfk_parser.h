// VfkParser reads one VFK file and owns the cadastral model built from it.
// Start here: parseFile() reads the file (parse_file.cpp) through the block
// loaders (block_loaders.h), which build the model only through the
// operations below (model/model_operations.cpp); resolveGeometry()
// (model/geometry_resolution.cpp) then prepares the model for the writer.
#ifndef VORLANE_VFK_VFK_PARSER_H_
#define VORLANE_VFK_VFK_PARSER_H_

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "model/records.h"
#include "platform/path.h"

namespace vorlane {

class VfkParser {
 public:
  VfkParser() = default;
  // Records point back at their parser, so it never moves.
  VfkParser(const VfkParser&) = delete;
  VfkParser& operator=(const VfkParser&) = delete;

  // Clears the model, reads the whole file at vfkPath into it and resolves
  // its geometry. Returns false only when the file cannot be opened (after
  // printing a message); the model is then empty.
  bool parseFile(PathView vfkPath);

  // Model operations.
  void clear();
  int addPoint(double x, double y);
  // Throws std::invalid_argument when there is no such parcel.
  Parcel& getParcel(std::string_view id);
  Parcel* findParcel(std::string_view id);
  BpejArea* findBpejArea(std::string_view code);
  Building& getOrCreateBuilding(std::string_view id);
  int addParcelBoundary(const PointList& points, std::string_view id1,
                        std::string_view id2, int typeCode);
  int addBpejBoundary(const PointList& points, std::string_view id1, std::string_view id2);
  int addGeneralPolyline(const PointList& points);
  void addElementPolyline(const PointList& points, int typeCode);
  void addBuildingType(int code, std::string name, std::string abbreviation);

  // Drops missing points (with warnings), chains parcel and building lines
  // into rings, adds default building types and computes the bounding box.
  void resolveGeometry();

  // The model. Maps are ordered byte-wise by their keys.
  std::map<std::string, Parcel, std::less<>> parcels;
  std::map<std::string, BpejArea, std::less<>> bpejAreas;
  std::map<std::string, Building, std::less<>> buildings;
  std::map<int, BuildingType> buildingTypes;
  std::vector<Point> points;
  std::vector<Boundary> parcelBoundaries;
  std::vector<Boundary> bpejBoundaries;
  std::vector<Polyline> generalPolylines;
  std::vector<TextLabel> mapTexts;
  std::vector<ElementPolyline> elementPolylines;
  BoundingBox boundingBox;
};

}  // namespace vorlane

#endif  // VORLANE_VFK_VFK_PARSER_H_
