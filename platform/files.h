// The two files of a conversion, opened by their UTF-16 paths: the VFK file
// read in binary chunks and the SVG file written in binary. Line-end rules
// are applied by the reader and the writer, so that every platform gives the
// same bytes.
//
// Only regular files are read and written: a folder, a FIFO, a device or a
// socket is refused at once, as a file that cannot be opened, and nothing
// waits for a writer or a reader on the other end. Where a file cannot be
// opened, read or written, failure() says why, in the system's words.
#ifndef VORLANE_PLATFORM_FILES_H_
#define VORLANE_PLATFORM_FILES_H_

#include <cstddef>
#include <cstdint>
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

 private:
  static constexpr intptr_t kClosed = -1;
  intptr_t handle_ = kClosed;
  std::string failure_;
};

class OutputFile {
 public:
  // Creates the file at path, or truncates an existing one, for writing,
  // shared with other readers and writers. "path" need not outlive the call.
  explicit OutputFile(PathView path);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool isOpen() const { return handle_ != kClosed; }

  // Writes all "size" bytes; false when the file is not open or the write
  // failed (failure() then says why).
  bool write(const char* data, size_t size);

  // Writes all "size" bytes at "offset" from the start of the file, over
  // what was written there before; false as write(). The next write() may
  // then start anywhere: call it last, before close().
  bool writeAt(uint64_t offset, const char* data, size_t size);

  // Closes the file; false when that fails, as when the system could not
  // store what was written (failure() then says why).
  bool close();

  // Why the file did not open or a write failed; empty while all is well.
  const std::string& failure() const { return failure_; }

 private:
  static constexpr intptr_t kClosed = -1;
  intptr_t handle_ = kClosed;
  std::string failure_;
};

// Whether the two paths name one existing file (the same file under two
// names, or two spellings of one name where names ignore case).
bool namesSameFile(PathView a, PathView b);

}  // namespace vorlane

#endif  // VORLANE_PLATFORM_FILES_H_
