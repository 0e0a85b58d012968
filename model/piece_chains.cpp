#include "model/piece_chains.h"

#include <algorithm>

namespace vorlane {

namespace {
// Up to this many pieces (most parcels and buildings have a handful),
// looking at each piece costs less than sorting their ends.
constexpr size_t kScannedPieces = 24;
}  // namespace

void PieceChainer::chain(std::span<const LineEnds> pieces, ChainSearch how) {
  pieces_ = pieces;
  sorted_ = how == ChainSearch::kIndexed ||
            (how == ChainSearch::kAuto && pieces.size() > kScannedPieces);
  ends_.clear();
  if (sorted_) {
    ends_.reserve(2 * pieces.size());
    for (uint32_t k = 0; k < pieces.size(); ++k) {
      ends_.push_back({pieces[k].front, k, false});
      ends_.push_back({pieces[k].back, k, true});
    }
    std::sort(ends_.begin(), ends_.end());
  }
  walked_.assign(pieces.size(), false);
  steps_.clear();
  chainEnds_.clear();
  for (uint32_t k = 0; k < pieces.size(); ++k) {
    if (walked_[k]) continue;
    walked_[k] = true;
    const auto first = static_cast<uint32_t>(steps_.size());
    steps_.push_back(ChainStep{k, false});
    const int32_t start = pieces[k].front;
    int32_t end = pieces[k].back;
    while (end != start) {
      const std::optional<ChainStep> next = takeAt(end);
      if (!next) break;
      steps_.push_back(*next);
      end = endOf(*next);
    }
    // An open chain may go on from its start too: those pieces come first,
    // walked towards the start.
    if (end != start) {
      backwards_.clear();
      for (int32_t front = start;;) {
        const std::optional<ChainStep> before = takeAt(front);
        if (!before) break;
        front = endOf(*before);
        backwards_.push_back(ChainStep{before->piece, !before->reversed});
      }
      steps_.insert(steps_.begin() + first, backwards_.rbegin(), backwards_.rend());
    }
    chainEnds_.push_back(static_cast<uint32_t>(steps_.size()));
  }
}

std::optional<ChainStep> PieceChainer::takeAt(int32_t point) {
  if (!sorted_) {
    for (uint32_t k = 0; k < pieces_.size(); ++k) {
      if (walked_[k]) continue;
      const bool front = pieces_[k].front == point;
      if (!front && pieces_[k].back != point) continue;
      walked_[k] = true;
      return ChainStep{k, !front};
    }
    return std::nullopt;
  }
  auto at = std::lower_bound(ends_.begin(), ends_.end(), End{point, 0, false});
  for (; at != ends_.end() && at->point == point; ++at) {
    if (walked_[at->piece]) continue;
    walked_[at->piece] = true;
    return ChainStep{at->piece, at->back};
  }
  return std::nullopt;
}

int32_t PieceChainer::endOf(const ChainStep& step) const {
  return step.reversed ? pieces_[step.piece].front : pieces_[step.piece].back;
}

}  // namespace vorlane
