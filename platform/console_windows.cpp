#include <windows.h>

#include <cstdio>

#include "platform/console.h"

namespace vorlane {

// Writes the bytes to the standard output handle itself rather than through
// the C library's text mode, which would turn each "\n" into "\r\n": the
// messages are the same bytes on every platform.
void writeMessage(std::string_view message) {
  std::fflush(stdout);
  HANDLE handle = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
  const char* data = message.data();
  size_t size = message.size();
  while (size > 0) {
    DWORD written = 0;
    if (!::WriteFile(handle, data, static_cast<DWORD>(size), &written, nullptr) ||
        written == 0) {
      return;
    }
    data += written;
    size -= written;
  }
}

}  // namespace vorlane
