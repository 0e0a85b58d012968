// Files on systems whose file names are byte strings: the UTF-16 path is
// handed to the file system as UTF-8.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstring>

#include "platform/files.h"
#include "platform/unfinished_outputs.h"

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
// descriptor only for a regular file, which "info" then describes; -1
// otherwise, with the reason.
int openRegular(PathView path, int flags, std::string& failure, struct stat& info) {
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

uint64_t modificationTime(const struct stat& info) {
  return static_cast<uint64_t>(info.st_mtim.tv_sec) * 1000000000u +
         static_cast<uint64_t>(info.st_mtim.tv_nsec);
}

}  // namespace

InputFile::InputFile(PathView path) {
  struct stat info;
  const int fd = openRegular(path, O_RDONLY, failure_, info);
  if (fd < 0) return;
  handle_ = fd;
  size_ = static_cast<uint64_t>(info.st_size);
  modified_ = modificationTime(info);
}

InputFile::~InputFile() {
  if (isOpen()) ::close(static_cast<int>(handle_));
}

size_t InputFile::read(char* buffer, size_t size) {
  if (!isOpen()) return 0;
  for (;;) {
    const ssize_t n = ::read(static_cast<int>(handle_), buffer, size);
    if (n >= 0) {
      read_ += static_cast<uint64_t>(n);
      return static_cast<size_t>(n);
    }
    if (errno != EINTR) {
      failure_ = systemReason(errno);
      return 0;
    }
  }
}

std::string InputFile::failureOnceRead() const {
  if (!failure_.empty() || !isOpen()) return failure_;
  struct stat info;
  const bool same = ::fstat(static_cast<int>(handle_), &info) == 0 &&
                    static_cast<uint64_t>(info.st_size) == size_ && read_ == size_ &&
                    modificationTime(info) == modified_;
  return same ? "" : "the file changed while it was read";
}

namespace {

// The file at "target", when there is one, must be one that could be written
// in place: a regular file the process may write (or a symbolic link, which
// is replaced itself). "info" receives what it is, st_mode 0 for none.
// Returns the reason it must not be replaced, or "".
std::string whyNotReplaceable(const std::string& target, struct stat& info) {
  info = {};
  if (::lstat(target.c_str(), &info) != 0) {
    info.st_mode = 0;
    return errno == ENOENT ? std::string() : systemReason(errno);
  }
  if (S_ISLNK(info.st_mode)) return "";
  if (S_ISDIR(info.st_mode)) return systemReason(EISDIR);
  if (!S_ISREG(info.st_mode)) return "Not a regular file";
  // What would keep a program from writing it in place (read-only, a
  // read-only file system) keeps it from being replaced too. Opening a
  // regular file for writing, without truncating it, changes nothing.
  const int fd = ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return systemReason(errno);
  ::close(fd);
  return "";
}

std::atomic<uint64_t> temporaryFiles{0};

}  // namespace

namespace unfinished {

void removeFile(const PathString& path) { ::unlink(pathToUtf8(path).c_str()); }

}  // namespace unfinished

OutputFile::OutputFile(PathView path) : target_(path) {
  const std::string target = pathToUtf8(path);
  // A NUL inside the path would silently shorten it.
  if (target.empty() || target.find('\0') != std::string::npos) {
    failure_ = systemReason(target.empty() ? ENOENT : EINVAL);
    return;
  }
  struct stat existing;
  failure_ = whyNotReplaceable(target, existing);
  if (!failure_.empty()) return;
  const unfinished::Guard guard;
  for (int attempt = 0;; ++attempt) {
    temporary_ = unfinished::temporaryPathFor(path, static_cast<uint64_t>(::getpid()),
                                              temporaryFiles++);
    const int fd = ::open(pathToUtf8(temporary_).c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) {
      handle_ = fd;
      break;
    }
    // A name a process of the same number left behind is passed over.
    if ((errno != EEXIST && errno != EINTR) || attempt == 100) {
      failure_ = systemReason(errno);
      temporary_.clear();
      return;
    }
  }
  unfinished::paths().insert(temporary_);
  // The new file keeps the permissions and, where the process may give it,
  // the owner of the one it replaces.
  if (S_ISREG(existing.st_mode)) {
    const int fd = static_cast<int>(handle_);
    [[maybe_unused]] const int ignored = ::fchown(fd, existing.st_uid, existing.st_gid);
    ::fchmod(fd, existing.st_mode & 07777);
  }
}

OutputFile::~OutputFile() { discard(); }

void OutputFile::discard() {
  if (temporary_.empty()) return;
  const unfinished::Guard guard;
  if (isOpen()) ::close(static_cast<int>(handle_));
  handle_ = kClosed;
  unfinished::removeFile(temporary_);
  unfinished::paths().erase(temporary_);
  temporary_.clear();
}

namespace {

// Hands all "size" bytes to "put" (write or pwrite), which may take fewer at
// once, and tells it how far it has come. Returns false, with the system's
// reason in "failure", when it fails.
template <typename Put>
bool putAll(const char* data, size_t size, std::string& failure, const Put& put) {
  for (uint64_t done = 0; done < size;) {
    const ssize_t n = put(data + done, static_cast<size_t>(size - done), done);
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
  failed_ = failed_ || !putAll(data, size, failure_, [fd](const char* from, size_t count, uint64_t) {
    return ::write(fd, from, count);
  });
  return !failed_;
}

bool OutputFile::writeAt(uint64_t offset, const char* data, size_t size) {
  if (!isOpen()) return false;
  const int fd = static_cast<int>(handle_);
  failed_ = failed_ || !putAll(data, size, failure_,
                               [fd, offset](const char* from, size_t count, uint64_t done) {
                                 return ::pwrite(fd, from, count, static_cast<off_t>(offset + done));
                               });
  return !failed_;
}

bool OutputFile::commit() {
  if (!isOpen() || failed_) {
    discard();
    return false;
  }
  const int fd = static_cast<int>(handle_);
  // On the disk before it takes the old file's place, so that after a power
  // loss the path holds the old file or the whole new one.
  int result;
  do {
    result = ::fdatasync(fd);
  } while (result != 0 && errno == EINTR);
  if (result != 0 && errno != EINVAL) {  // EINVAL: a file system that cannot sync
    failure_ = systemReason(errno);
    discard();
    return false;
  }
  const unfinished::Guard guard;
  handle_ = kClosed;
  if (::close(fd) != 0 && errno != EINTR) {
    failure_ = systemReason(errno);
  } else if (::rename(pathToUtf8(temporary_).c_str(), pathToUtf8(target_).c_str()) != 0) {
    failure_ = systemReason(errno);
  }
  if (!failure_.empty()) unfinished::removeFile(temporary_);
  unfinished::paths().erase(temporary_);
  temporary_.clear();
  return failure_.empty();
}

std::string whyNotWritable(PathView path) {
  const OutputFile probe(path);
  return probe.failure();
}

namespace {

std::optional<FileIdentity> identity(PathView path, bool followLink) {
  struct stat info;
  const std::string utf8 = pathToUtf8(path);
  if (utf8.empty() || (followLink ? ::stat(utf8.c_str(), &info) : ::lstat(utf8.c_str(), &info)) != 0) {
    return std::nullopt;
  }
  return FileIdentity{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

}  // namespace

std::optional<FileIdentity> identityOf(PathView path) { return identity(path, true); }
std::optional<FileIdentity> entryIdentityOf(PathView path) { return identity(path, false); }

bool namesSameFile(PathView a, PathView b) {
  const std::optional<FileIdentity> first = identityOf(a);
  return first && first == identityOf(b);
}

}  // namespace vorlane
