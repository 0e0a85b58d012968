#include "cli/findings.h"

namespace vorlane::cli {

void ConversionFindings::report(const Finding& finding) {
  printed_.report(finding);
  int64_t& counted = counts_[static_cast<size_t>(finding.kind)];
  ++counted;
  if (finding.kind == FindingKind::kOpenBorder && finding.line == LineKind::kParcelBoundary) {
    ++openParcels_;
  }
  if (finding.kind == FindingKind::kLabelWithoutPosition &&
      finding.label != LabelKind::kParcelArrow && finding.label != LabelKind::kParcelSymbol &&
      finding.label != LabelKind::kBuildingSymbol) {
    ++unplacedTexts_;
  }
  if (finding.kind == FindingKind::kRowDropped) {
    ++droppedRows_[{std::string(finding.subject), finding.reason}];
  }
  if (static_cast<size_t>(counted) > kKeptPerKind) return;
  kept_.emplace_back(finding);
}

}  // namespace vorlane::cli
