// The findings of one conversion, as the converter keeps them: every one
// counted, the first of each kind kept for the report, and each handed on
// to the library's messages.
#ifndef VORLANE_CLI_FINDINGS_H_
#define VORLANE_CLI_FINDINGS_H_

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "entry/messages.h"
#include "model/diagnostics.h"

namespace vorlane::cli {

constexpr size_t kFindingKinds = kFindingKindCount;

class ConversionFindings : public Diagnostics {
 public:
  // The report lists at most this many findings of each kind.
  static constexpr size_t kKeptPerKind = 1000;

  // The library's messages go to "messages".
  explicit ConversionFindings(std::string& messages) : printed_(&messages) {}

  void report(const Finding& finding) override;

  // Ends the library's messages (the count of warnings left out).
  void finish() { printed_.finish(); }

  int64_t count(FindingKind kind) const { return counts_[static_cast<size_t>(kind)]; }
  // Labels without a position, texts (numbers, codes) apart from symbols and arrows.
  int64_t unplacedTexts() const { return unplacedTexts_; }
  int64_t openParcels() const { return openParcels_; }
  int64_t openBuildings() const { return count(FindingKind::kOpenBorder) - openParcels_; }
  const std::vector<KeptFinding>& kept() const { return kept_; }
  // The rows dropped of each block, by reason, all of them.
  const std::map<std::pair<std::string, DropReason>, int64_t>& droppedRows() const {
    return droppedRows_;
  }

 private:
  PrintedMessages printed_;
  std::array<int64_t, kFindingKinds> counts_{};
  int64_t unplacedTexts_ = 0;
  int64_t openParcels_ = 0;
  std::vector<KeptFinding> kept_;
  std::map<std::pair<std::string, DropReason>, int64_t> droppedRows_;
};

}  // namespace vorlane::cli

#endif  // VORLANE_CLI_FINDINGS_H_
