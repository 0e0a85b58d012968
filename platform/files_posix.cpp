// Files on systems whose file names are byte strings: the UTF-16 path is
// handed to the file system as UTF-8.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files.h"

namespace vorlane {

namespace {

int openPath(PathView path, int flags) {
  const std::string utf8 = pathToUtf8(path);
  // A NUL inside the path would silently shorten it.
  if (utf8.find('\0') != std::string::npos) return -1;
  int fd;
  do {
    fd = ::open(utf8.c_str(), flags | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

}  // namespace

InputFile::InputFile(PathView path) {
  const int fd = openPath(path, O_RDONLY);
  if (fd < 0) return;
  struct stat info;
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(fd);
    return;
  }
  handle_ = fd;
}

InputFile::~InputFile() {
  if (isOpen()) ::close(static_cast<int>(handle_));
}

size_t InputFile::read(char* buffer, size_t size) {
  if (!isOpen()) return 0;
  for (;;) {
    const ssize_t n = ::read(static_cast<int>(handle_), buffer, size);
    if (n >= 0) return static_cast<size_t>(n);
    if (errno != EINTR) return 0;
  }
}

OutputFile::OutputFile(PathView path) {
  const int fd = openPath(path, O_WRONLY | O_CREAT | O_TRUNC);
  if (fd >= 0) handle_ = fd;
}

OutputFile::~OutputFile() {
  if (isOpen()) ::close(static_cast<int>(handle_));
}

bool OutputFile::write(const char* data, size_t size) {
  if (!isOpen()) return false;
  while (size > 0) {
    const ssize_t n = ::write(static_cast<int>(handle_), data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace vorlane
