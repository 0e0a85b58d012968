#include "svg/point_texts.h"

#include <algorithm>
#include <new>

#include "platform/memory.h"

namespace vorlane {

PointTexts::PointTexts(const CadastralModel& model)
    : model_(model),
      bytes_(model.points.size() * sizeof(Text)),
      texts_(static_cast<Text*>(zeroedBlock(bytes_))),
      made_((model.points.size() + 63) / 64) {
  if (texts_ == nullptr && bytes_ > 0) throw std::bad_alloc();
  readyForWriting(texts_, bytes_, 0, bytes_);
}

PointTexts::~PointTexts() { freeBlock(texts_, bytes_); }

void PointTexts::write(SvgOutput& out, std::span<const int32_t> points) {
  for (const int32_t index : points) {
    const auto position = static_cast<size_t>(index);
    Text& text = texts_[position];
    uint64_t& madeWord = made_[position / 64];
    const uint64_t madeBit = uint64_t{1} << (position % 64);
    if ((madeWord & madeBit) == 0) {
      const Point& point = model_.points[position];
      char buffer[kPointBufferSize];
      const std::string_view made = formatPoint(point.x, point.y, buffer);
      if (made.size() > text.bytes.size()) {
        out << made;
        continue;
      }
      std::copy(made.begin(), made.end(), text.bytes.begin());
      text.length = static_cast<uint8_t>(made.size());
      madeWord |= madeBit;
    }
    out.appendPrefix(text.bytes, text.length);
  }
}

}  // namespace vorlane
