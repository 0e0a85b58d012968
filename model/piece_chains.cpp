#include "model/piece_chains.h"

#include <algorithm>
#include <limits>

namespace vorlane {

namespace {
// Up to this many pieces (most parcels and buildings have a handful),
// looking at each piece costs less than sorting their ends.
constexpr size_t kScannedPieces = 24;

constexpr int32_t kWalked = std::numeric_limits<int32_t>::min();

// A point's ends sort before a greater point's, whatever the signs.
uint64_t pointKey(int32_t point) {
  return uint64_t{static_cast<uint32_t>(point) ^ 0x80000000u} << 32;
}

uint64_t endKey(int32_t point, uint32_t piece, bool back) {
  return pointKey(point) | uint64_t{piece} << 1 | uint64_t{back};
}
}  // namespace

void PieceChainer::chain(std::span<const LineEnds> pieces, ChainSearch how) {
  pieces_ = pieces;
  sorted_ = how == ChainSearch::kIndexed ||
            (how == ChainSearch::kAuto && pieces.size() > kScannedPieces);
  open_.assign(pieces.begin(), pieces.end());
  ends_.clear();
  if (sorted_) {
    ends_.reserve(2 * pieces.size());
    for (uint32_t k = 0; k < pieces.size(); ++k) {
      ends_.push_back(endKey(pieces[k].front, k, false));
      ends_.push_back(endKey(pieces[k].back, k, true));
    }
    std::sort(ends_.begin(), ends_.end());
  }
  steps_.clear();
  chainEnds_.clear();
  for (uint32_t k = 0; k < pieces.size(); ++k) {
    if (open_[k].front == kWalked) continue;
    open_[k] = {kWalked, kWalked};
    firstOpen_ = k + 1;
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
    for (uint32_t k = firstOpen_; k < open_.size(); ++k) {
      LineEnds& piece = open_[k];
      const bool front = piece.front == point;
      if (!front && piece.back != point) continue;
      piece = {kWalked, kWalked};
      return ChainStep{k, !front};
    }
    return std::nullopt;
  }
  const uint64_t key = pointKey(point);
  auto at = std::lower_bound(ends_.begin(), ends_.end(), key);
  for (; at != ends_.end() && (*at >> 32) == (key >> 32); ++at) {
    const auto piece = static_cast<uint32_t>(*at & 0xFFFFFFFF) >> 1;
    if (open_[piece].front == kWalked) continue;
    open_[piece] = {kWalked, kWalked};
    return ChainStep{piece, (*at & 1) != 0};
  }
  return std::nullopt;
}

int32_t PieceChainer::endOf(const ChainStep& step) const {
  return step.reversed ? pieces_[step.piece].front : pieces_[step.piece].back;
}

}  // namespace vorlane
