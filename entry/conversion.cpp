#include "entry/conversion.h"

#include "entry/output_path.h"
#include "platform/files.h"
#include "svg/write_svg.h"
#include "vfk/vfk_parser.h"

namespace vorlane {

Conversion convertVfkFile(PathView vfkPath, const ConversionSettings& settings,
                          Diagnostics& diagnostics) {
  Conversion conversion;
  conversion.drawingPath =
      settings.drawingPath.empty() ? outputPathFor(vfkPath) : settings.drawingPath;
  // A drawing must not replace the file it is made from (plan.svg).
  if (namesSameFile(vfkPath, conversion.drawingPath)) {
    conversion.failure = "its drawing would replace the file itself";
    return conversion;
  }
  VfkParser parser(diagnostics, settings.limits);
  const FileRead read = parser.parseFile(vfkPath, settings.codePage, settings.options);
  conversion.opened = read.opened;
  conversion.readWhole = read.readWhole;
  conversion.failure = read.failure;
  conversion.codePage = read.codePage;
  if (!conversion.opened) return conversion;
  std::string writeFailure;
  conversion.written =
      writeSvg(parser.model, conversion.drawingPath, settings.options, &writeFailure);
  if (conversion.readWhole) conversion.failure = writeFailure;
  return conversion;
}

}  // namespace vorlane
