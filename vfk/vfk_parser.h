// VfkParser reads VFK files into the cadastral model it owns. Start here:
// parseFile() reads a file line by line (line_reader.h), hands each record
// to the header handling, the block definitions or the block loaders
// (block_loaders.h), which build the model through its operations
// (model/cadastral_model.h), and then resolves the model's geometry. What
// reading finds (a file it cannot open, a code page it does not know, rows
// it drops) goes to the Diagnostics the parser is given.
#ifndef VORLANE_VFK_VFK_PARSER_H_
#define VORLANE_VFK_VFK_PARSER_H_

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "model/cadastral_model.h"
#include "model/diagnostics.h"
#include "model/drawing_options.h"
#include "platform/code_page.h"
#include "platform/path.h"
#include "vfk/line_reader.h"
#include "vfk/point_lists.h"

namespace vorlane {

class BlockLoaders;

// How many data rows of one block a file held and, read for the exact
// drawing, how many of them were of each state (STAV_DAT; the geometric
// plan's rows are the plan's, 1), in the order the states came.
struct BlockRowCount {
  std::string block;
  int64_t rows = 0;
  std::vector<std::pair<int32_t, int64_t>> states;
};

// What reading one file gave.
struct FileRead {
  bool opened = false;     // the file was opened and read
  bool readWhole = false;  // to its end, without a failing read
  std::string failure;     // the system's reason where one of these is false
  // The code page the file leaves: the one its last known CODEPAGE header
  // named, or the one reading started with.
  int codePage = kAnsiCodePage;
  bool endRecord = true;     // it ended with its &K record (or a mark ended it early)
  uint64_t unreadBytes = 0;  // what came after a 0x1A that ended it early
  // What the file is: its cadastral area (KATUZE's KOD and NAZEV), the
  // format's version (VERZE), whether it is an extract cut by a polygon
  // (POLYG), and the extent of its points (empty where it has none).
  std::string areaCode;
  std::string areaName;
  std::string version;
  bool cutByPolygon = false;
  BoundingBox extent;
  // The data rows of each block, in the order the blocks came; rows before
  // any block definition under the name they give.
  std::vector<BlockRowCount> blockRows;
};

class VfkParser {
 public:
  // "diagnostics" must outlive the parser. "limits" bounds what the point
  // lists of the files may grow to. "bytesRead", when given, grows by the
  // bytes of the files as they are read.
  explicit VfkParser(Diagnostics& diagnostics, const PointBudget& limits = {},
                     std::atomic<uint64_t>* bytesRead = nullptr);
  ~VfkParser();
  VfkParser(const VfkParser&) = delete;
  VfkParser& operator=(const VfkParser&) = delete;

  // One file: clears the model, reads the whole file at vfkPath into it,
  // decoding texts with "codePage" until a CODEPAGE header names another,
  // and, when the file was opened, resolves the geometry for "options". A
  // read that fails ends the file there. The exact drawing reads the file as
  // the format means it (readRecords in parse_file.cpp), the standard one as
  // the library always has.
  FileRead parseFile(PathView vfkPath, int codePage, const DrawingOptions& options = {});

  // Several files into one model: each call adds one file to the model. A
  // later file's survey points, lines and labels whose identifier an earlier
  // file gave are the earlier ones; its areas and buildings with the same
  // identifier are the same records. resolve() then finishes the model.
  FileRead readFile(PathView vfkPath, int codePage, const DrawingOptions& options = {});
  void resolve(const DrawingOptions& options);

  // The same for bytes the caller holds, which must stay valid during the
  // call: parseBytes as parseFile, addBytes as readFile. "name" names them
  // in what reading finds.
  FileRead parseBytes(std::span<const char> bytes, const std::string& name, int codePage,
                      const DrawingOptions& options = {});
  FileRead addBytes(std::span<const char> bytes, const std::string& name, int codePage,
                    const DrawingOptions& options = {}, bool onePerId = true);

  // "progress" is told now and then how many bytes of the inputs read so
  // far (files and bytes alike) have been gone through.
  void setProgress(std::function<void(uint64_t)> progress) { progress_ = std::move(progress); }

  CadastralModel model;

 private:
  // A file, read a stretch at a time by readInput.
  FileRead read(PathView vfkPath, int codePage, bool onePerId, bool exact);
  // Reads one input into the model: "bytes", or, where "source" is given,
  // what it reads (as LineReader reads a ByteSource). Tells bytesRead and the
  // progress how far reading has come.
  FileRead readInput(std::span<const char> bytes, const LineReader::ByteSource& source,
                     const std::string& name, int codePage, bool onePerId, bool exact);
  // Clears the model, runs "read" and resolves what it read.
  FileRead parseWith(const DrawingOptions& options, const std::function<FileRead()>& read);

  Diagnostics& diagnostics_;
  PointBudget limits_;
  std::atomic<uint64_t>* bytesRead_;
  std::function<void(uint64_t)> progress_;
  uint64_t inputsBefore_ = 0;  // the bytes of the inputs read before this one
  // Reports that reading the current input has gone "offset" bytes in,
  // "counted" of them already told.
  void passed(size_t offset, uint64_t& counted);
  // The lookup tables, kept from one file to the next of one model.
  std::unique_ptr<BlockLoaders> loaders_;
};

}  // namespace vorlane

#endif  // VORLANE_VFK_VFK_PARSER_H_
