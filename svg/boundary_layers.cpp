#include "svg/boundary_layers.h"

#include <algorithm>
#include <array>
#include <new>
#include <optional>
#include <span>
#include <string_view>

#include "model/rings.h"
#include "platform/memory.h"
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

void writePathStart(SvgOutput& out, std::optional<std::string_view> id, std::string_view style) {
  out << kChildIndent << "<path";
  if (id) out << " id=\"" << *id << "\"";
  out << style << " d=\"M";
}

void writePathEnd(SvgOutput& out) { out << "\"/>\r\n"; }

// Each point as "x,y ".
void writePoints(SvgOutput& out, const CadastralModel& model, std::span<const int32_t> points) {
  for (const int32_t index : points) {
    const Point& point = model.points[static_cast<size_t>(index)];
    out.point(point.x, point.y);
  }
}

// Writes points as writePoints does, formatting each point once: the points
// of a boundary are written in the borders of the areas on both its sides,
// and where the lines of one border meet.
class PointWriter {
 public:
  // The texts start zeroed, where the system touches only the pages of the
  // points written.
  explicit PointWriter(const CadastralModel& model)
      : model_(model),
        bytes_(model.points.size() * sizeof(Text)),
        texts_(static_cast<Text*>(zeroedBlock(bytes_))) {
    if (texts_ == nullptr) throw std::bad_alloc();
  }
  ~PointWriter() { freeBlock(texts_, bytes_); }
  PointWriter(const PointWriter&) = delete;
  PointWriter& operator=(const PointWriter&) = delete;

  void write(SvgOutput& out, std::span<const int32_t> points) {
    for (const int32_t index : points) {
      Text& text = texts_[index];
      if (text.length == 0) {  // not made yet: a point's text is never empty
        const Point& point = model_.points[static_cast<size_t>(index)];
        char buffer[kPointBufferSize];
        const std::string_view made = formatPoint(point.x, point.y, buffer);
        if (made.size() > text.bytes.size()) {  // far beyond any map's coordinates
          out << made;
          continue;
        }
        std::copy(made.begin(), made.end(), text.bytes.begin());
        text.length = static_cast<uint8_t>(made.size());
      }
      out.appendPrefix(text.bytes, text.length);
    }
  }

 private:
  struct Text {
    std::array<char, 31> bytes;  // "x,y ": a coordinate of a map has up to 11 characters
    uint8_t length;
  };
  const CadastralModel& model_;
  size_t bytes_;
  Text* texts_;  // by point index
};

// A path through the points of one line, in stored order.
template <typename Line>
void writeLinePath(SvgOutput& out, const CadastralModel& model, const Line& line,
                   std::string_view style) {
  writePathStart(out, std::nullopt, style);
  writePoints(out, model, model.pointIndicesOf(line));
  writePathEnd(out);
}

// The border of a parcel or building: each further subpath closes the ring
// before it with "Z" and begins with " M ".
void writeRingPath(SvgOutput& out, PointWriter& writer, std::string_view id, std::string_view style,
                   const RingPath& path) {
  writePathStart(out, id, style);
  const std::span<const int32_t> points = path.points;
  size_t from = 0;
  for (const size_t start : path.subpathStarts) {
    writer.write(out, points.subspan(from, start - from));
    out << "Z M ";
    from = start;
  }
  writer.write(out, points.subspan(from));
  writePathEnd(out);
}

}  // namespace

// Only parcels with a number text, and at least three points, are drawn.
void writeParcelBorders(const CadastralModel& model, SvgOutput& out) {
  writeGroupStart(out, kParcelBorderLayer);
  RingPath path;
  PointWriter writer(model);
  for (const Parcel& parcel : model.parcels) {
    if (parcel.numberLabel.text.empty()) continue;
    collectRingPath(model, parcel, path);
    if (path.points.size() < 3) continue;
    writeRingPath(out, writer, model.text(parcel.id), kParcelStyle, path);
  }
  writeGroupEnd(out);
}

// Every unit gets a path, also one without boundaries; its boundaries are
// drawn as they are stored, one subpath each, and every unit is followed by
// an empty line.
void writeBpejBorders(const CadastralModel& model, SvgOutput& out) {
  writeGroupStart(out, kBpejLayer);
  PointWriter writer(model);
  for (const BpejArea& area : model.bpejAreas) {
    writePathStart(out, model.text(area.code), kBpejStyle);
    bool first = true;
    for (const int32_t boundary : model.boundaryIndicesOf(area)) {
      if (!first) out << " M ";
      first = false;
      writer.write(out, model.pointIndicesOf(model.bpejBoundaries[static_cast<size_t>(boundary)]));
    }
    writePathEnd(out);
    if (!area.label.text.empty()) {
      out << kChildIndent;
      writeTextElement(out, model, area.label);
    }
    out << "\r\n";
  }
  writeGroupEnd(out);
}

void writeCadastralAreaBorder(const CadastralModel& model, SvgOutput& out) {
  writeGroupStart(out, kCadastralAreaBorderLayer);
  for (const Boundary& boundary : model.parcelBoundaries) {
    if (boundary.typeCode == kCadastralAreaBorderType)
      writeLinePath(out, model, boundary, kBlackStyle);
  }
  writeGroupEnd(out);
}

// Unlike a parcel, a building with one or two points is still drawn.
void writeBuildingBorders(const CadastralModel& model, SvgOutput& out) {
  writeGroupStart(out, kBuildingBorderLayer);
  RingPath path;
  PointWriter writer(model);
  for (const Building& building : model.buildings) {
    collectRingPath(model, building, path);
    if (path.points.empty()) continue;
    writeRingPath(out, writer, model.text(building.id), kBlackStyle, path);
  }
  writeGroupEnd(out);
}

void writeMapElements(const CadastralModel& model, SvgOutput& out) {
  writeGroupStart(out, kMapElementLayer);
  for (const TextLabel& text : model.mapTexts) {
    if (text.text.empty()) continue;
    out << kChildIndent;
    writeTextElement(out, model, text);
  }
  writeGroupEnd(out);

  writeGroupStart(out, kInnerDrawingLayer);
  for (const ElementPolyline& polyline : model.elementPolylines) {
    if (polyline.typeCode == kInnerDrawingType) writeLinePath(out, model, polyline, kRedStyle);
  }
  writeGroupEnd(out);
}

}  // namespace vorlane
