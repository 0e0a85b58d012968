// Files on Windows, opened by their UTF-16 paths as given.
#include <windows.h>

#include "platform/files.h"

namespace vorlane {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

intptr_t openPath(PathView path, DWORD access, DWORD disposition) {
  const PathString terminated(path);
  // A NUL inside the path would silently shorten it.
  if (terminated.find(L'\0') != PathString::npos) return -1;
  HANDLE handle = ::CreateFileW(terminated.c_str(), access, kShareAll, nullptr,
                                disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return -1;
  return reinterpret_cast<intptr_t>(handle);
}

HANDLE nativeHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

InputFile::InputFile(PathView path) {
  // CreateFileW opens a folder only with FILE_FLAG_BACKUP_SEMANTICS, so a
  // folder fails here as it should.
  handle_ = openPath(path, GENERIC_READ, OPEN_EXISTING);
}

InputFile::~InputFile() {
  if (isOpen()) ::CloseHandle(nativeHandle(handle_));
}

size_t InputFile::read(char* buffer, size_t size) {
  if (!isOpen()) return 0;
  const DWORD wanted = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
  DWORD got = 0;
  if (!::ReadFile(nativeHandle(handle_), buffer, wanted, &got, nullptr)) return 0;
  return got;
}

OutputFile::OutputFile(PathView path) {
  handle_ = openPath(path, GENERIC_WRITE, CREATE_ALWAYS);
}

OutputFile::~OutputFile() {
  if (isOpen()) ::CloseHandle(nativeHandle(handle_));
}

bool OutputFile::write(const char* data, size_t size) {
  if (!isOpen()) return false;
  while (size > 0) {
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    // A write that succeeds without writing anything would loop for ever.
    if (!::WriteFile(nativeHandle(handle_), data, chunk, &written, nullptr) || written == 0) {
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

}  // namespace vorlane
