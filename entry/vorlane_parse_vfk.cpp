// The library's one export. It is called from foreign applications through
// a C interface, so nothing thrown inside may leave it.
#include "Vorlane.h"
#include "entry/output_path.h"
#include "svg/write_svg.h"
#include "vfk/vfk_parser.h"

extern "C" VORLANE_EXPORT bool Vorlane_ParseVfk(const VorlanePathChar* vfkPath, int32_t units,
                                                bool centreOrigin) {
  using namespace vorlane;
  try {
    const PathView path = vfkPath != nullptr ? PathView(vfkPath) : PathView();
    VfkParser parser;
    if (!parser.parseFile(path)) return false;
    const PathString outputPath = outputPathFor(path);
    return writeSvg(parser.model, outputPath, units, centreOrigin);
  } catch (...) {
    // Exhausted memory, for one: the conversion has failed, and whatever was
    // already written of the drawing stays as it is.
    return false;
  }
}
