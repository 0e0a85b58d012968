// Fuzzes the reader and geometry resolution alone, checking the model the
// writer relies on: every index points into its vector, every record points
// back at its parser, and the extent holds every point.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "vfk/vfk_parser.h"

namespace {

using vorlane::fuzz::fail;

template <typename Container>
void checkIndices(const std::vector<int>& indices, const Container& target) {
  for (const int index : indices) {
    if (index < 0 || static_cast<size_t>(index) >= target.size()) fail("an index out of range");
  }
}

void checkModel(const vorlane::VfkParser& model) {
  for (const auto& boundary : model.parcelBoundaries) {
    checkIndices(boundary.pointIndices, model.points);
    if (boundary.owner != &model) fail("a parcel boundary of another parser");
  }
  for (const auto& boundary : model.bpejBoundaries) checkIndices(boundary.pointIndices, model.points);
  for (const auto& polyline : model.generalPolylines) checkIndices(polyline.pointIndices, model.points);
  for (const auto& polyline : model.elementPolylines) {
    checkIndices(polyline.pointIndices, model.points);
    if (polyline.owner != &model) fail("a map line of another parser");
  }
  for (const auto& [id, parcel] : model.parcels) {
    checkIndices(parcel.boundaryIndices, model.parcelBoundaries);
    if (parcel.owner != &model || parcel.id != id) fail("a parcel filed wrongly");
  }
  for (const auto& [code, area] : model.bpejAreas) {
    checkIndices(area.boundaryIndices, model.bpejBoundaries);
    if (area.owner != &model || area.code != code) fail("a BPEJ unit filed wrongly");
  }
  for (const auto& [id, building] : model.buildings) {
    checkIndices(building.polylineIndices, model.generalPolylines);
    if (building.owner != &model || building.id != id) fail("a building filed wrongly");
  }
  // Comparisons with a NaN are false, so such points are left out.
  const auto& box = model.boundingBox;
  for (const auto& point : model.points) {
    if (point.x < box.minX || point.x > box.maxX || point.y < box.minY || point.y > box.maxY) {
      fail("a point outside the extent");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  vorlane::fuzz::prepareFuzzing();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const vorlane::PathString path = vorlane::fuzz::writeInput(data, size);
  vorlane::VfkParser model;
  if (!model.parseFile(path)) fail("a readable file was not read");
  checkModel(model);
  return 0;
}
