#include "entry/conversion.h"

#include "entry/output_path.h"
#include "svg/write_svg.h"
#include "vfk/vfk_parser.h"

namespace vorlane {

Conversion convertVfkFile(PathView vfkPath, int32_t units, bool centreOrigin,
                          const PointBudget& limits) {
  Conversion conversion;
  VfkParser parser;
  parser.limits = limits;
  conversion.opened = parser.parseFile(vfkPath, &conversion.failure);
  if (!conversion.opened) return conversion;
  conversion.readWhole = conversion.failure.empty();
  std::string writeFailure;
  conversion.written =
      writeSvg(parser.model, outputPathFor(vfkPath), units, centreOrigin, &writeFailure);
  if (conversion.readWhole) conversion.failure = writeFailure;
  return conversion;
}

}  // namespace vorlane
