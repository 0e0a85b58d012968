// Conversions of VFK files into drawings, as the library's export runs them,
// with what happened. The export gives its caller only a bool; the
// converter, the tests and the fuzzers link this code itself and learn more.
#ifndef VORLANE_ENTRY_CONVERSION_H_
#define VORLANE_ENTRY_CONVERSION_H_

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "model/diagnostics.h"
#include "model/drawing_options.h"
#include "model/drawing_walk.h"
#include "platform/code_page.h"
#include "platform/path.h"
#include "vfk/point_lists.h"
#include "vfk/vfk_parser.h"

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
  // When given, is told now and then how many bytes of the inputs have been
  // read, on the converting thread.
  std::function<void(uint64_t)> progress;
  // A drawing with nothing in it leaves a file at the drawing's path as it
  // is (the converter); otherwise it replaces it (the library's export).
  bool keepFileWhenEmpty = false;
};

// What reading one input gave (vfk/vfk_parser.h).
using InputRead = FileRead;

struct Conversion {
  std::vector<InputRead> inputs;  // by input
  bool opened = false;            // every input was opened: the export's result
  bool readWhole = false;         // and read to its end
  bool written = false;           // the whole drawing reached the drawing's file
  bool keptFile = false;          // nothing to draw, and the file there was kept
  std::string failure;            // the system's reason where one of these is false
  int codePage = kAnsiCodePage;   // the code page the last input left
  PathString drawingPath;         // where the drawing was to go
  DrawingCounts counts;           // what the drawing holds
};

// The extension of the drawing's file: ".svg" or ".dxf".
std::string_view drawingExtension(DrawingFormat format);

// Whether "bytes" begin as a VFK file does: an optional UTF-8 byte-order
// mark, then "&" and a record kind (H, B, D or K).
bool beginsAsVfk(std::string_view bytes);
// Whether the file at "path" begins so; false for a file that cannot be read.
bool holdsVfk(PathView path);

// Reads the VFK file at vfkPath and writes its drawing, which replaces the
// file there only once it is whole (platform/files.h). What reading and
// resolving find goes to "diagnostics". When the file cannot be opened, or
// the drawing's path names the file itself or another VFK file, no drawing
// is touched and "opened" is false ("failure" says why). Exceptions
// (exhausted memory) pass through, and leave the file there as it was.
Conversion convertVfkFile(PathView vfkPath, const ConversionSettings& settings,
                          Diagnostics& diagnostics);

// Several files into one drawing, at settings.drawingPath: each is read in
// turn, from settings.codePage, into one model, in which records with the
// same identifier are one record. When a file cannot be opened, or the
// drawing's path names one of them or another VFK file, no drawing is
// touched.
Conversion convertVfkFiles(std::span<const PathString> vfkPaths, const ConversionSettings& settings,
                           Diagnostics& diagnostics);

// One input held in memory: how messages and the report name it, and its
// bytes, which must stay valid during the conversion.
struct InputBuffer {
  std::string name;
  std::span<const char> bytes;
};

// What a conversion in memory gives: what happened, and the drawing's bytes.
struct BufferConversion {
  Conversion conversion;
  std::string drawing;
};

// Converts inputs held in memory, with no file system: one input as
// convertVfkFile reads a file, several into one model as convertVfkFiles
// does. The drawing's bytes come back whole, and are the bytes the same
// inputs give as files; "written" says that there is a drawing.
BufferConversion convertVfkBuffers(std::span<const InputBuffer> inputs,
                                   const ConversionSettings& settings, Diagnostics& diagnostics);

}  // namespace vorlane

#endif  // VORLANE_ENTRY_CONVERSION_H_
