#include "entry/conversion.h"

#include "entry/output_path.h"
#include "svg/write_svg.h"
#include "vfk/vfk_parser.h"

namespace vorlane {

Conversion convertVfkFile(PathView vfkPath, int32_t units, bool centreOrigin) {
  Conversion conversion;
  VfkParser parser;
  conversion.read = parser.parseFile(vfkPath);
  if (conversion.read) {
    conversion.written = writeSvg(parser.model, outputPathFor(vfkPath), units, centreOrigin);
  }
  return conversion;
}

}  // namespace vorlane
