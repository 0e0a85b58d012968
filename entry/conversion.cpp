#include "entry/conversion.h"

#include "dxf/write_dxf.h"
#include "entry/output_path.h"
#include "platform/files.h"
#include "svg/write_svg.h"
#include "vfk/vfk_parser.h"

namespace vorlane {

namespace {

void takeRead(const FileRead& read, Conversion& conversion) {
  conversion.inputs.push_back({read.opened, read.readWhole, read.failure, read.codePage});
  conversion.opened = read.opened;
  conversion.readWhole = read.readWhole;
  conversion.failure = read.failure;
  conversion.codePage = read.codePage;
}

// Writes the drawing of the resolved model, when every input was read.
void writeDrawing(const CadastralModel& model, const ConversionSettings& settings,
                  Conversion& conversion) {
  std::string failure;
  const auto write = settings.options.format == DrawingFormat::kDxf ? writeDxf : writeSvg;
  conversion.written =
      write(model, conversion.drawingPath, settings.options, &failure, &conversion.counts);
  if (conversion.readWhole) conversion.failure = failure;
}

}  // namespace

std::string_view drawingExtension(DrawingFormat format) {
  return format == DrawingFormat::kDxf ? ".dxf" : ".svg";
}

Conversion convertVfkFile(PathView vfkPath, const ConversionSettings& settings,
                          Diagnostics& diagnostics) {
  Conversion conversion;
  conversion.drawingPath = settings.drawingPath.empty()
                               ? outputPathFor(vfkPath, drawingExtension(settings.options.format))
                               : settings.drawingPath;
  // A drawing must not replace the file it is made from (plan.svg).
  if (namesSameFile(vfkPath, conversion.drawingPath)) {
    conversion.failure = "its drawing would replace the file itself";
    return conversion;
  }
  VfkParser parser(diagnostics, settings.limits, settings.bytesRead);
  takeRead(parser.parseFile(vfkPath, settings.codePage, settings.options), conversion);
  if (conversion.opened) writeDrawing(parser.model, settings, conversion);
  return conversion;
}

Conversion convertVfkFiles(std::span<const PathString> vfkPaths, const ConversionSettings& settings,
                           Diagnostics& diagnostics) {
  Conversion conversion;
  conversion.drawingPath = settings.drawingPath;
  for (const PathString& path : vfkPaths) {
    if (namesSameFile(path, conversion.drawingPath)) {
      conversion.failure = "the drawing would replace " + pathToUtf8(path);
      return conversion;
    }
  }
  VfkParser parser(diagnostics, settings.limits, settings.bytesRead);
  for (const PathString& path : vfkPaths) {
    const FileRead read = parser.readFile(path, settings.codePage);
    takeRead(read, conversion);
    if (!read.opened || !read.readWhole) return conversion;
  }
  parser.resolve(settings.options);
  writeDrawing(parser.model, settings, conversion);
  return conversion;
}

}  // namespace vorlane
