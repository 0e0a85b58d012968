// The library's one export. It is called from foreign applications through
// a C interface, so nothing thrown inside may leave it.
#include "Vorlane.h"
#include "entry/conversion.h"

extern "C" VORLANE_EXPORT bool Vorlane_ParseVfk(const VorlanePathChar* vfkPath, int32_t units,
                                                bool centreOrigin) {
  using namespace vorlane;
  try {
    const PathView path = vfkPath != nullptr ? PathView(vfkPath) : PathView();
    // A drawing that could not be created or written still counts: the
    // result says that the file was read.
    return convertVfkFile(path, units, centreOrigin).opened;
  } catch (...) {
    // Exhausted memory, for one: the conversion has failed, and whatever was
    // already written of the drawing stays as it is.
    return false;
  }
}
