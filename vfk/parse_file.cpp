// VfkParser: one pass over each file's lines, handing each record to the
// header handler, the block definitions or the block loaders.
#include <algorithm>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "platform/files.h"
#include "vfk/block_loaders.h"
#include "vfk/block_table.h"
#include "vfk/line_reader.h"
#include "vfk/record_syntax.h"
#include "vfk/vfk_parser.h"

namespace vorlane {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool equalsIgnoringCase(std::string_view text, std::string_view upperCase) {
  if (text.size() != upperCase.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    if (upper != upperCase[i]) return false;
  }
  return true;
}

// Header records: only CODEPAGE is used. Its value names the code page as
// the export's database does, e.g. "WE8ISO8859P2" for ISO-8859-2: what
// follows the first of the letters I, S and O and the two characters after
// it (or, without any of them, the first two characters) is compared. A
// code page that is not known leaves the one in force, and is reported while
// that is still the system's ANSI code page.
void readHeader(const SplitLine& row, BlockLoaders& loaders, Diagnostics& diagnostics) {
  const std::string_view first = row.field(0);
  const std::string_view key = first.size() >= 2 ? first.substr(2) : std::string_view();
  loaders.noteHeader(key, row.field(1));
  if (key != "CODEPAGE") return;

  std::string_view value = stripQuotes(row.field(1));
  if (equalsIgnoringCase(value, "UTF-8") || equalsIgnoringCase(value, "UTF8")) {
    loaders.setCodePage(kUtf8CodePage);
    return;
  }
  const size_t letter = value.find_first_of("ISO");
  value.remove_prefix(std::min(value.size(), letter == std::string_view::npos ? 2 : letter + 3));
  if (value == "8859P2") {
    loaders.setCodePage(kIso8859_2CodePage);
  } else if (loaders.codePage() == kAnsiCodePage) {
    diagnostics.report(Finding{.kind = FindingKind::kUnknownCodePage, .subject = value});
  }
}

// The block a B record defines: its name runs from the third character up to
// the first semicolon.
std::string_view blockNameOfRecord(std::string_view line) {
  const size_t semicolon = line.find(';');
  return semicolon == std::string_view::npos ? line.substr(2)
         : semicolon > 2                     ? line.substr(2, semicolon - 2)
                                             : std::string_view();
}

// Whether the rows of a block give the drawing anything: KATUZE's do not,
// and header sections repeat its rows before any block is defined.
bool usedRows(BlockKind kind) { return kind != BlockKind::kNone && kind != BlockKind::KATUZE; }

void reportDropped(Diagnostics& diagnostics, DropReason reason, std::string_view line,
                   uint64_t lineNumber) {
  diagnostics.report(Finding{.kind = FindingKind::kRowDropped,
                             .reason = reason,
                             .subject = line.size() >= 2 ? blockNameOfRecord(line) : line,
                             .number = static_cast<int64_t>(lineNumber)});
}

// How a file ended, and what it held.
struct FileEnd {
  bool endRecord = false;  // its &K record came
  std::optional<LineReader::EndMark> endMark;
  uint64_t lines = 0;
  uint64_t bytes = 0;  // the input's size
  std::vector<BlockRowCount> blockRows;
};

// Counts the data rows of each block.
class BlockRows {
 public:
  explicit BlockRows(std::vector<BlockRowCount>& rows) : rows_(rows) {}
  // The rows that follow are of the block "name".
  void select(std::string_view name) {
    for (size_t k = 0; k < rows_.size(); ++k) {
      if (rows_[k].block == name) {
        current_ = k;
        return;
      }
    }
    current_ = rows_.size();
    rows_.push_back(BlockRowCount{.block = std::string(name)});
  }
  void count() { ++rows_[current_].rows; }

