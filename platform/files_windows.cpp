// Files on Windows, opened by their UTF-16 paths as given.
#include <windows.h>

#include "platform/files.h"

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

}  // namespace

InputFile::InputFile(PathView path) {
  handle_ = openRegular(path, GENERIC_READ, OPEN_EXISTING, failure_);
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
  return got;
}

OutputFile::OutputFile(PathView path) {
  handle_ = openRegular(path, GENERIC_WRITE, CREATE_ALWAYS, failure_);
}

OutputFile::~OutputFile() { close(); }

bool OutputFile::write(const char* data, size_t size) {
  if (!isOpen()) return false;
  while (size > 0) {
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    // A write that succeeds without writing anything would loop for ever.
    if (!::WriteFile(nativeHandle(handle_), data, chunk, &written, nullptr) || written == 0) {
      failure_ = systemReason(::GetLastError());
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

bool OutputFile::writeAt(uint64_t offset, const char* data, size_t size) {
  if (!isOpen()) return false;
  while (size > 0) {
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD written = 0;
    if (!::WriteFile(nativeHandle(handle_), data, chunk, &written, &at) || written == 0) {
      failure_ = systemReason(::GetLastError());
      return false;
    }
    data += written;
    size -= written;
    offset += written;
  }
  return true;
}

bool OutputFile::close() {
  if (!isOpen()) return false;
  const BOOL closed = ::CloseHandle(nativeHandle(handle_));
  handle_ = kClosed;
  if (!closed) {
    failure_ = systemReason(::GetLastError());
    return false;
  }
  return true;
}

namespace {

// The volume and file index of an existing file or folder, which identify it
// whatever path names it; false when there is none.
bool identify(PathView path, BY_HANDLE_FILE_INFORMATION& info) {
  const PathString terminated(path);
  HANDLE handle = ::CreateFileW(terminated.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const bool known = ::GetFileInformationByHandle(handle, &info) != 0;
  ::CloseHandle(handle);
  return known;
}

}  // namespace

bool namesSameFile(PathView a, PathView b) {
  BY_HANDLE_FILE_INFORMATION first;
  BY_HANDLE_FILE_INFORMATION second;
  return identify(a, first) && identify(b, second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

}  // namespace vorlane
