// The order in which a border's pieces are walked: pieces that share an end
// are joined into chains that run on as far as they can. Only the pieces'
// end points matter here; what lies between them is the caller's.
#ifndef VORLANE_MODEL_PIECE_CHAINS_H_
#define VORLANE_MODEL_PIECE_CHAINS_H_

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "model/rings.h"

namespace vorlane {

// A piece as a chain walks it: from its back to its front when reversed.
struct ChainStep {
  uint32_t piece = 0;
  bool reversed = false;
};

class PieceChainer {
 public:
  // Chains "pieces" (by their ends), each once. A chain starts with the first piece not yet
  // walked and runs on from its end along the first piece in list order,
  // not yet walked, that ends there (walked from its front where both its
  // ends are there), until it returns to its start or no piece goes on; a
  // chain that does not return is then extended before its start alike.
  // "how": kScan looks at each piece, kIndexed searches their sorted ends,
  // kAuto scans a few pieces and searches many; all find the same piece.
  // REQUIRES: no end is INT32_MIN; fewer than 2^31 pieces.
  void chain(std::span<const LineEnds> pieces, ChainSearch how = ChainSearch::kAuto);

  // The steps of every chain, one chain after another; valid until the next
  // chain().
  const std::vector<ChainStep>& steps() const { return steps_; }
  // Where each chain ends in steps(): one past its last step.
  const std::vector<uint32_t>& chainEnds() const { return chainEnds_; }

 private:
  // The first piece in list order not yet walked that ends at "point",
  // walked away from it and marked walked; nullopt when there is none.
  std::optional<ChainStep> takeAt(int32_t point);
  int32_t endOf(const ChainStep& step) const;

  std::span<const LineEnds> pieces_;
  bool sorted_ = false;
  // The ends of the pieces not yet walked: a walked piece's are both
  // kWalked, which no point is, so that a scan need not ask.
  std::vector<LineEnds> open_;
  // Where a piece begins its search in a scan: the pieces before it are walked.
  uint32_t firstOpen_ = 0;
  // For a search: each end as one number, sorted by point, then piece, then
  // front before back (endKey).
  std::vector<uint64_t> ends_;
  std::vector<ChainStep> backwards_;
  std::vector<ChainStep> steps_;
  std::vector<uint32_t> chainEnds_;
};

}  // namespace vorlane

#endif  // VORLANE_MODEL_PIECE_CHAINS_H_
