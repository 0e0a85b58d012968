#include "svg/write_svg.h"

#include "svg/svg_drawing.h"

namespace vorlane {

namespace {

// One axis of the model's extent. An axis that no point widened (a model
// without points) is drawn as the single value 0.
struct Extent {
  double min;
  double max;
};

Extent extentOf(double min, double max) {
  if (!(min <= max)) return {0.0, 0.0};
  return {min, max};
}

void writeFrameStart(const CadastralModel& model, SvgOutput& out, const DrawingOptions& options) {
  const Extent x = extentOf(model.boundingBox.minX, model.boundingBox.maxX);
  const Extent y = extentOf(model.boundingBox.minY, model.boundingBox.maxY);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n"
      << "<svg\r\n"
      << "    xmlns=\"http://www.w3.org/2000/svg\"\r\n"
      << "    width=\"2000\"\r\n"
      << "    height=\"2000\"\r\n"
      << "    viewBox=\"" << x.min << " " << y.min << " " << x.max - x.min << " " << y.max - y.min
      << "\"\r\n"
      << "    units=\"" << options.units << "\" origin=\"";
  if (options.centreOrigin) {
    out << (x.max - x.min) * 0.5 + x.min << " " << (y.max - y.min) * 0.5 + y.min;
  } else {
    out << "0 0";
  }
  out << "\"\r\n"
      << "    id=\"1\"\r\n"
      << "    version=\"1.1\"\r\n";
  // The exact drawing's attributes of parcels and buildings.
  if (options.exact) out << "    xmlns:vl=\"" << kAttributeNamespace << "\"\r\n";
  out << "    xmlns:xlink=\"http://www.w3.org/1999/xlink\">\r\n";
}

}  // namespace

DrawingCounts writeDocument(const CadastralModel& model, SvgOutput& out,
                            const DrawingOptions& options) {
  writeFrameStart(model, out, options);
  SvgDrawing drawing(model, out, options.exact);
  const DrawingCounts counts = walkDrawing(model, options, drawing);
  out << "</svg>";
  return counts;
}

}  // namespace vorlane
