// The step between reading and writing: cleans the point lists, orders the
// lines of every parcel and building into rings, supplies the default
// building types and measures the model's extent.
#include <algorithm>
#include <string>

#include "model/ring_chaining.h"
#include "platform/console.h"
#include "vfk/vfk_parser.h"

namespace vorlane {

namespace {

// Removes the -1 placeholders of a point list, in place, calling
// warn(position) for each with its position in the list as it was.
template <typename Warn>
void dropMissingPoints(PointList& list, Warn warn) {
  size_t kept = 0;
  for (size_t position = 0; position < list.size(); ++position) {
    if (list[position] < 0) {
      warn(position);
    } else {
      list[kept++] = list[position];
    }
  }
  list.resize(kept);
}

void dropMissingPoints(std::vector<Boundary>& parcelBoundaries,
                       std::vector<Polyline>& generalPolylines,
                       std::vector<Boundary>& bpejBoundaries,
                       std::vector<ElementPolyline>& elementPolylines) {
  MessageBatch warnings;
  for (Boundary& boundary : parcelBoundaries) {
    dropMissingPoints(boundary.pointIndices, [&](size_t position) {
      warnings << "[Warning]: Parcel border polyline point missing (point index = " << position
               << ", parcel ID1 = " << boundary.id1 << ", parcel ID2 = " << boundary.id2
               << ")\n";
    });
  }
  for (Polyline& polyline : generalPolylines) {
    dropMissingPoints(polyline.pointIndices, [&](size_t position) {
      warnings << "[Warning]: General polyline point missing (point index = " << position
               << ")\n";
    });
  }
  for (Boundary& boundary : bpejBoundaries) {
    dropMissingPoints(boundary.pointIndices, [&](size_t position) {
      warnings << "[Warning]: BPEJ polyline point missing (point index = " << position << ")\n";
    });
  }
  // Map-element lines are cleaned silently, so the writer never meets a
  // placeholder.
  for (ElementPolyline& polyline : elementPolylines) {
    dropMissingPoints(polyline.pointIndices, [](size_t) {});
  }
}

void addDefaultBuildingTypes(VfkParser& model) {
  model.addBuildingType(1, "budova s číslem popisným", "č.p.");
  model.addBuildingType(2, "budova s číslem evidenčním", "č.e.");
  model.addBuildingType(3, "budova bez čísla popisného nebo evidenčního", "bez čp/če");
  model.addBuildingType(4, "rozestavěná budova", "rozestav.");
  model.addBuildingType(5, "poschoďová garáž", "posch.gar");
  model.addBuildingType(6, "vodní dílo", "vod.dílo");
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

void VfkParser::resolveGeometry() {
  dropMissingPoints(parcelBoundaries, generalPolylines, bpejBoundaries, elementPolylines);

  for (auto& [id, parcel] : parcels) {
    parcel.hasMultipleRings = chainIntoRings(parcel.boundaryIndices, parcelBoundaries);
  }
  for (auto& [id, building] : buildings) {
    if (!building.polylineIndices.empty()) {
      building.hasMultipleRings = chainIntoRings(building.polylineIndices, generalPolylines);
    }
  }

  if (buildingTypes.empty()) addDefaultBuildingTypes(*this);

  for (const Point& point : points) widen(boundingBox, point);
}

}  // namespace vorlane
