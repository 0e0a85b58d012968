// The syntax of a VFK record line.
//
//   line   := "&" kind first-field { ";" field }
//   kind   := "H" (header) | "B" (block definition) | "D" (data row) | other
//
// A B record names its block, then defines one column per field as the
// column's name, a space and its type:
//   &BSOBR;ID N30;STAV_DAT N2;SOURADNICE_Y N10.2;SOURADNICE_X N10.2
// D rows of that block follow, one value per column; texts are quoted:
//   &DSOBR;4490307306;0;780513.22;1163996.28
// Fields are split at every semicolon, also at one inside quotes.
#ifndef VORLANE_VFK_RECORD_SYNTAX_H_
#define VORLANE_VFK_RECORD_SYNTAX_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vorlane {

// Fields beyond the 50th of a line are dropped.
constexpr int kMaxFields = 50;

// The fields of the line split last. Field 0 is the record's first field
// ("&DSOBR"), field k the k-th field after it. They point into the line and
// are valid only while it is.
struct SplitLine {
  // Field k is base[bounds[k], bounds[k + 1] - 1): each field ends one byte
  // before the next begins, where the semicolon between them stands (or,
  // after the last field, would stand). Offsets and not views, so that a
  // split stores 4 bytes a field.
  const char* base = nullptr;
  std::array<uint32_t, kMaxFields + 1> bounds;
  int fieldCount = 0;

  // Begins a split of the text at "text": no field yet.
  void startAt(const char* text) {
    base = text;
    bounds[0] = 0;
    fieldCount = 0;
  }

  // The field at "position"; empty text when the position is -1 (a column
  // the block does not have) or at or beyond fieldCount.
  std::string_view field(int position) const {
    if (position < 0 || position >= fieldCount) return {};
    const uint32_t start = bounds[static_cast<size_t>(position)];
    return std::string_view(base + start, bounds[static_cast<size_t>(position) + 1] - 1 - start);
  }
};

// The longest line a SplitLine's offsets reach across.
constexpr size_t kMaxSplitLength = UINT32_MAX - 1;

// Splits "line" at its semicolons into row's fields and returns the number
// of fields, which also becomes row.fieldCount. Empty pieces count, except
// one after the last semicolon: "a;;b" has three fields, "a;b;" two and ""
// none. REQUIRES: line.size() <= kMaxSplitLength.
int splitFields(std::string_view line, SplitLine& row);

// Splits "line" at the semicolons that separate its values as the format
// means them: a value that begins with a double quote is a text, which runs
// to the next quote that is not doubled ("a;b", "say ""yes"""), so that a
// semicolon inside it is part of it. Fills at most "maxFields" fields (at
// most kMaxFields) as splitFields does, and returns the number of separating
// semicolons in the whole line, or -1 when a text is not closed or the line
// is longer than kMaxSplitLength, which it leaves unsplit.
int splitQuotedFields(std::string_view line, SplitLine& row, int maxFields);

// A text value as the format means it: without its quotes, and with each
// doubled quote inside it one quote. "scratch" holds the result when it
// differs from a view of the value.
std::string_view unquotedText(std::string_view value, std::string& scratch);

// Position of the column "name" in a split B record, or -1. A field's name
// is its text up to its first space.
int findFieldIndex(const SplitLine& definition, int fieldCount, std::string_view name);

// The blocks that have a loader (block_table.h): the thirteen of the
// standard drawing numbered as the format's documentation does, and those
// the exact drawing reads besides. Every value is below 256.
enum class BlockKind : int {
  kNone = 0,
  KATUZE = 10,
  SOBR = 101,
  SBP = 102,
  SBM = 103,
  SPOL = 104,
  HP = 113,
  OP = 114,
  OB = 125,
  DPM = 136,
  OBBP = 137,
  ZVB = 138,
  HBPEJ = 157,
  OBPEJ = 158,
  TYPBUD = 200,
  PAR = 201,
  BUD = 210,
  TEL = 211,
  OBDEBO = 230,
  TYPPPD = 240,
  DRUPOZ = 241,
  ZPVYPA = 242,
  ZPVYBU = 243,
  KODCHB = 244,
};

// Drops the first and the last character of a text of two or more
// characters, whatever they are; a shorter text is returned unchanged.
std::string_view stripQuotes(std::string_view text);

// The key of an identifier's text in the reader's lookup maps: a 64-bit
// FNV-style hash in which every byte is taken as signed. Two identifiers
// with the same key count as one.
uint64_t idKey(std::string_view text);

}  // namespace vorlane

#endif  // VORLANE_VFK_RECORD_SYNTAX_H_
