// The two files of a conversion, opened by their UTF-16 paths: the VFK file
// read in binary chunks and the SVG file written in binary. Line-end rules
// are applied by the reader and the writer, so that every platform gives the
// same bytes.
#ifndef VORLANE_PLATFORM_FILES_H_
#define VORLANE_PLATFORM_FILES_H_

#include <cstddef>
#include <cstdint>

#include "platform/path.h"

namespace vorlane {

class InputFile {
 public:
  // Opens the file at path for reading, shared with other readers and
  // writers. A folder cannot be opened. "path" need not outlive the call.
  explicit InputFile(PathView path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  bool isOpen() const { return handle_ != kClosed; }

  // Reads up to "size" bytes; returns how many were read, 0 at the end of the
  // file or on a read error.
  size_t read(char* buffer, size_t size);

 private:
  static constexpr intptr_t kClosed = -1;
  intptr_t handle_ = kClosed;
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
  // failed.
  bool write(const char* data, size_t size);

 private:
  static constexpr intptr_t kClosed = -1;
  intptr_t handle_ = kClosed;
};

}  // namespace vorlane

#endif  // VORLANE_PLATFORM_FILES_H_
