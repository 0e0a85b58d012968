#include "dxf/dxf_drawing.h"

#include <cmath>
#include <numbers>
#include <string>

#include "model/map_symbols.h"
#include "model/text_alignment.h"

namespace vorlane {

namespace {

// The bulge of an arc step: the tangent of a quarter of its angle, positive
// where it turns with growing angles.
double bulgeOf(const BorderPath::Arc& arc, const Point& from, const Point& to) {
  const double halfChord = std::hypot(to.x - from.x, to.y - from.y) / 2;
  double angle = 2 * std::asin(std::min(1.0, halfChord / arc.radius));
  if (arc.largeArc) angle = 2 * std::numbers::pi - angle;
  const double bulge = std::tan(angle / 4);
  return arc.sweep ? bulge : -bulge;
}

}  // namespace

DxfDrawing::DxfDrawing(const CadastralModel& model, DxfOutput& out, DxfHandles& handles,
                       Diagnostics& diagnostics)
    : model_(&model), out_(out), handles_(handles), diagnostics_(diagnostics) {}

void DxfDrawing::startEntity(std::string_view kind, std::string_view subclass) {
  out_.group(0, kind).handle(5, handles_.take()).handle(330, DxfHandles::kModelSpace);
  out_.group(100, "AcDbEntity").group(8, layer_->name).group(100, subclass);
}

void DxfDrawing::identifier(std::optional<std::string_view> id,
                            std::span<const Attribute> attributes) {
  if (!id) return;
  out_.group(1001, kIdApplication).text(1000, *id);
  for (const Attribute& attribute : attributes) {
    std::string pair(attribute.name);
    pair += '=';
    pair += attribute.value;
    out_.text(1000, pair);
  }
}

void DxfDrawing::insert(std::string_view block, double x, double y, float angle) {
  startEntity("INSERT", "AcDbBlockReference");
  out_.group(2, block).coordinate(10, x).coordinate(20, y).coordinate(30, 0.0);
  if (angle != 0.0f) out_.real(50, angle);
}

// As the SVG: a turned symbol turns about its own position.
void DxfDrawing::symbol(const TextLabel& label, bool) {
  insert(symbolBlockName(std::to_string(label.typeCode)), label.x, label.y, label.angle);
}

// A subpath of one point draws nothing, and has no polyline.
// REQUIRES: no subpath is empty.
void DxfDrawing::path(std::optional<std::string_view> id, const BorderPath& path,
                      std::span<const Attribute> attributes) {
  auto arc = path.arcs.begin();
  for (const BorderPath::Subpath& subpath : path.subpaths) {
    // A ring ends where it starts, whether the path closes it or not: the
    // polyline's closed flag draws its last segment.
    const std::span<const int32_t> points = path.pointsOf(subpath);
    const Point& first = model_->points[static_cast<size_t>(points.front())];
    const Point& last = model_->points[static_cast<size_t>(points.back())];
    const bool closed =
        subpath.closed || (points.size() > 3 && first.x == last.x && first.y == last.y);
    const uint32_t count = closed ? subpath.count - 1 : subpath.count;
    if (count < 2) {
      while (arc != path.arcs.end() && arc->to < subpath.first + subpath.count) ++arc;
      continue;
    }
    startEntity("LWPOLYLINE", "AcDbPolyline");
    out_.integer(90, count).integer(70, closed ? 1 : 0);
    for (uint32_t k = subpath.first; k < subpath.first + subpath.count; ++k) {
      const Point& at = model_->points[static_cast<size_t>(path.points[k])];
      if (k < subpath.first + count) out_.coordinate(10, at.x).coordinate(20, at.y);
      // The step to the next point is an arc: its bulge goes with this one.
      if (arc != path.arcs.end() && arc->to == k + 1 && k + 1 < subpath.first + subpath.count) {
        const Point& to = model_->points[static_cast<size_t>(path.points[k + 1])];
        out_.real(42, bulgeOf(*arc, at, to));
        ++arc;
      }
    }
    identifier(id, attributes);
  }
}

void DxfDrawing::mark(std::string_view symbol, const Point& at) {
  insert(symbolBlockName(symbol), at.x, at.y, 0.0f);
}

void DxfDrawing::bpejArea(std::string_view code, const BorderPath& path, const TextLabel* label) {
  this->path(code, path, {});
  if (label != nullptr) text(*label, model_->text(label->text), std::nullopt, TextForm::kLabel);
}

// The SVG's anchor and baseline as DXF's horizontal and vertical alignment;
// the text turns as the SVG's does.
void DxfDrawing::text(const TextLabel& label, std::string_view text,
                      std::optional<std::string_view> id, TextForm form) {
  const TextPlacement placement = textPlacementOf(label.referencePoint);
  startEntity("TEXT", "AcDbText");
  out_.coordinate(10, label.x).coordinate(20, label.y).coordinate(30, 0.0);
  out_.real(40, label.size);
  if (!out_.shownText(1, text)) {
    diagnostics_.report(Finding{.kind = FindingKind::kTextShortened,
                                .subject = text,
                                .number = static_cast<int64_t>(text.size())});
  }
  if (form == TextForm::kLabel && label.angle > 0.001f) out_.real(50, label.angle);
  out_.group(7, textStyleOf(layer_->style));
  const int horizontal = static_cast<int>(placement.anchor);
  const int vertical = placement.baseline == TextBaseline::kHanging  ? 3
                       : placement.baseline == TextBaseline::kMiddle ? 2
                                                                     : 0;
  if (horizontal != 0) out_.integer(72, horizontal);
  if (horizontal != 0 || vertical != 0) {
    out_.coordinate(11, label.x).coordinate(21, label.y).coordinate(31, 0.0);
  }
  out_.group(100, "AcDbText");
  if (vertical != 0) out_.integer(73, vertical);
  identifier(id);
}

void DxfDrawing::arrow(const Point* from, const ParcelArrow& arrow) {
  if (from != nullptr) {
    startEntity("LINE", "AcDbLine");
    out_.coordinate(10, from->x).coordinate(20, from->y).coordinate(30, 0.0);
    out_.coordinate(11, arrow.x).coordinate(21, arrow.y).coordinate(31, 0.0);
  }
  insert(symbolBlockName(arrowSymbol().name), arrow.x, arrow.y, arrow.angle);
}

}  // namespace vorlane
