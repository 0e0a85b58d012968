// The entities of a DXF drawing: formats what the drawing's walk
// (model/drawing_walk.h) hands it. Each subpath of a path is one LWPOLYLINE
// on its layer, closed where the path closes, its arcs as bulges, carrying
// its parcel's or building's identifier as extended data; texts are TEXT
// entities, symbols and arrows INSERTs of their blocks.
#ifndef VORLANE_DXF_DXF_DRAWING_H_
#define VORLANE_DXF_DXF_DRAWING_H_

#include "dxf/dxf_frame.h"
#include "dxf/dxf_output.h"
#include "model/diagnostics.h"
#include "model/drawing_walk.h"

namespace vorlane {

class DxfDrawing : public DrawingVisitor {
 public:
  // "model", "out", "handles" and "diagnostics" must outlive the drawing. A
  // text too long for the format is reported to "diagnostics".
  DxfDrawing(const CadastralModel& model, DxfOutput& out, DxfHandles& handles,
             Diagnostics& diagnostics);

  void beginLayer(const DrawingLayer& layer, const CadastralModel& model) override {
    layer_ = &layer;
    model_ = &model;
  }
  void endLayer(const DrawingLayer&) override {}
  void symbol(const TextLabel& label, bool ofBuilding) override;
  void path(std::optional<std::string_view> id, const BorderPath& path,
            std::span<const Attribute> attributes) override;
  void mark(std::string_view symbol, const Point& at) override;
  void bpejArea(std::string_view code, const BorderPath& path, const TextLabel* label) override;
  void text(const TextLabel& label, std::string_view text, std::optional<std::string_view> id,
            TextForm form) override;
  void arrow(const Point* from, const ParcelArrow& arrow) override;

 private:
  // An entity's groups up to its own subclass, on the current layer.
  void startEntity(std::string_view kind, std::string_view subclass);
  // The record's identifier and attributes, as extended data: "id", then
  // "name=value" for each attribute.
  void identifier(std::optional<std::string_view> id, std::span<const Attribute> attributes = {});
  void insert(std::string_view block, double x, double y, float angle);

  const CadastralModel* model_;
  DxfOutput& out_;
  DxfHandles& handles_;
  Diagnostics& diagnostics_;
  const DrawingLayer* layer_ = nullptr;  // the layer being drawn
};

}  // namespace vorlane

#endif  // VORLANE_DXF_DXF_DRAWING_H_
