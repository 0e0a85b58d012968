// Files on Windows, opened by their UTF-16 paths as given.
#include <windows.h>

#include <atomic>

#include "platform/files.h"
#include "platform/unfinished_outputs.h"

namespace vorlane {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The system's text for an error code, in UTF-8.
std::string systemReason(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  if (length == 0 || text == nullptr) return "Windows error " + std::to_string(error);
  PathView message(reinterpret_cast<const PathChar*>(text), length);
  while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' ||
                              message.back() == L'.' || message.back() == L' ')) {
    message.remove_suffix(1);
  }
  std::string utf8 = pathToUtf8(message);
  ::LocalFree(text);
  return utf8;
}

// Opens the path and keeps the handle only for a file on disk: a pipe, a
// console or another device is refused. CreateFileW opens a folder only with
// FILE_FLAG_BACKUP_SEMANTICS, so a folder fails here as it should.
intptr_t openRegular(PathView path, DWORD access, DWORD disposition, std::string& failure) {
  const PathString terminated(path);
  // A NUL inside the path would silently shorten it.
  if (terminated.find(L'\0') != PathString::npos) {
    failure = systemReason(ERROR_INVALID_NAME);
    return -1;
  }
  HANDLE handle = ::CreateFileW(terminated.c_str(), access, kShareAll, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    failure = systemReason(::GetLastError());
    return -1;
  }
  if (::GetFileType(handle) != FILE_TYPE_DISK) {
    failure = "Not a regular file";
    ::CloseHandle(handle);
    return -1;
  }
  return reinterpret_cast<intptr_t>(handle);
}

HANDLE nativeHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

uint64_t lastWriteTime(HANDLE file) {
  FILETIME written{};
  if (!::GetFileTime(file, nullptr, nullptr, &written)) return 0;
  return uint64_t{written.dwHighDateTime} << 32 | written.dwLowDateTime;
}

}  // namespace

InputFile::InputFile(PathView path) {
  handle_ = openRegular(path, GENERIC_READ, OPEN_EXISTING, failure_);
  if (!isOpen()) return;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(nativeHandle(handle_), &size)) failure_ = systemReason(::GetLastError());
  size_ = static_cast<uint64_t>(size.QuadPart);
  modified_ = lastWriteTime(nativeHandle(handle_));
}

InputFile::~InputFile() {
  if (isOpen()) ::CloseHandle(nativeHandle(handle_));
}

size_t InputFile::read(char* buffer, size_t size) {
  if (!isOpen()) return 0;
  const DWORD wanted = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
  DWORD got = 0;
  if (!::ReadFile(nativeHandle(handle_), buffer, wanted, &got, nullptr)) {
    failure_ = systemReason(::GetLastError());
    return 0;
  }
  read_ += got;
  return got;
}

std::string InputFile::failureOnceRead() const {
  if (!failure_.empty() || !isOpen()) return failure_;
  LARGE_INTEGER size{};
  HANDLE file = nativeHandle(handle_);
  const bool same = ::GetFileSizeEx(file, &size) && static_cast<uint64_t>(size.QuadPart) == size_ &&
                    read_ == size_ && lastWriteTime(file) == modified_;
  return same ? "" : "the file changed while it was read";
}

namespace {

std::atomic<uint64_t> temporaryFiles{0};

bool isMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND;
}

}  // namespace

namespace unfinished {

void removeFile(const PathString& path) { ::DeleteFileW(path.c_str()); }

}  // namespace unfinished