 private:
  std::vector<BlockRowCount>& rows_;
  size_t current_ = 0;
};

// Whether "line" ends with the mark of a record continued on the next line,
// the currency sign: 0xA4 in the 8-bit code pages, U+00A4 in UTF-8.
std::string_view continuationMark(std::string_view line, int codePage) {
  const std::string_view mark = codePage == kUtf8CodePage ? "\xC2\xA4" : "\xA4";
  return line.ends_with(mark) ? mark : std::string_view();
}

// One pass over the file's lines. In the standard drawing a line is read as
// the library has always read it, split at every semicolon, and a 0x1A ends
// the input; a data row whose values do not fit its block is loaded all the
// same, and reported. Read as the format means it ("exact"), a semicolon or a
// doubled quote inside a text is part of it, a record may be continued over
// several lines, and a row that does not fit its block is left out, and
// reported.
FileEnd readRecords(LineReader& reader, BlockLoaders& loaders, Diagnostics& diagnostics,
                    bool exact) {
  SplitLine row;
  BlockKind currentBlockKind = BlockKind::kNone;
  bool plan = false;  // the block is one of the geometric plan's
  bool blockDefined = false;
  int columnSeparators = 0;  // the semicolons of a row that fits the current block
  FileEnd end;
  BlockRows blockRows(end.blockRows);
  std::string continued;  // a record continued over several lines
  std::string_view line;
  // Loads the data row "line" of the current block, the file's line
  // "lineNumber", when its values fit the block, or reports it.
  auto loadDataRow = [&](std::string_view record, uint64_t lineNumber) {
    const int fieldsRead = loaders.fieldsRead(currentBlockKind);
    const int separators = reader.splitLastLine(row, fieldsRead);
    if (separators == columnSeparators || !usedRows(currentBlockKind)) {
      loaders.loadRow(currentBlockKind, row, lineNumber);
      return;
    }
    if (exact && separators < columnSeparators) {
      if (const std::string_view mark = continuationMark(record, loaders.codePage());
          !mark.empty()) {
        continued.assign(record.substr(0, record.size() - mark.size()));
        std::string_view next;
        bool cut = false;
        while (reader.nextLine(next)) {
          const std::string_view nextMark = continuationMark(next, loaders.codePage());
          const std::string_view piece = next.substr(0, next.size() - nextMark.size());
          // A record keeps to the line bound, as a line does.
          const size_t room = LineReader::kMaxLineLength - continued.size();
          cut = cut || piece.size() > room;
          continued.append(piece.substr(0, room));
          if (nextMark.empty()) break;
        }
        if (cut) reportDropped(diagnostics, DropReason::kLineTooLong, continued, lineNumber);
        record = continued;
      }
    }
    SplitLine quoted;
    const int quotedSeparators = splitQuotedFields(record, quoted, fieldsRead);
    if (exact && quotedSeparators == columnSeparators) {
      loaders.loadRow(currentBlockKind, quoted, lineNumber);
      return;
    }
    const DropReason why = separators < columnSeparators        ? DropReason::kTooFewFields
                           : quotedSeparators == columnSeparators ? DropReason::kTextWithSemicolon
                                                                  : DropReason::kTooManyFields;
    reportDropped(diagnostics, why, record, lineNumber);
    // The standard drawing reads it all the same, as split at first.
    if (!exact) loaders.loadRow(currentBlockKind, row, lineNumber);
  };
  while (reader.nextLine(line)) {
    // Editors may put a byte-order mark before the first record.
    if (reader.lineNumber() == 1 && line.starts_with(kByteOrderMark)) {
      reader.dropLastLinePrefix(kByteOrderMark.size());
      line.remove_prefix(kByteOrderMark.size());
    }
    if (reader.lastLineCut() && diagnostics.wants(FindingKind::kRowDropped)) {
      reportDropped(diagnostics, DropReason::kLineTooLong, line, reader.lineNumber());
    }
    if (line.size() < 2) continue;
    // A record begins with "&"; the standard drawing never looked.
    if (exact && line[0] != '&') continue;
    switch (line[1]) {
      case 'H':
        reader.splitLastLine(row, kMaxFields);
        // Some files define a block in a header before any B record, and
        // give rows of it there (a register extract's PAR): read exactly,
        // the header defines the block for them.
        if (exact && !blockDefined && row.fieldCount > 1 &&
            row.field(1).find(' ') != std::string_view::npos) {
          const BlockKind kind = blockKindOf(blockNameOfRecord(line), exact, &plan);
          if (kind != BlockKind::kNone && kind != BlockKind::KATUZE) {
            blockRows.select(blockNameOfRecord(line));
            currentBlockKind = kind;
            columnSeparators = reader.splitLastLine(row, kMaxFields) - (line.back() == ';' ? 1 : 0);
            loaders.defineBlock(kind, row, plan, blockNameOfRecord(line));
            break;
          }
        }
        readHeader(row, loaders, diagnostics);
        break;
      case 'B':
        // A B record selects the block its data rows belong to; a block with
        // a loader also tells the loader where its columns are.
        loaders.finishBlock();
        blockDefined = true;
        blockRows.select(blockNameOfRecord(line));
        currentBlockKind = blockKindOf(blockNameOfRecord(line), exact, &plan);
        if (currentBlockKind != BlockKind::kNone) {
          columnSeparators = reader.splitLastLine(row, kMaxFields) - (line.back() == ';' ? 1 : 0);
          loaders.defineBlock(currentBlockKind, row, plan, blockNameOfRecord(line));
        }
        break;
      case 'D':
        // A row belongs to the block defined last, whatever name it gives.
        if (!blockDefined && currentBlockKind == BlockKind::kNone) {
          blockRows.select(blockNameOfRecord(line));
        }
        blockRows.count();
        if (currentBlockKind != BlockKind::kNone) {
          loadDataRow(line, reader.lineNumber());
        } else if (!blockDefined && usedRows(blockKindOf(blockNameOfRecord(line), exact))) {
          reportDropped(diagnostics, DropReason::kBeforeBlockDefinition, line, reader.lineNumber());
        }
        break;
      case 'K':
        end.endRecord = end.endRecord || line[0] == '&';
        break;
      default:
        break;
    }
  }
  loaders.finishFile();
  end.endMark = reader.endMark();
  end.lines = reader.lineNumber();
  end.bytes = reader.inputSize();
  return end;
}

}  // namespace

