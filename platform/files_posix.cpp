// Files on systems whose file names are byte strings: the UTF-16 path is
// handed to the file system as UTF-8.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/files.h"

namespace vorlane {

namespace {

// The GNU strerror_r returns its text, the POSIX one fills the buffer.
[[maybe_unused]] std::string reasonText(const char* returned, const char*) { return returned; }
[[maybe_unused]] std::string reasonText(int, const char* filled) { return filled; }

std::string systemReason(int error) {
  char text[256] = {};
  return reasonText(strerror_r(error, text, sizeof text), text);
}

// Opens without waiting (a FIFO would wait for its other end) and keeps the
// descriptor only for a regular file; -1 otherwise, with the reason.
int openRegular(PathView path, int flags, std::string& failure) {
  const std::string utf8 = pathToUtf8(path);
  // A NUL inside the path would silently shorten it.
  if (utf8.find('\0') != std::string::npos) {
    failure = systemReason(EINVAL);
    return -1;
  }
  int fd;
  do {
    fd = ::open(utf8.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    failure = systemReason(errno);
    return -1;
  }
  struct stat info;
  if (::fstat(fd, &info) != 0) {
    failure = systemReason(errno);
  } else if (S_ISDIR(info.st_mode)) {
    failure = systemReason(EISDIR);
  } else if (!S_ISREG(info.st_mode)) {
    failure = "Not a regular file";
  } else {
    return fd;
  }
  ::close(fd);
  return -1;
}

}  // namespace

InputFile::InputFile(PathView path) {
  const int fd = openRegular(path, O_RDONLY, failure_);
  if (fd >= 0) handle_ = fd;
}

InputFile::~InputFile() {
  if (isOpen()) ::close(static_cast<int>(handle_));
}

size_t InputFile::read(char* buffer, size_t size) {
  if (!isOpen()) return 0;
  for (;;) {
    const ssize_t n = ::read(static_cast<int>(handle_), buffer, size);
    if (n >= 0) return static_cast<size_t>(n);
    if (errno != EINTR) {
      failure_ = systemReason(errno);
      return 0;
    }
  }
}

OutputFile::OutputFile(PathView path) {
  const int fd = openRegular(path, O_WRONLY | O_CREAT | O_TRUNC, failure_);
  if (fd >= 0) handle_ = fd;
}

OutputFile::~OutputFile() { close(); }

namespace {

// Hands all "size" bytes to "put" (write or pwrite), which may take fewer at
// once, and tells it how far it has come. Returns false, with the system's
// reason in "failure", when it fails.
template <typename Put>
bool putAll(const char* data, size_t size, std::string& failure, const Put& put) {
  for (uint64_t done = 0; done < size;) {
    const ssize_t n = put(data + done, size - done, done);
    if (n < 0) {
      if (errno == EINTR) continue;
      failure = systemReason(errno);
      return false;
    }
    done += static_cast<uint64_t>(n);
  }
  return true;
}

}  // namespace

bool OutputFile::write(const char* data, size_t size) {
  if (!isOpen()) return false;
  const int fd = static_cast<int>(handle_);
  return putAll(data, size, failure_, [fd](const char* from, size_t count, uint64_t) {
    return ::write(fd, from, count);
  });
}

bool OutputFile::writeAt(uint64_t offset, const char* data, size_t size) {
  if (!isOpen()) return false;
  const int fd = static_cast<int>(handle_);
  return putAll(data, size, failure_, [fd, offset](const char* from, size_t count, uint64_t done) {
    return ::pwrite(fd, from, count, static_cast<off_t>(offset + done));
  });
}

bool OutputFile::close() {
  if (!isOpen()) return false;
  const int result = ::close(static_cast<int>(handle_));
  handle_ = kClosed;
  if (result != 0 && errno != EINTR) {
    failure_ = systemReason(errno);
    return false;
  }
  return true;
}

bool namesSameFile(PathView a, PathView b) {
  struct stat first;
  struct stat second;
  return ::stat(pathToUtf8(a).c_str(), &first) == 0 &&
         ::stat(pathToUtf8(b).c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

}  // namespace vorlane
