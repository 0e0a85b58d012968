// One conversion of a VFK file into its drawing, as the library's export
// runs it, with what happened. The export gives its caller only a bool; the
// converter, the tests and the fuzzers link this code itself and learn more.
#ifndef VORLANE_ENTRY_CONVERSION_H_
#define VORLANE_ENTRY_CONVERSION_H_

#include <cstdint>
#include <string>

#include "model/diagnostics.h"
#include "model/drawing_options.h"
#include "platform/code_page.h"
#include "platform/path.h"
#include "vfk/point_lists.h"

namespace vorlane {

struct ConversionSettings {
  DrawingOptions options;
  // The code page texts are decoded with until a CODEPAGE header names one.
  int codePage = kAnsiCodePage;
  // Bounds on the reader's point lists (the fuzzers make them small).
  PointBudget limits;
  // Where the drawing goes; empty for beside the input (outputPathFor).
  PathString drawingPath;
};

struct Conversion {
  bool opened = false;     // the VFK file was opened and read: the export's result
  bool readWhole = false;  // and read to its end, without a failing read
  bool written = false;    // its whole drawing reached the drawing's file
  std::string failure;     // the system's reason where one of these is false
  int codePage = kAnsiCodePage;  // the code page the file left
  PathString drawingPath;        // where the drawing was to go
};

// Reads the VFK file at vfkPath and writes its drawing, replacing a file
// there. What reading and resolving find goes to "diagnostics". When the
// file cannot be opened, or the drawing's path names the file itself, no
// drawing is touched and "opened" is false. Exceptions (exhausted memory)
// pass through.
Conversion convertVfkFile(PathView vfkPath, const ConversionSettings& settings,
                          Diagnostics& diagnostics);

}  // namespace vorlane

#endif  // VORLANE_ENTRY_CONVERSION_H_