OutputFile::OutputFile(PathView path) : target_(path) {
  // A NUL inside the path would silently shorten it.
  if (target_.empty() || target_.find(L'\0') != PathString::npos) {
    failure_ = systemReason(target_.empty() ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_NAME);
    return;
  }
  // A file there must be one that could be written in place; opening it for
  // writing, without truncating it, says so and changes nothing. A symbolic
  // link is replaced itself, so its own entry is what is opened.
  HANDLE existing = ::CreateFileW(target_.c_str(), GENERIC_WRITE, kShareAll, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (existing == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    if (!isMissing(error)) {
      failure_ = systemReason(error);
      return;
    }
  } else {
    const bool onDisk = ::GetFileType(existing) == FILE_TYPE_DISK;
    ::CloseHandle(existing);
    if (!onDisk) {
      failure_ = "Not a regular file";
      return;
    }
  }
  const unfinished::Guard guard;
  for (int attempt = 0;; ++attempt) {
    temporary_ = unfinished::temporaryPathFor(path, ::GetCurrentProcessId(), temporaryFiles++);
    HANDLE handle = ::CreateFileW(temporary_.c_str(), GENERIC_WRITE, kShareAll, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      handle_ = reinterpret_cast<intptr_t>(handle);
      break;
    }
    const DWORD error = ::GetLastError();
    // A name a process of the same number left behind is passed over.
    if (error != ERROR_FILE_EXISTS || attempt == 100) {
      failure_ = systemReason(error);
      temporary_.clear();
      return;
    }
  }
  unfinished::paths().insert(temporary_);
}

OutputFile::~OutputFile() { discard(); }

void OutputFile::discard() {
  if (temporary_.empty()) return;
  const unfinished::Guard guard;
  if (isOpen()) ::CloseHandle(nativeHandle(handle_));
  handle_ = kClosed;
  unfinished::removeFile(temporary_);
  unfinished::paths().erase(temporary_);
  temporary_.clear();
}

bool OutputFile::write(const char* data, size_t size) {
  if (!isOpen() || failed_) return false;
  while (size > 0) {
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    // A write that succeeds without writing anything would loop for ever.
    if (!::WriteFile(nativeHandle(handle_), data, chunk, &written, nullptr) || written == 0) {
      failure_ = systemReason(::GetLastError());
      failed_ = true;
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

bool OutputFile::writeAt(uint64_t offset, const char* data, size_t size) {
  if (!isOpen() || failed_) return false;
  while (size > 0) {
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD written = 0;
    if (!::WriteFile(nativeHandle(handle_), data, chunk, &written, &at) || written == 0) {
      failure_ = systemReason(::GetLastError());
      failed_ = true;
      return false;
    }
    data += written;
    size -= written;
    offset += written;
  }
  return true;
}

bool OutputFile::commit() {
  if (!isOpen() || failed_) {
    discard();
    return false;
  }
  // On the disk before it takes the old file's place, so that after a power
  // loss the path holds the old file or the whole new one.
  if (!::FlushFileBuffers(nativeHandle(handle_))) {
    failure_ = systemReason(::GetLastError());
    discard();
    return false;
  }
  const unfinished::Guard guard;
  const BOOL closed = ::CloseHandle(nativeHandle(handle_));
  handle_ = kClosed;
  if (!closed) {
    failure_ = systemReason(::GetLastError());
  } else if (!::MoveFileExW(temporary_.c_str(), target_.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = ::GetLastError();
    // A program that holds the file open without letting others delete it
    // (as one that shows a drawing may) keeps it from being replaced.
    failure_ = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
                       error == ERROR_LOCK_VIOLATION
                   ? "it is held open by another program, which keeps it from being replaced"
                   : systemReason(error);
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

// The volume and file index of an existing file or folder, which identify it
// whatever path names it.
std::optional<FileIdentity> identity(PathView path, bool followLink) {
  const PathString terminated(path);
  if (terminated.empty()) return std::nullopt;
  const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (followLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  HANDLE handle = ::CreateFileW(terminated.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, flags,
                                nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = ::GetFileInformationByHandle(handle, &info) != 0;
  ::CloseHandle(handle);
  if (!known) return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber,
                      uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow};
}

}  // namespace

std::optional<FileIdentity> identityOf(PathView path) { return identity(path, true); }
std::optional<FileIdentity> entryIdentityOf(PathView path) { return identity(path, false); }

bool namesSameFile(PathView a, PathView b) {
  const std::optional<FileIdentity> first = identityOf(a);
  return first && first == identityOf(b);
}

}  // namespace vorlane
