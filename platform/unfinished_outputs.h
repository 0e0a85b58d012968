// The temporary files of the outputs being written (platform/files.h), kept
// so that a process ending on a signal can remove them. Internal to the
// platform layer: the file functions of each system create, commit and
// remove the files under the lock, so that none is created or left behind
// while removeUnfinishedOutputs() runs.
#ifndef VORLANE_PLATFORM_UNFINISHED_OUTPUTS_H_
#define VORLANE_PLATFORM_UNFINISHED_OUTPUTS_H_

#include <atomic>
#include <cstdint>
#include <set>

#include "platform/path.h"

namespace vorlane::unfinished {

// Held while a temporary file is created, committed or removed: for the
// moment those calls take, so a spinning lock does (the Windows build's
// standard library has no std::mutex).
class Guard {
 public:
  Guard();
  ~Guard();
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;

  // Takes the lock for good: nothing is created or committed after it.
  static void keepForever();
};

// The temporary files that exist now. REQUIRES: a Guard is held.
std::set<PathString>& paths();

// The name of the temporary file of "target", in its folder: the target's
// name (cut to 60 characters, so that the whole stays within the systems'
// limit of 255) followed by ".vorlane-unfinished-<process>-<attempt>".
PathString temporaryPathFor(PathView target, uint64_t process, uint64_t attempt);

// Removes the file at "path", on the way out; errors are ignored.
void removeFile(const PathString& path);

}  // namespace vorlane::unfinished

#endif  // VORLANE_PLATFORM_UNFINISHED_OUTPUTS_H_
