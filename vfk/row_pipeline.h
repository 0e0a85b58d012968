// RowPipeline: rows whose work waits on a lookup in a large table. When a
// row is read, the memory its lookup will touch is asked for and the row is
// put aside; it is finished a few rows later, in order, when that memory has
// arrived. So the waits of several rows overlap instead of following each
// other.
#ifndef VORLANE_VFK_ROW_PIPELINE_H_
#define VORLANE_VFK_ROW_PIPELINE_H_

#include <array>
#include <cstddef>

namespace vorlane {

template <typename Row>
class RowPipeline {
 public:
  // Rows in flight: enough to cover a wait for main memory.
  static constexpr size_t kDepth = 8;

  // Puts "row" aside, first finishing the oldest row when kDepth wait.
  template <typename Finish>
  void push(const Row& row, const Finish& finish) {
    if (count_ == kDepth) {
      finish(rows_[oldest_]);
      rows_[oldest_] = row;
      oldest_ = (oldest_ + 1) % kDepth;
    } else {
      rows_[(oldest_ + count_++) % kDepth] = row;
    }
  }

  // Finishes every row put aside, in order.
  template <typename Finish>
  void drain(const Finish& finish) {
    for (; count_ > 0; --count_) {
      finish(rows_[oldest_]);
      oldest_ = (oldest_ + 1) % kDepth;
    }
  }

 private:
  std::array<Row, kDepth> rows_{};
  size_t oldest_ = 0;
  size_t count_ = 0;
};

}  // namespace vorlane

#endif  // VORLANE_VFK_ROW_PIPELINE_H_
