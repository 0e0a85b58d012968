// Fuzzes the reader and geometry resolution alone, for each drawing,
// checking the model the writer relies on: every range and position points into its array, the
// areas are in identifier order and list what names them, and the extent
// holds every point.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/fuzz_input.h"
#include "vfk/vfk_parser.h"

namespace {

using vorlane::fuzz::fail;
using namespace vorlane;

void checkRange(IndexRange range, size_t size) {
  if (uint64_t{range.first} + range.count > size) fail("a range beyond its array");
}

void checkPositions(std::span<const int32_t> positions, size_t size) {
  for (const int32_t position : positions) {
    if (position < 0 || static_cast<size_t>(position) >= size) fail("a position out of range");
  }
}

// The exact drawing keeps the gaps (-1) of its lines.
template <typename Line>
void checkLines(const CadastralModel& model, const PodVector<Line>& lines, bool exact) {
  for (const Line& line : lines) {
    checkRange(line.pointIndices, model.pointIndexPool.size());
    for (const int32_t point : model.pointIndicesOf(line)) {
      if (!(exact && point == -1)) checkPositions({&point, 1}, model.points.size());
    }
  }
}

void checkSide(int32_t area, size_t areas) {
  if (area != kNoArea && (area < 0 || static_cast<size_t>(area) >= areas))
    fail("a side out of range");
}

// Identifiers strictly in byte order, each found again under itself.
template <typename Record, typename Find>
void checkOrder(const CadastralModel& model, const PodVector<Record>& records,
                TextRef Record::*name, const Find& find) {
  for (size_t i = 0; i < records.size(); ++i) {
    const std::string_view id = model.text(records[i].*name);
    if (i > 0 && !(model.text(records[i - 1].*name) < id)) fail("areas out of identifier order");
    if (find(id) != static_cast<int32_t>(i)) fail("an area not found under its identifier");
  }
}

void checkModel(CadastralModel& model, bool exact) {
  checkLines(model, model.parcelBoundaries, exact);
  checkLines(model, model.bpejBoundaries, exact);
  checkLines(model, model.generalPolylines, exact);
  checkLines(model, model.elementPolylines, exact);
  for (const Boundary& boundary : model.parcelBoundaries) {
    checkSide(boundary.area1, model.parcels.size());
    checkSide(boundary.area2, model.parcels.size());
  }
  for (const Boundary& boundary : model.bpejBoundaries) {
    checkSide(boundary.area1, model.bpejAreas.size());
    checkSide(boundary.area2, model.bpejAreas.size());
  }
  checkOrder(model, model.parcels, &Parcel::id,
             [&](std::string_view id) { return model.findParcel(id); });
  checkOrder(model, model.buildings, &Building::id,
             [&](std::string_view id) { return model.findBuilding(id); });
  checkOrder(model, model.bpejAreas, &BpejArea::code, [&](std::string_view code) {
    const BpejArea* area = model.findBpejArea(code);
    return area == nullptr ? -1 : static_cast<int32_t>(area - model.bpejAreas.data());
  });

  for (size_t p = 0; p < model.parcels.size(); ++p) {
    const Parcel& parcel = model.parcels[p];
    checkRange(model.ringLinesOf(parcel).range(), model.parcelBoundaryIndices.size());
    for (const int32_t n : model.boundaryIndicesOf(parcel)) {
      checkPositions({&n, 1}, model.parcelBoundaries.size());
      const Boundary& boundary = model.parcelBoundaries[static_cast<size_t>(n)];
      if (boundary.area1 != static_cast<int32_t>(p) && boundary.area2 != static_cast<int32_t>(p)) {
        fail("a parcel lists a boundary not on its side");
      }
    }
    for (const ParcelLabel& label : model.extraNumberLabelsOf(parcel)) {
      if (label.parcel != static_cast<int32_t>(p)) fail("an extra label with another parcel");
    }
    for (const ParcelArrow& arrow : model.arrowsOf(parcel)) {
      if (arrow.parcel != static_cast<int32_t>(p)) fail("an arrow with another parcel");
    }
  }
  for (const ParcelLabel& symbol : model.symbolLabels) {
    checkPositions({&symbol.parcel, 1}, model.parcels.size());
  }
  for (const BpejArea& area : model.bpejAreas) {
    checkRange(area.boundaryIndices, model.bpejBoundaryIndices.size());
    checkPositions(model.boundaryIndicesOf(area), model.bpejBoundaries.size());
  }
  for (size_t b = 0; b < model.buildings.size(); ++b) {
    checkRange(model.ringLinesOf(model.buildings[b]).range(),
               model.buildingPolylineIndices.size());
    for (const int32_t n : model.polylineIndicesOf(model.buildings[b])) {
      checkPositions({&n, 1}, model.generalPolylines.size());
      if (model.generalPolylines[static_cast<size_t>(n)].building != static_cast<int32_t>(b)) {
        fail("a building lists another's outline");
      }
    }
  }
  // Comparisons with a NaN are false, so such points are left out.
  const BoundingBox& box = model.boundingBox;
  for (const Point& point : model.points) {
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
  IgnoredDiagnostics ignored;
  VfkParser parser(ignored, fuzz::kFuzzLimits);
  const bool exact = size % 2 == 1;
  const std::span bytes(reinterpret_cast<const char*>(data), size);
  if (!parser.parseBytes(bytes, "input.vfk", kAnsiCodePage, {.exact = exact}).opened) {
    fail("a readable input was not read");
  }
  checkModel(parser.model, exact);
  return 0;
}
