// TextStore: every text of the model (identifiers, label texts, building
// type names) in one growing array of bytes, referred to by TextRef.
#ifndef VORLANE_MODEL_TEXT_STORE_H_
#define VORLANE_MODEL_TEXT_STORE_H_

#include <stdexcept>
#include <string_view>

#include "model/pod_vector.h"
#include "model/records.h"

namespace vorlane {

class TextStore {
 public:
  // Copies "text" into the store. Throws std::length_error for a text of
  // more than 16 MiB or a store of more than 1 TiB (the reader keeps lines
  // far below either).
  TextRef add(std::string_view text) {
    if (text.empty()) return TextRef();
    if (text.size() > TextRef::kMaxLength ||
        static_cast<uint64_t>(bytes_.size()) > TextRef::kMaxOffset) {
      throw std::length_error("text store full");
    }
    const TextRef ref(bytes_.size(), text.size());
    bytes_.append(text.data(), text.size());
    return ref;
  }

  // The text's bytes; valid until the next add().
  std::string_view view(TextRef ref) const {
    if (ref.empty()) return {};
    return std::string_view(bytes_.data() + ref.offset(), static_cast<size_t>(ref.length()));
  }

  void clear() { bytes_.clear(); }

 private:
  PodVector<char> bytes_;
};

}  // namespace vorlane

#endif  // VORLANE_MODEL_TEXT_STORE_H_