VfkParser::VfkParser(Diagnostics& diagnostics, const PointBudget& limits,
                     std::atomic<uint64_t>* bytesRead)
    : diagnostics_(diagnostics), limits_(limits), bytesRead_(bytesRead) {}

VfkParser::~VfkParser() = default;

FileRead VfkParser::read(PathView vfkPath, int codePage, bool onePerId, bool exact) {
  InputFile file(vfkPath);
  if (!file.isOpen()) {
    FileRead result;
    result.codePage = codePage;
    const std::string path = pathToUtf8(vfkPath);
    diagnostics_.report(
        Finding{.kind = FindingKind::kCannotOpen, .subject = path, .detail = file.failure()});
    result.failure = file.failure();
    return result;
  }
  FileRead result = readInput(
      {}, [&file](char* buffer, size_t size) { return file.read(buffer, size); },
      pathToUtf8(vfkPath), codePage, onePerId, exact);
  result.failure = file.failureOnceRead();
  result.readWhole = result.failure.empty();
  return result;
}

void VfkParser::passed(size_t offset, uint64_t& counted) {
  if (bytesRead_ != nullptr) bytesRead_->fetch_add(offset - counted, std::memory_order_relaxed);
  counted = offset;
  if (progress_) progress_(inputsBefore_ + counted);
}

FileRead VfkParser::readInput(std::span<const char> bytes, const LineReader::ByteSource& source,
                              const std::string& name, int codePage, bool onePerId, bool exact) {
  FileRead result;
  if (!loaders_) loaders_ = std::make_unique<BlockLoaders>(model, diagnostics_, limits_);
  loaders_->beginFile(codePage, onePerId, exact);
  const size_t pointsBefore = model.points.size();
  model.areaCode = model.areaName = model.version = TextRef();
  model.cutByPolygon = false;
  uint64_t counted = 0;
  auto tell = [&](size_t offset) { passed(offset, counted); };
  LineReader reader = source ? LineReader(source, !exact, tell) : LineReader(bytes, !exact, tell);
  FileEnd end = readRecords(reader, *loaders_, diagnostics_, exact);
  // Also the bytes after a mark that ended the input were gone through.
  passed(end.bytes, counted);
  inputsBefore_ += counted;
  result.opened = true;
  result.readWhole = true;
  result.codePage = loaders_->codePage();
  result.blockRows = std::move(end.blockRows);
  for (auto& [block, states] : loaders_->takeStateRows()) {
    for (BlockRowCount& count : result.blockRows) {
      if (count.block == block) count.states = std::move(states);
    }
  }
  result.areaCode = model.text(model.areaCode);
  result.areaName = model.text(model.areaName);
  result.version = model.text(model.version);
  result.cutByPolygon = model.cutByPolygon;
  for (size_t k = pointsBefore; k < model.points.size(); ++k) {
    const Point& point = model.points[k];
    result.extent.minX = std::min(result.extent.minX, point.x);
    result.extent.maxX = std::max(result.extent.maxX, point.x);
    result.extent.minY = std::min(result.extent.minY, point.y);
    result.extent.maxY = std::max(result.extent.maxY, point.y);
  }
  if (end.endMark) {
    result.unreadBytes = end.endMark->unreadBytes;
    diagnostics_.report(Finding{.kind = FindingKind::kEndMarkBeforeEnd,
                                .subject = name,
                                .number = static_cast<int64_t>(end.endMark->line),
                                .offset = static_cast<int64_t>(end.endMark->offset),
                                .count = static_cast<int64_t>(end.endMark->unreadBytes)});
  } else if (!end.endRecord) {
    // Files end with &K: one without it may have lost its last blocks.
    result.endRecord = false;
    diagnostics_.report(Finding{.kind = FindingKind::kNoEndRecord,
                                .subject = name,
                                .number = static_cast<int64_t>(end.lines)});
  }
  return result;
}

FileRead VfkParser::parseFile(PathView vfkPath, int codePage, const DrawingOptions& options) {
  return parseWith(options, [&] { return read(vfkPath, codePage, false, options.exact); });
}

FileRead VfkParser::parseBytes(std::span<const char> bytes, const std::string& name, int codePage,
                               const DrawingOptions& options) {
  return parseWith(options, [&] { return addBytes(bytes, name, codePage, options, false); });
}

FileRead VfkParser::parseWith(const DrawingOptions& options, const std::function<FileRead()>& read) {
  model.clear();
  loaders_.reset();
  FileRead result = read();
  // The lookup tables go before the geometry is resolved.
  loaders_.reset();
  if (result.opened) model.resolveGeometry(options, diagnostics_);
  return result;
}

FileRead VfkParser::readFile(PathView vfkPath, int codePage, const DrawingOptions& options) {
  return read(vfkPath, codePage, true, options.exact);
}

FileRead VfkParser::addBytes(std::span<const char> bytes, const std::string& name, int codePage,
                             const DrawingOptions& options, bool onePerId) {
  return readInput(bytes, {}, name, codePage, onePerId, options.exact);
}

void VfkParser::resolve(const DrawingOptions& options) {
  loaders_.reset();
  model.resolveGeometry(options, diagnostics_);
}

}  // namespace vorlane
