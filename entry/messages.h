// The library's messages: the findings of a conversion as the lines the
// export has always printed on standard output.
//   VfkParser: Unable to open file<path>
//   [VfkParser Warning]: unhandled codepage parsed (<code page>)
//   [Warning]: Parcel border polyline point missing (point index = <n>, parcel ID1 = <id>, parcel
//   ID2 = <id>) [Warning]: General polyline point missing (point index = <n>) [Warning]: BPEJ
//   polyline point missing (point index = <n>)
// One conversion prints at most kMaxWarningLines warnings; what is left out
// is counted in one last line, "[Warning]: <n> further missing points not
// listed", so that a hostile file cannot flood the calling application's
// console. Other findings print nothing.
#ifndef VORLANE_ENTRY_MESSAGES_H_
#define VORLANE_ENTRY_MESSAGES_H_

#include <cstdint>
#include <string>

#include "model/diagnostics.h"
#include "platform/console.h"

namespace vorlane {

class PrintedMessages : public Diagnostics {
 public:
  static constexpr int64_t kMaxWarningLines = 10'000;

  // Prints to standard output, or, with "buffer", appends the lines to it.
  explicit PrintedMessages(std::string* buffer = nullptr) : batch_(buffer) {}
  // Finishes, when finish() was not called.
  ~PrintedMessages() override;

  void report(const Finding& finding) override;
  bool wants(FindingKind kind) const override;

  // Prints the count of the warnings left out, if any, and flushes.
  void finish();

 private:
  // Whether one more warning line may be printed; counts it.
  bool mayWarn();

  MessageBatch batch_;
  int64_t warnings_ = 0;
  int64_t leftOut_ = 0;
  bool finished_ = false;
};

}  // namespace vorlane

#endif  // VORLANE_ENTRY_MESSAGES_H_
