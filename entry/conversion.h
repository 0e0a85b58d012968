// Conversions of VFK files into drawings, as the library's export runs them,
// with what happened. The export gives its caller only a bool; the
// converter, the tests and the fuzzers link this code itself and learn more.
#ifndef VORLANE_ENTRY_CONVERSION_H_
#define VORLANE_ENTRY_CONVERSION_H_

#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/diagnostics.h"
#include "model/drawing_options.h"
#include "model/drawing_walk.h"
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
  // Where the drawing goes; empty for beside the input (outputPathFor, with
  // the extension of the drawing's format).
  PathString drawingPath;
  // When given, grows by the bytes read, as they are read.
  std::atomic<uint64_t>* bytesRead = nullptr;
};

// What reading one input gave.
struct InputRead {
  bool opened = false;           // the file was opened and read
  bool readWhole = false;        // and read to its end, without a failing read
  std::string failure;           // the system's reason where one of these is false
  int codePage = kAnsiCodePage;  // the code page the file left
};

struct Conversion {
  std::vector<InputRead> inputs;  // by input
  bool opened = false;            // every input was opened: the export's result
  bool readWhole = false;         // and read to its end
  bool written = false;           // the whole drawing reached the drawing's file
  std::string failure;            // the system's reason where one of these is false
  int codePage = kAnsiCodePage;   // the code page the last input left
  PathString drawingPath;         // where the drawing was to go
  DrawingCounts counts;           // what the drawing holds
};

// The extension of the drawing's file: ".svg" or ".dxf".
std::string_view drawingExtension(DrawingFormat format);

// Reads the VFK file at vfkPath and writes its drawing, replacing a file
// there. What reading and resolving find goes to "diagnostics". When the
// file cannot be opened, or the drawing's path names the file itself, no
// drawing is touched and "opened" is false. Exceptions (exhausted memory)
// pass through.
Conversion convertVfkFile(PathView vfkPath, const ConversionSettings& settings,
                          Diagnostics& diagnostics);

// Several files into one drawing, at settings.drawingPath: each is read in
// turn, from settings.codePage, into one model, in which records with the
// same identifier are one record. When a file cannot be opened, or the
// drawing's path names one of them, no drawing is touched.
Conversion convertVfkFiles(std::span<const PathString> vfkPaths, const ConversionSettings& settings,
                           Diagnostics& diagnostics);

}  // namespace vorlane

#endif  // VORLANE_ENTRY_CONVERSION_H_
