// vorlane-host: a stand-in for the CAD application that uses Vorlane.dll. It
// loads the library by name at run time, finds its one export, and converts
// each file it is given, passing the path in UTF-16 as the application does.
//
//   vorlane-host [--units N] [--centre-origin] [--hold DRAWING] FILE.vfk...
//   vorlane-host --ansi-code-page
//
// Standard output belongs to the library's messages alone. The host reports
// each result on standard error as "host: <path>: true" (or false), in UTF-8.
// Exit status: 0 when every call returned true, 1 when any returned false,
// 2 for a usage error or when the library or its export cannot be found.
// --ansi-code-page prints the system's ANSI code page on standard error, so
// that a test can see which code page the library decodes with. --hold keeps
// DRAWING open while the files are converted, as a CAD application that
// shows it does: for reading, sharing reading and writing but not deletion.
#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cwchar>
#include <string>
#include <string_view>
#include <vector>

#include "Vorlane.h"

namespace {

constexpr int kConverted = 0;
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

using ParseVfk = decltype(&Vorlane_ParseVfk);

std::string toUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int wideCount = static_cast<int>(text.size());
  const int count =
      ::WideCharToMultiByte(CP_UTF8, 0, text.data(), wideCount, nullptr, 0, nullptr, nullptr);
  if (count <= 0) return "?";
  std::string out(static_cast<size_t>(count), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), wideCount, out.data(), count, nullptr, nullptr);
  return out;
}

// Straight to the handle, so that the bytes arrive as they are, with "\n"
// line ends, whatever the C library's text mode would make of them.
void report(std::string_view message) {
  const std::string line = "host: " + std::string(message) + "\n";
  HANDLE handle = ::GetStdHandle(STD_ERROR_HANDLE);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

// GetProcAddress returns every export as the same generic function pointer;
// going through void (*)() tells the compiler that the cast is intended.
ParseVfk findExport(HMODULE library, LPCSTR name) {
  return reinterpret_cast<ParseVfk>(reinterpret_cast<void (*)()>(::GetProcAddress(library, name)));
}

std::string lastError() { return "error " + std::to_string(::GetLastError()); }

bool parseUnits(const wchar_t* text, int32_t& units) {
  if (*text == L'\0') return false;
  wchar_t* end = nullptr;
  errno = 0;
  const long long value = std::wcstoll(text, &end, 10);
  if (errno != 0 || *end != L'\0' || value < INT32_MIN || value > INT32_MAX) return false;
  units = static_cast<int32_t>(value);
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int32_t units = 1;
  bool centreOrigin = false;
  std::vector<const wchar_t*> files;
  const wchar_t* held = nullptr;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::wstring_view arg = argv[i];
    if (optionsEnded || arg.substr(0, 2) != L"--") {
      files.push_back(argv[i]);
    } else if (arg == L"--") {
      optionsEnded = true;
    } else if (arg == L"--ansi-code-page") {
      report("ANSI code page " + std::to_string(::GetACP()));
      return kConverted;
    } else if (arg == L"--centre-origin") {
      centreOrigin = true;
    } else if (arg == L"--hold") {
      if (++i == argc) {
        report("--hold needs a file");
        return kUsageError;
      }
      held = argv[i];
    } else if (arg == L"--units") {
      if (++i == argc || !parseUnits(argv[i], units)) {
        report("--units needs a whole number from -2147483648 to 2147483647");
        return kUsageError;
      }
    } else {
      report("unknown option " + toUtf8(arg));
      return kUsageError;
    }
  }
  if (files.empty()) {
    report("usage: vorlane-host [--units N] [--centre-origin] [--hold DRAWING] FILE.vfk...");
    return kUsageError;
  }

  // By name, as an application finds it: beside the program or on the path.
  HMODULE library = ::LoadLibraryW(L"Vorlane.dll");
  if (library == nullptr) {
    report("cannot load Vorlane.dll (" + lastError() + ")");
    return kUsageError;
  }
  const ParseVfk parseVfk = findExport(library, "Vorlane_ParseVfk");
  if (parseVfk == nullptr) {
    report("Vorlane.dll has no Vorlane_ParseVfk (" + lastError() + ")");
    return kUsageError;
  }
  // An application may also import the function by its ordinal.
  if (findExport(library, MAKEINTRESOURCEA(1)) != parseVfk) {
    report("ordinal 1 of Vorlane.dll is not Vorlane_ParseVfk");
    return kUsageError;
  }

  HANDLE hold = INVALID_HANDLE_VALUE;
  if (held != nullptr) {
    hold = ::CreateFileW(held, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hold == INVALID_HANDLE_VALUE) {
      report("cannot hold " + toUtf8(held) + " (" + lastError() + ")");
      return kUsageError;
    }
  }
  int status = kConverted;
  for (const wchar_t* file : files) {
    const bool converted = parseVfk(file, units, centreOrigin);
    report(toUtf8(file) + (converted ? ": true" : ": false"));
    if (!converted) status = kFailed;
  }
  if (hold != INVALID_HANDLE_VALUE) ::CloseHandle(hold);
  ::FreeLibrary(library);
  return status;
}
