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
  void chain(std::span<const LineEnds> pieces, ChainSearch how = ChainSearch::kAuto);

  // The steps of every chain, one chain after another; valid until the next
  // chain().
  const std::vector<ChainStep>& steps() const { return steps_; }
  // Where each chain ends in steps(): one past its last step.
  const std::vector<uint32_t>& chainEnds() const { return chainEnds_; }

 private:
  // Where a piece ends: at "point", with its front or its back. Ordered by
  // all three, so that every sort puts a closed piece's front first.
  struct End {
    int32_t point;
    uint32_t piece;
    bool back;
    bool operator<(const End& other) const {
      if (point != other.point) return point < other.point;
      return piece != other.piece ? piece < other.piece : back < other.back;
    }
  };

  // The first piece in list order not yet walked that ends at "point",
  // walked away from it and marked walked; nullopt when there is none.
  std::optional<ChainStep> takeAt(int32_t point);
  int32_t endOf(const ChainStep& step) const;

  std::span<const LineEnds> pieces_;
  bool sorted_ = false;
  std::vector<End> ends_;
  std::vector<bool> walked_;
  std::vector<ChainStep> backwards_;
  std::vector<ChainStep> steps_;
  std::vector<uint32_t> chainEnds_;
};

}  // namespace vorlane

#endif  // VORLANE_MODEL_PIECE_CHAINS_H_
