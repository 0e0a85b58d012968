#include "svg/boundary_layers.h"

#include <optional>
#include <string_view>

#include "svg/layer_group.h"
#include "svg/text_element.h"

namespace vorlane {

namespace {

constexpr int kCadastralAreaBorderType = 20602;
constexpr int kInnerDrawingType = 21800;

constexpr std::string_view kParcelStyle = " style=\"fill:none;stroke:black;stroke-width:0.2\"";
constexpr std::string_view kBpejStyle = " style=\"fill:none;stroke:orange;stroke-width:1\"";
constexpr std::string_view kBlackStyle = " style=\"fill:none;stroke:black;stroke-width:1\"";
constexpr std::string_view kRedStyle = " style=\"fill:none;stroke:red;stroke-width:1\"";

// The shared walk of collectRingPoints over "order", indices into "lines".
template <typename Line>
int collectChain(const std::vector<int>& order, const std::vector<Line>& lines,
                 const std::vector<Point>& modelPoints, RingPoints& points) {
  points.clear();
  const size_t n = order.size();
  if (n == 0) return 0;
  auto line = [&](size_t k) -> const PointList& { return lines[order[k]].pointIndices; };
  auto append = [&](int pointIndex) { points.push_back(&modelPoints[pointIndex]); };

  const PointList& first = line(0);
  int end;  // the point index where the chain is open
  if (n == 1) {
    for (const int index : first) append(index);
    return static_cast<int>(points.size());
  }
  const PointList& second = line(1);
  if (first.front() == second.front() || first.front() == second.back()) {
    for (auto it = first.rbegin(); it != first.rend(); ++it) append(*it);
    end = first.front();
  } else {
    for (const int index : first) append(index);
    end = first.back();
  }

  for (size_t k = 1; k < n; ++k) {
    const PointList& current = line(k);
    if (current.front() != end && current.back() != end) {
      // The chain breaks: a new ring starts with this line, from the end that
      // leads on to the next line.
      int start = current.front();
      if (k + 1 < n) {
        const PointList& next = line(k + 1);
        if (current.front() == next.front() || current.front() == next.back()) start = current.back();
      }
      append(start);
      end = start;
    }
    if (current.front() == end) {
      for (size_t i = 1; i < current.size(); ++i) append(current[i]);
      end = current.back();
    } else {
      for (size_t i = current.size() - 1; i-- > 0;) append(current[i]);
      end = current.front();
    }
  }
  return static_cast<int>(points.size());
}

void writePoint(SvgOutput& out, const Point& point) { out << point.x << "," << point.y << " "; }

void writePathStart(SvgOutput& out, std::optional<std::string_view> id, std::string_view style) {
  out << kChildIndent << "<path";
  if (id) out << " id=\"" << *id << "\"";
  out << style << " d=\"M";
}

void writePathEnd(SvgOutput& out) { out << "\"/>\n"; }

// A path through the points of one line, in stored order.
void writeLinePath(SvgOutput& out, const VfkParser& model, const PointList& line,
                   std::string_view style) {
  writePathStart(out, std::nullopt, style);
  for (const int index : line) writePoint(out, model.points[index]);
  writePathEnd(out);
}

// The points of a chain; where a record of several rings returns to its
// ring's first point, the ring is closed with "Z" and the next one begun
// with " M ".
void writeRingPath(SvgOutput& out, std::string_view id, std::string_view style,
                   const RingPoints& points, bool hasMultipleRings) {
  writePathStart(out, id, style);
  const size_t n = points.size();
  const Point* ringStart = points[0];
  for (size_t j = 0; j < n; ++j) {
    writePoint(out, *points[j]);
    if (hasMultipleRings && j >= 1 && j + 1 < n && points[j]->x == ringStart->x &&
        points[j]->y == ringStart->y) {
      out << "Z" << " M ";
      ++j;
      writePoint(out, *points[j]);
      ringStart = points[j];
    }
  }
  writePathEnd(out);
}

}  // namespace

int collectRingPoints(const Parcel& parcel, RingPoints& points) {
  const VfkParser& model = *parcel.owner;
  return collectChain(parcel.boundaryIndices, model.parcelBoundaries, model.points, points);
}

int collectRingPoints(const Building& building, RingPoints& points) {
  const VfkParser& model = *building.owner;
  return collectChain(building.polylineIndices, model.generalPolylines, model.points, points);
}

int collectBpejPolylines(const BpejArea& area, std::vector<const Boundary*>& lines) {
  for (const int index : area.boundaryIndices) lines.push_back(&area.owner->bpejBoundaries[index]);
  return static_cast<int>(area.boundaryIndices.size());
}

// Only parcels with a number text, and at least three points, are drawn.
void writeParcelBorders(const VfkParser& model, SvgOutput& out) {
  writeGroupStart(out, kParcelBorderLayer);
  RingPoints points;
  for (const auto& [id, parcel] : model.parcels) {
    if (parcel.numberLabel.text.empty()) continue;
    if (collectRingPoints(parcel, points) < 3) continue;
    writeRingPath(out, parcel.id, kParcelStyle, points, parcel.hasMultipleRings);
  }
  writeGroupEnd(out);
}

// Every unit gets a path, also one without boundaries; its boundaries are
// drawn as they are stored, one subpath each, and every unit is followed by
// an empty line.
void writeBpejBorders(const VfkParser& model, SvgOutput& out) {
  writeGroupStart(out, kBpejLayer);
  std::vector<const Boundary*> lines;
  for (const auto& [code, area] : model.bpejAreas) {
    lines.clear();
    const int n = collectBpejPolylines(area, lines);
    writePathStart(out, area.code, kBpejStyle);
    for (int k = 0; k < n; ++k) {
      if (k > 0) out << " M ";
      for (const int index : lines[k]->pointIndices) writePoint(out, model.points[index]);
    }
    writePathEnd(out);
    if (!area.label.text.empty()) {
      out << kChildIndent;
      writeTextElement(out, area.label);
    }
    out << "\n";
  }
  writeGroupEnd(out);
}

void writeCadastralAreaBorder(const VfkParser& model, SvgOutput& out) {
  writeGroupStart(out, kCadastralAreaBorderLayer);
  for (const Boundary& boundary : model.parcelBoundaries) {
    if (boundary.typeCode == kCadastralAreaBorderType) {
      writeLinePath(out, model, boundary.pointIndices, kBlackStyle);
    }
  }
  writeGroupEnd(out);
}

// Unlike a parcel, a building with one or two points is still drawn.
void writeBuildingBorders(const VfkParser& model, SvgOutput& out) {
  writeGroupStart(out, kBuildingBorderLayer);
  RingPoints points;
  for (const auto& [id, building] : model.buildings) {
    if (collectRingPoints(building, points) == 0) continue;
    writeRingPath(out, building.id, kBlackStyle, points, building.hasMultipleRings);
  }
  writeGroupEnd(out);
}

void writeMapElements(const VfkParser& model, SvgOutput& out) {
  writeGroupStart(out, kMapElementLayer);
  for (const TextLabel& text : model.mapTexts) {
    if (text.text.empty()) continue;
    out << kChildIndent;
    writeTextElement(out, text);
  }
  writeGroupEnd(out);

  writeGroupStart(out, kInnerDrawingLayer);
  for (const ElementPolyline& polyline : model.elementPolylines) {
    if (polyline.typeCode == kInnerDrawingType) {
      writeLinePath(out, model, polyline.pointIndices, kRedStyle);
    }
  }
  writeGroupEnd(out);
}

}  // namespace vorlane
