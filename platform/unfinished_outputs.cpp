#include "platform/unfinished_outputs.h"

#include <string>
#include <string_view>

#include "platform/files.h"

namespace vorlane {

namespace unfinished {

namespace {
std::atomic_flag taken = ATOMIC_FLAG_INIT;

void take() {
  while (taken.test_and_set(std::memory_order_acquire)) {
  }
}
}  // namespace

Guard::Guard() { take(); }
Guard::~Guard() { taken.clear(std::memory_order_release); }
void Guard::keepForever() { take(); }

std::set<PathString>& paths() {
  static auto* set = new std::set<PathString>;
  return *set;
}

PathString temporaryPathFor(PathView target, uint64_t process, uint64_t attempt) {
  // 60 UTF-16 units are at most 180 bytes of UTF-8, which leaves room for
  // the suffix within the 255 bytes (or units) a name may have.
  constexpr size_t kLongestName = 60;
#ifdef _WIN32
  const size_t nameStart = target.find_last_of(L"/\\") + 1;  // 0 without a folder
#else
  // Only "/" separates folders here; a backslash is part of a name.
  const size_t nameStart = target.rfind(PathChar('/')) + 1;
#endif
  size_t end = target.size();
  if (end - nameStart > kLongestName) {
    end = nameStart + kLongestName;
    // Not between the two halves of a surrogate pair.
    const auto unit = static_cast<char16_t>(target[end]);
    if (unit >= 0xDC00 && unit <= 0xDFFF) --end;
  }
  PathString path(target.substr(0, end));
  const std::string suffix =
      ".vorlane-unfinished-" + std::to_string(process) + "-" + std::to_string(attempt);
  for (const char c : suffix) path.push_back(PathChar(c));
  return path;
}

}  // namespace unfinished

void removeUnfinishedOutputs() {
  unfinished::Guard::keepForever();  // nothing may be created or committed after this
  for (const PathString& path : unfinished::paths()) unfinished::removeFile(path);
  unfinished::paths().clear();
}

}  // namespace vorlane
