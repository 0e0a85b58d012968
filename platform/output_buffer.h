// The bytes of one drawing on their way to its file: appended at a cursor in
// one buffer, which goes to the file in large pieces. The SVG and the DXF
// writer each format into one.
#ifndef VORLANE_PLATFORM_OUTPUT_BUFFER_H_
#define VORLANE_PLATFORM_OUTPUT_BUFFER_H_

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace vorlane {

class OutputBuffer {
 public:
  // Writes to "file", which must outlive the buffer; a file that is not open
  // swallows everything. Without a file the bytes stay in memory (text()).
  explicit OutputBuffer(OutputFile* file = nullptr);
  // Flushes.
  ~OutputBuffer();
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;

  // Appends the bytes. An empty view may have no data at all, which memcpy
  // must not be handed.
  void append(std::string_view bytes) {
    if (bytes.empty()) return;
    char* at = room(bytes.size());
    std::memcpy(at, bytes.data(), bytes.size());
    cursor_ = at + bytes.size();
  }

  // Where "size" more bytes can be written; commit() says how many were.
  char* room(size_t size) {
    if (static_cast<size_t>(limit_ - cursor_) < size) makeRoom(size);
    return cursor_;
  }
  void commit(char* end) { cursor_ = end; }

  // How many bytes were appended so far.
  uint64_t position() const { return flushed_ + static_cast<uint64_t>(cursor_ - buffer_.get()); }
  // Writes "bytes" over those appended from "position" on.
  // REQUIRES: position + bytes.size() <= this->position().
  void overwrite(uint64_t position, std::string_view bytes);

  // Hands the buffered bytes to the file.
  void flush();
  // Whether everything flushed so far reached the file: false when it is
  // not open or a write failed.
  bool complete() const { return complete_; }

  // Everything appended so far, when there is no file.
  std::string_view text() const {
    return std::string_view(buffer_.get(), static_cast<size_t>(cursor_ - buffer_.get()));
  }

 private:
  void makeRoom(size_t size);

  OutputFile* file_;
  bool complete_;
  std::unique_ptr<char[]> buffer_;
  char* cursor_ = nullptr;
  char* limit_ = nullptr;
  uint64_t flushed_ = 0;  // bytes handed to the file
};

// What became of the file at a path that writeFileThrough wrote.
enum class FileWrite {
  kReplaced,     // it holds the new bytes, whole
  kLeftAsItWas,  // the new bytes were not wanted after all
  kFailed,       // they could not be written; the file there is as it was
};

// Writes what "write" appends to an output of type Output (an OutputBuffer)
// into a new file for "path" and, when "write" returns true, puts that file
// in the place of the file there (platform/files.h). When the new file cannot
// be created or written, "write" runs all the same with its writes going
// nowhere, and "failure", when given, receives the system's reason.
template <typename Output, typename Write>
FileWrite writeFileThrough(PathView path, const Write& write, std::string* failure) {
  OutputFile file(path);
  Output out(&file);
  const bool wanted = write(out);
  out.flush();
  if (out.complete() && !wanted) return FileWrite::kLeftAsItWas;
  if (out.complete() && file.commit()) return FileWrite::kReplaced;
  if (failure != nullptr) *failure = file.failure();
  return FileWrite::kFailed;
}

}  // namespace vorlane

#endif  // VORLANE_PLATFORM_OUTPUT_BUFFER_H_
