// What a conversion finds that its drawing cannot show as the file means it:
// a point a line lacks, a border that does not close, a label without a
// position, a row that had to be dropped, a code page it does not know, a
// file it cannot open, a file that ends early or was cut short; and what a
// surveyor checks: a parcel whose area differs from the register, a number
// outside its parcel, a parcel without a number, a segment the standard
// drawing adds. The reader and the model report each finding, as it is
// found, to the Diagnostics their caller gives them; they print nothing.
// The library's export turns findings into its messages on standard output
// (entry/messages.h); the converter also counts them and writes a report.
#ifndef VORLANE_MODEL_DIAGNOSTICS_H_
#define VORLANE_MODEL_DIAGNOSTICS_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/records.h"

namespace vorlane {

enum class FindingKind : uint8_t {
  kCannotOpen,            // subject: the path; detail: the system's reason
  kUnknownCodePage,       // subject: the code page the header names, after its prefix
  kMissingPoint,          // line; number: the point's position in its line;
                          // subject, subject2: the parcels on its sides
  kOpenBorder,            // record: subject; places: its loose ends
  kLabelWithoutPosition,  // label; subject: its parcel, building or unit
  kRowDropped,            // reason; subject: the row's block; number: its line
  kEndMarkBeforeEnd,      // a byte 0x1A ended the input with more after it; subject: the
                          // path; number: its line; offset: its byte; count: bytes not read
  kNoEndRecord,           // the file ends without its &K record; subject: the path;
                          // number: its last line
  kTextShortened,         // a text longer than a drawing's format holds; subject: the
                          // text; number: its length in bytes
  kAreaMismatch,          // subject: the parcel; number: its registered area (m²);
                          // measure: its border's area; limit: the tolerance
  kNumberOutsideParcel,   // subject: the parcel; places: where its number stands
  kParcelWithoutNumber,   // subject: the parcel, which the file describes
  kChordDrawn,            // line; subject: the record; places: the segment's ends;
                          // measure: its length; a segment of the standard drawing
                          // that no line of the file holds
};
// The number of kinds: the last one's value and one.
inline constexpr size_t kFindingKindCount = static_cast<size_t>(FindingKind::kChordDrawn) + 1;

// The kinds of line, for missing points and open borders.
enum class LineKind : uint8_t {
  kNone,
  kParcelBoundary,
  kBuildingOutline,
  kBpejBoundary,
  kMapElement,
};

// The labels that can lack a position.
enum class LabelKind : uint8_t {
  kNone,
  kParcelNumber,
  kParcelArrow,
  kParcelSymbol,
  kBuildingNumber,
  kBuildingSymbol,
  kBpejCode,
  kMapText,
};

// Why the reader dropped a row.
enum class DropReason : uint8_t {
  kNone,
  kBeforeBlockDefinition,  // a data row before any block definition
  kLineTooLong,            // a line cut at the line bound (what it lost)
  kBadOrdinal,             // an ordinal that is not a number from 1 on
  kOrdinalBeyondBound,     // an ordinal above the largest placed
  kTooManyGaps,            // its ordinal would open more gaps than allowed
  kUnknownPoint,           // a point no SOBR row defined
  kNoPoints,               // a line whose identifier has no points
  kTooManyLineEntries,     // a line beyond what the file's rows can pay for
  kUnknownParcel,          // a label of a parcel no boundary introduced
  kUnknownBpejArea,        // a label of a unit no border introduced
  kTextWithSemicolon,      // a quoted text held a semicolon, which split the row
  kTooFewFields,           // fewer values than its block has columns
  kTooManyFields,          // more values than its block has columns
  kUnknownKind,            // a kind of row the exact drawing does not know
};

struct Finding {
  FindingKind kind = FindingKind::kRowDropped;
  LineKind line = LineKind::kNone;
  LabelKind label = LabelKind::kNone;
  DropReason reason = DropReason::kNone;
  std::string_view subject;
  std::string_view subject2;
  // The parcels of subject and subject2 as the cadastre names them ("p.č.
  // 1386/9", "st. 37/1"), where the file describes them.
  std::string_view name;
  std::string_view name2;
  std::string_view detail;
  int64_t number = -1;
  int64_t offset = -1;
  int64_t count = -1;
  double measure = 0.0;
  double limit = 0.0;
  std::span<const Point> places;  // where to look in the drawing
};

// A finding that owns its texts and places, to be kept after the call.
struct KeptFinding {
  explicit KeptFinding(const Finding& finding)
      : kind(finding.kind),
        line(finding.line),
        label(finding.label),
        reason(finding.reason),
        subject(finding.subject),
        subject2(finding.subject2),
        name(finding.name),
        name2(finding.name2),
        detail(finding.detail),
        number(finding.number),
        offset(finding.offset),
        count(finding.count),
        measure(finding.measure),
        limit(finding.limit),
        places(finding.places.begin(), finding.places.end()) {}

  FindingKind kind;
  LineKind line;
  LabelKind label;
  DropReason reason;
  std::string subject;
  std::string subject2;
  std::string name;
  std::string name2;
  std::string detail;
  int64_t number;
  int64_t offset;
  int64_t count;
  double measure;
  double limit;
  std::vector<Point> places;
};

// Receives the findings of one conversion, in the order they are found. The
// views and spans of a finding are valid during the call only.
class Diagnostics {
 public:
  virtual ~Diagnostics() = default;
  virtual void report(const Finding& finding) = 0;
  // Whether findings of this kind are wanted at all: the model skips the
  // work of finding those that are not.
  virtual bool wants(FindingKind) const { return true; }
};

// Takes every finding and keeps none.
class IgnoredDiagnostics : public Diagnostics {
 public:
  void report(const Finding&) override {}
  bool wants(FindingKind) const override { return false; }
};

}  // namespace vorlane

#endif  // VORLANE_MODEL_DIAGNOSTICS_H_
