// The files of a conversion, opened by their UTF-16 paths: the VFK file read
// in binary, a stretch at a time, and each output (a drawing, a report)
// written in binary.
// Line-end rules are applied by the reader and the writers, so that every
// platform gives the same bytes.
//
// Only regular files are read and replaced: a folder, a FIFO, a device or a
// socket is refused at once, as a file that cannot be opened, and nothing
// waits for a writer or a reader on the other end. Where a file cannot be
// opened, read or written, failure() says why, in the system's words.
//
// An output is written whole or not at all: its bytes go to a temporary file
// beside it, which takes the output's place only once everything is written
// and stored on the disk. Until then, and whatever happens to the process,
// the file that was there before stays as it was. A temporary file that a
// killed process leaves behind is named "<output>.vorlane-unfinished-<pid>-<n>".
#ifndef VORLANE_PLATFORM_FILES_H_
#define VORLANE_PLATFORM_FILES_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/path.h"

namespace vorlane {

class InputFile {
 public:
  // Opens the file at path for reading, shared with other readers and
  // writers. "path" need not outlive the call.
  explicit InputFile(PathView path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  bool isOpen() const { return handle_ != kClosed; }

  // Reads up to "size" bytes; returns how many were read, 0 at the end of the
  // file or on a read error (failure() then says why).
  size_t read(char* buffer, size_t size);

  // Why the file did not open or a read failed; empty while all is well.
  const std::string& failure() const { return failure_; }

  // Once the file has been read to its end: why the bytes read are not the
  // file's (a read that failed, or a file that changed while it was read:
  // bytes other than its size when opened were read, or it was written
  // since), or "".
  std::string failureOnceRead() const;

 private:
  static constexpr intptr_t kClosed = -1;
  intptr_t handle_ = kClosed;
  std::string failure_;
  uint64_t size_ = 0;      // as opened
  uint64_t modified_ = 0;  // when it was last written, as opened
  uint64_t read_ = 0;      // the bytes read so far
};

// The new contents of the file at a path. Writing never touches the file
// there; commit() replaces it with what was written. A symbolic link at the
// path is replaced itself: the file it names is never written.
class OutputFile {
 public:
  // Creates the temporary file beside "path", shared with other readers and
  // writers. Fails (isOpen() false) when the path names a folder, a device or
  // another file that is not a regular one, or a file that could not be
  // written in place (read-only, or held by the system), or when no file can
  // be created in its folder. "path" need not outlive the call.
  explicit OutputFile(PathView path);
  // Removes the temporary file unless commit() put it in place.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool isOpen() const { return handle_ != kClosed; }

  // Writes all "size" bytes; false when the file is not open or the write
  // failed (failure() then says why).
  bool write(const char* data, size_t size);

  // Writes all "size" bytes at "offset" from the start of the file, over
  // what was written there before; false as write(). The next write() may
  // then start anywhere: call it last, before commit().
  bool writeAt(uint64_t offset, const char* data, size_t size);

  // Stores what was written on the disk and puts it in the place of the file
  // at the path. False, with the reason in failure(), when any step fails or
  // a write failed before: the temporary file is then removed and the file
  // at the path is left as it was.
  bool commit();

  // Why the file did not open or a write failed; empty while all is well.
  const std::string& failure() const { return failure_; }

 private:
  void discard();

  static constexpr intptr_t kClosed = -1;
  intptr_t handle_ = kClosed;
  PathString target_;
  PathString temporary_;
  bool failed_ = false;  // a write failed
  std::string failure_;
};

// Why nothing could be written at "path" (as OutputFile finds it, trying
// its temporary file), or "" when it could.
std::string whyNotWritable(PathView path);

// What identifies a file or folder, whatever path names it: its device (or
// volume) and its number on it.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t file = 0;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of what the path names, symbolic links followed (as reading
// it does), or nullopt when it names nothing.
std::optional<FileIdentity> identityOf(PathView path);
// The same without following a symbolic link at the path itself (what
// replacing the file at the path replaces).
std::optional<FileIdentity> entryIdentityOf(PathView path);

// Whether the two paths name one existing file (the same file under two
// names, or two spellings of one name where names ignore case).
bool namesSameFile(PathView a, PathView b);

// Removes every temporary file of an output that the process has not yet
// committed, and keeps any other from being created or committed after it:
// for a process that is about to end on a signal. Safe to call from any
// thread; it does not return the lock it takes.
void removeUnfinishedOutputs();

}  // namespace vorlane

#endif  // VORLANE_PLATFORM_FILES_H_
