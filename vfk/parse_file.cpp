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
// the export's database does, e.g. "WE8ISO8859P2" for ISO-8859-2: the part
// after the "ISO" (or after the first two characters) is compared.
void readHeader(std::string_view line, SplitLine& row) {
  splitFields(line, row);
  const std::string_view first = row.field(0);
  const std::string_view key = first.size() >= 2 ? first.substr(2) : std::string_view();
  if (key != "CODEPAGE") return;

  std::string_view value = stripQuotes(row.field(1));
  if (equalsIgnoringCase(value, "UTF-8") || equalsIgnoringCase(value, "UTF8")) {
    codePage = kUtf8CodePage;
    return;
  }
  const size_t letter = value.find_first_of("ISO");
  value.remove_prefix(std::min(value.size(), letter == std::string_view::npos ? 2 : letter + 3));
  if (value == "8859P2") {
    codePage = kIso8859_2CodePage;
  } else if (codePage == kAnsiCodePage) {
    writeMessage("[VfkParser Warning]: unhandled codepage parsed (" + std::string(value) +
                 ") \n");
  }
}

// A B record selects the block its data rows belong to; a block with a
// loader also tells the loader where its columns are.
BlockKind readBlockDefinition(std::string_view line, SplitLine& row, BlockLoaders& loaders) {
  const size_t semicolon = line.find(';');
  std::string_view name;
  if (semicolon == std::string_view::npos) {
    name = line.substr(2);
  } else if (semicolon > 2) {
    name = line.substr(2, semicolon - 2);
  }
  const BlockKind kind = blockKindOf(name);
  if (kind != BlockKind::kNone) {
    splitFields(line, row);
    loaders.defineBlock(kind, row);
  }
  return kind;
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
        readHeader(line, row);
        break;
      case 'B':
        currentBlockKind = readBlockDefinition(line, row, loaders);
        break;
      case 'D':
        // A row belongs to the block defined last, whatever name it gives.
        if (currentBlockKind != BlockKind::kNone) {
          splitFields(line, row);
          loaders.loadRow(currentBlockKind, row);
        }
        break;
      default:
        break;
    }
  }
}

}  // namespace

bool VfkParser::parseFile(PathView vfkPath) {
  {
    InputFile file(vfkPath);
    BlockLoaders loaders(*this);
    clear();
    if (!file.isOpen()) {
      writeMessage("VfkParser: Unable to open file" + pathToUtf8(vfkPath) + "\n");
      return false;
    }
    readRecords(file, loaders);
  }  // the file is closed and the lookup maps are gone before the geometry is resolved
  resolveGeometry();
  return true;
}

}  // namespace vorlane
