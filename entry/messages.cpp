#include "entry/messages.h"

namespace vorlane {

PrintedMessages::~PrintedMessages() { finish(); }

bool PrintedMessages::wants(FindingKind kind) const {
  return kind == FindingKind::kCannotOpen || kind == FindingKind::kUnknownCodePage ||
         kind == FindingKind::kMissingPoint;
}

bool PrintedMessages::mayWarn() {
  if (warnings_ == kMaxWarningLines) return false;
  ++warnings_;
  return true;
}

void PrintedMessages::report(const Finding& finding) {
  switch (finding.kind) {
    case FindingKind::kCannotOpen:
      batch_ << "VfkParser: Unable to open file" << finding.subject << "\n";
      batch_.flush();
      break;
    case FindingKind::kUnknownCodePage:
      if (mayWarn()) {
        batch_ << "[VfkParser Warning]: unhandled codepage parsed (" << finding.subject << ") \n";
      }
      break;
    case FindingKind::kMissingPoint:
      // Map-element lines lose their missing points without a word.
      if (finding.line == LineKind::kMapElement) break;
      if (!mayWarn()) {
        ++leftOut_;
        break;
      }
      if (finding.line == LineKind::kParcelBoundary) {
        batch_ << "[Warning]: Parcel border polyline point missing (point index = "
               << finding.number << ", parcel ID1 = " << finding.subject
               << ", parcel ID2 = " << finding.subject2 << ")\n";
      } else if (finding.line == LineKind::kBuildingOutline) {
        batch_ << "[Warning]: General polyline point missing (point index = " << finding.number
               << ")\n";
      } else {
        batch_ << "[Warning]: BPEJ polyline point missing (point index = " << finding.number
               << ")\n";
      }
      break;
    default:
      break;
  }
}

void PrintedMessages::finish() {
  if (finished_) return;
  finished_ = true;
  if (leftOut_ > 0) batch_ << "[Warning]: " << leftOut_ << " further missing points not listed\n";
  batch_.flush();
}

}  // namespace vorlane
