// One conversion of a VFK file into its drawing, as the library's export
// runs it, with what happened. The export gives its caller only a bool; the
// converter and the tests link this code itself and learn more.
#ifndef VORLANE_ENTRY_CONVERSION_H_
#define VORLANE_ENTRY_CONVERSION_H_

#include <cstdint>
#include <string>

#include "platform/path.h"
#include "vfk/point_lists.h"

namespace vorlane {

struct Conversion {
  bool opened = false;    // the VFK file was opened and read: the export's result
  bool readWhole = false;  // and read to its end, without a failing read
  bool written = false;   // its whole drawing reached the drawing's file
  std::string failure;    // the system's reason where one of these is false
};

// Reads the VFK file at vfkPath and writes its drawing beside it, at
// outputPathFor(vfkPath), replacing a file there. "units" goes into the
// drawing unchanged; "centreOrigin" puts its origin at the centre of its
// extent. When the file cannot be opened, a message says so and no drawing
// is touched. "limits" bounds the reader's point lists (the fuzzers make
// them small). Exceptions (exhausted memory) pass through.
Conversion convertVfkFile(PathView vfkPath, int32_t units, bool centreOrigin,
                          const PointBudget& limits = {});

}  // namespace vorlane

#endif  // VORLANE_ENTRY_CONVERSION_H_
