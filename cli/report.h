// The converter's report of a run, in JSON: for each conversion its inputs
// with the code page each was read with, its drawing, what the drawing
// holds layer by layer, and what its files lack. README.md describes the
// format.
#ifndef VORLANE_CLI_REPORT_H_
#define VORLANE_CLI_REPORT_H_

#include <array>
#include <map>
#include <utility>
#include <span>
#include <string>
#include <vector>

#include "cli/findings.h"
#include "cli/options.h"
#include "entry/conversion.h"

namespace vorlane::cli {

// What became of one conversion.
struct ConversionRecord {
  std::vector<std::string> inputs;  // as given
  std::vector<InputRead> reads;     // of the inputs read, in order
  std::string drawing;              // where its drawing went or was to go
  std::string status;               // "written", "refused", "not read", "not written" or "empty"
  std::string message;              // why, when it is not "written"
  DrawingCounts counts;
  std::array<int64_t, kFindingKinds> findingCounts{};
  std::vector<KeptFinding> findings;  // the first ones of each kind
  // The rows of each block, and the dropped ones of each by reason.
  std::vector<BlockRowCount> blockRows;
  std::map<std::pair<std::string, DropReason>, int64_t> droppedRows;
};

// The whole report.
std::string reportJson(const Options& options, std::span<const ConversionRecord> records);

// The name of a code page, as the report and the summary give it.
std::string_view codePageName(int codePage);

}  // namespace vorlane::cli

#endif  // VORLANE_CLI_REPORT_H_
