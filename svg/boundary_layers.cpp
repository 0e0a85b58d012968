#include "svg/boundary_layers.h"

#include <algorithm>
#include <array>
#include <new>
#include <optional>
#include <span>
#include <string_view>

#include "model/rings.h"
#include "model/type_codes.h"
#include "platform/memory.h"
#include "svg/layer_group.h"
#include "svg/text_element.h"

namespace vorlane {

namespace {

constexpr std::string_view kParcelStyle = " style=\"fill:none;stroke:black;stroke-width:0.2\"";
constexpr std::string_view kBpejStyle = " style=\"fill:none;stroke:orange;stroke-width:1\"";
constexpr std::string_view kBlackStyle = " style=\"fill:none;stroke:black;stroke-width:1\"";
constexpr std::string_view kRedStyle = " style=\"fill:none;stroke:red;stroke-width:1\"";

void writePathStart(SvgOutput& out, std::optional<std::string_view> id, std::string_view style) {
  out << kChildIndent << "<path";
  if (id) out << " id=\"" << Escaped{*id} << "\"";
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
void writeRingPath(SvgOutput& out, PointTexts& texts, std::string_view id, std::string_view style,
                   const RingPath& path) {
  writePathStart(out, id, style);
  const std::span<const int32_t> points = path.points;
  size_t from = 0;
  for (const size_t start : path.subpathStarts) {
    texts.write(out, points.subspan(from, start - from));
    out << "Z M ";
    from = start;
  }
  texts.write(out, points.subspan(from));
  writePathEnd(out);
}

}  // namespace

PointTexts::PointTexts(const CadastralModel& model)
    : model_(model),
      bytes_(model.points.size() * sizeof(Text)),
      texts_(static_cast<Text*>(zeroedBlock(bytes_))),
      made_((model.points.size() + 63) / 64) {
  if (texts_ == nullptr && bytes_ > 0) throw std::bad_alloc();
}

PointTexts::~PointTexts() { freeBlock(texts_, bytes_); }

void PointTexts::write(SvgOutput& out, std::span<const int32_t> points) {
  for (const int32_t index : points) {
    const auto position = static_cast<size_t>(index);
    Text& text = texts_[position];
    uint64_t& madeWord = made_[position / 64];
    const uint64_t madeBit = uint64_t{1} << (position % 64);
    if ((madeWord & madeBit) == 0) {
      const Point& point = model_.points[position];
      char buffer[kPointBufferSize];
      const std::string_view made = formatPoint(point.x, point.y, buffer);
      if (made.size() > text.bytes.size()) {  // far beyond any map's coordinates
        out << made;
        continue;
      }
      std::copy(made.begin(), made.end(), text.bytes.begin());
      text.length = static_cast<uint8_t>(made.size());
      madeWord |= madeBit;
    }
    out.appendPrefix(text.bytes, text.length);
  }
}

// Only parcels with a number text, and at least three points, are drawn.
void writeParcelBorders(const CadastralModel& model, SvgOutput& out, PointTexts& points) {
  writeGroupStart(out, kParcelBorderLayer);
  RingPath path;
  for (const Parcel& parcel : model.parcels) {
    if (parcel.numberLabel.text.empty()) continue;
    collectRingPath(model, parcel, path);
    if (path.points.size() < 3) continue;
    writeRingPath(out, points, model.text(parcel.id), kParcelStyle, path);
  }
  writeGroupEnd(out);
}

// Every unit gets a path, also one without boundaries; its boundaries are
// drawn as they are stored, one subpath each, and every unit is followed by
// an empty line.
void writeBpejBorders(const CadastralModel& model, SvgOutput& out, PointTexts& points) {
  writeGroupStart(out, kBpejLayer);
  for (const BpejArea& area : model.bpejAreas) {
    writePathStart(out, model.text(area.code), kBpejStyle);
    bool first = true;
    for (const int32_t boundary : model.boundaryIndicesOf(area)) {
      if (!first) out << " M ";
      first = false;
      points.write(out, model.pointIndicesOf(model.bpejBoundaries[static_cast<size_t>(boundary)]));
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
    if (boundary.typeCode == kCadastralAreaBorderTypeCode)
      writeLinePath(out, model, boundary, kBlackStyle);
  }
  writeGroupEnd(out);
}

// Unlike a parcel, a building with one or two points is still drawn.
void writeBuildingBorders(const CadastralModel& model, SvgOutput& out, PointTexts& points) {
  writeGroupStart(out, kBuildingBorderLayer);
  RingPath path;
  for (const Building& building : model.buildings) {
    collectRingPath(model, building, path);
    if (path.points.empty()) continue;
    writeRingPath(out, points, model.text(building.id), kBlackStyle, path);
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
    if (polyline.typeCode == kInnerDrawingTypeCode) writeLinePath(out, model, polyline, kRedStyle);
  }
  writeGroupEnd(out);
}

}  // namespace vorlane
