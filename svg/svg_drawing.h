// The SVG of a drawing's layers: formats what the drawing's walk
// (model/drawing_walk.h) hands it, element by element, in the CAD
// application's layer groups.
#ifndef VORLANE_SVG_SVG_DRAWING_H_
#define VORLANE_SVG_SVG_DRAWING_H_

#include <memory>

#include "model/drawing_walk.h"
#include "svg/point_texts.h"
#include "svg/svg_output.h"

namespace vorlane {

class SvgDrawing : public DrawingVisitor {
 public:
  // "model" and "out" must outlive the drawing. The exact drawing defines
  // its own symbols besides the library's.
  SvgDrawing(const CadastralModel& model, SvgOutput& out, bool exact = false);

  void beginLayer(const DrawingLayer& layer, const CadastralModel& model) override;
  void endLayer(const DrawingLayer& layer) override;
  void symbol(const TextLabel& label, bool ofBuilding) override;
  void path(std::optional<std::string_view> id, const BorderPath& path,
            std::span<const Attribute> attributes) override;
  void mark(std::string_view symbol, const Point& at) override;
  void bpejArea(std::string_view code, const BorderPath& path, const TextLabel* label) override;
  void text(const TextLabel& label, std::string_view text, std::optional<std::string_view> id,
            TextForm form) override;
  void arrow(const Point* from, const ParcelArrow& arrow) override;

 private:
  // The comment before the buildings' symbols, and the arrow's definition
  // before the first arrow; each written once, also without such elements.
  void startBuildingSymbols();
  void startArrows();
  void writePathData(const BorderPath& path);

  const CadastralModel* model_;
  SvgOutput& out_;
  // The formatted points of the model whose layers are drawn.
  std::unique_ptr<PointTexts> points_;
  Layer layer_ = Layer::kSymbols;
  bool exact_;
  bool symbolsDefined_ = false;
  bool buildingSymbolsStarted_ = false;
  bool arrowsStarted_ = false;
};

}  // namespace vorlane

#endif  // VORLANE_SVG_SVG_DRAWING_H_
