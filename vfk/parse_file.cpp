// VfkParser::parseFile: one pass over the file's lines, handing each record
// to the header handler, the block definitions or the block loaders.
#include <algorithm>
#include <string>

#include "platform/code_page.h"
#include "platform/console.h"
#include "platform/files.h"
#include "vfk/block_loaders.h"
#include "vfk/line_reader.h"
#include "vfk/record_syntax.h"
#include "vfk/text_conversion.h"
#include "vfk/vfk_parser.h"

namespace vorlane {

namespace {

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
// it (or, without any of them, the first two characters) is compared. The code
// page named is remembered for the rest of the process.
void readHeader(const SplitLine& row, BlockLoaders& loaders) {
  const std::string_view first = row.field(0);
  const std::string_view key = first.size() >= 2 ? first.substr(2) : std::string_view();
  if (key != "CODEPAGE") return;

  std::string_view value = stripQuotes(row.field(1));
  if (equalsIgnoringCase(value, "UTF-8") || equalsIgnoringCase(value, "UTF8")) {
    setProcessCodePage(kUtf8CodePage);
  } else {
    const size_t letter = value.find_first_of("ISO");
    value.remove_prefix(std::min(value.size(), letter == std::string_view::npos ? 2 : letter + 3));
    if (value == "8859P2") {
      setProcessCodePage(kIso8859_2CodePage);
    } else if (processCodePage() == kAnsiCodePage) {
      writeMessage("[VfkParser Warning]: unhandled codepage parsed (" + std::string(value) +
                   ") \n");
    }
  }
  loaders.setCodePage(processCodePage());
}

// The block a B record defines: its name runs from the third character up to
// the first semicolon.
BlockKind blockKindOfDefinition(std::string_view line) {
  const size_t semicolon = line.find(';');
  if (semicolon == std::string_view::npos) return blockKindOf(line.substr(2));
  if (semicolon > 2) return blockKindOf(line.substr(2, semicolon - 2));
  return BlockKind::kNone;
}

void readRecords(InputFile& file, BlockLoaders& loaders) {
  LineReader reader(file);
  SplitLine row;
  BlockKind currentBlockKind = BlockKind::kNone;
  std::string_view line;
  while (reader.nextLine(line)) {
    if (line.size() < 2) continue;
    switch (line[1]) {
      case 'H':
        reader.splitLastLine(row, kMaxFields);
        readHeader(row, loaders);
        break;
      case 'B':
        // A B record selects the block its data rows belong to; a block with
        // a loader also tells the loader where its columns are.
        loaders.finishRows();
        currentBlockKind = blockKindOfDefinition(line);
        if (currentBlockKind != BlockKind::kNone) {
          reader.splitLastLine(row, kMaxFields);
          loaders.defineBlock(currentBlockKind, row);
        }
        break;
      case 'D':
        // A row belongs to the block defined last, whatever name it gives.
        if (currentBlockKind != BlockKind::kNone) {
          reader.splitLastLine(row, loaders.fieldsRead(currentBlockKind));
          loaders.loadRow(currentBlockKind, row);
        }
        break;
      default:
        break;
    }
  }
  loaders.finishRows();
}

}  // namespace

bool VfkParser::parseFile(PathView vfkPath, std::string* failure) {
  {
    InputFile file(vfkPath);
    model.clear();
    if (!file.isOpen()) {
      writeMessage("VfkParser: Unable to open file" + pathToUtf8(vfkPath) + "\n");
      if (failure != nullptr) *failure = file.failure();
      return false;
    }
    BlockLoaders loaders(model, processCodePage(), limits);
    readRecords(file, loaders);
    if (failure != nullptr) *failure = file.failure();
  }  // the file is closed and the lookup tables are gone before the geometry is resolved
  model.resolveGeometry();
  return true;
}

}  // namespace vorlane
