// vorlane: converts VFK files into SVG drawings through the library's own
// export, exactly as a CAD application calls it.
//
//   vorlane [--units N] [--centre-origin] FILE.vfk...
//
// Each drawing is written beside its input, with the input's last extension
// replaced by ".svg". The library's messages go to standard output; the
// converter's own go to standard error.
#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "Vorlane.h"
#include "entry/output_path.h"
#include "platform/path.h"

namespace {

namespace fs = std::filesystem;

constexpr int kConverted = 0;
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

constexpr std::string_view kUsage =
    "Usage: vorlane [--units N] [--centre-origin] FILE.vfk...\n"
    "\n"
    "Converts each cadastral exchange file (VFK) into an SVG drawing for CAD\n"
    "import, written beside it: plan.vfk gives plan.svg (an existing drawing\n"
    "there is replaced).\n"
    "\n"
    "  --units N          the units number written into each drawing (default 1)\n"
    "  --centre-origin    put the drawing's origin at the centre of its extent\n"
    "                     (default: 0 0)\n"
    "  --help             show this text\n"
    "  --version          show the version\n"
    "\n"
    "Exit status: 0 when every file was converted, 1 when any could not be read\n"
    "or its drawing could not be written, 2 for a usage error.\n";

void complain(const std::string& message) {
  std::fflush(stdout);  // keep the library's messages and ours in order
  std::fprintf(stderr, "vorlane: %s\n", message.c_str());
}

// UTF-8 to UTF-16; false for bytes that are not UTF-8, which no UTF-16 path
// could name.
bool utf8ToUtf16(std::string_view text, std::u16string& out) {
  out.clear();
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3
                                       : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + static_cast<size_t>(length) > text.size()) return false;
    char32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
      if ((next & 0xC0) != 0x80) return false;
      codePoint = (codePoint << 6) | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < kSmallest[length] || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
      return false;
    }
    if (codePoint >= 0x10000) {
      codePoint -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(codePoint));
    }
    i += static_cast<size_t>(length);
  }
  return true;
}

bool endsWithSvgClose(const fs::path& path) {
  constexpr std::string_view kClose = "</svg>";
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in || in.tellg() < static_cast<std::streamoff>(kClose.size())) return false;
  in.seekg(-static_cast<std::streamoff>(kClose.size()), std::ios::end);
  std::string tail(kClose.size(), '\0');
  in.read(tail.data(), static_cast<std::streamsize>(tail.size()));
  return in && tail == kClose;
}

bool canWrite(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

int convert(const std::string& input, int32_t units, bool centreOrigin) {
  std::u16string widePath;
  if (!utf8ToUtf16(input, widePath)) {
    complain(input + ": the file name is not UTF-8, so it cannot be converted");
    return kFailed;
  }
  const std::string output =
      vorlane::pathToUtf8(vorlane::outputPathFor(std::u16string_view(widePath)));

  // An input named plan.svg would be overwritten by its own drawing.
  std::error_code error;
  if (output == input || fs::equivalent(input, output, error)) {
    complain(input + ": its drawing would replace the file itself; nothing was converted");
    return kFailed;
  }

  const bool existedBefore = fs::exists(output, error);
  if (!Vorlane_ParseVfk(widePath.c_str(), units, centreOrigin)) {
    complain(input + ": could not be read");
    return kFailed;
  }
  // The library reports a drawing it could not create as success, so check
  // that a complete one is there, and that an earlier one could be replaced.
  if (!endsWithSvgClose(output) || (existedBefore && !canWrite(output))) {
    complain(output + ": the drawing could not be written");
    return kFailed;
  }
  complain("wrote " + output);
  return kConverted;
}

bool parseUnits(std::string_view text, int32_t& units) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, units);
  return result.ec == std::errc() && result.ptr == end;
}

}  // namespace

int main(int argc, char** argv) {
  int32_t units = 1;
  bool centreOrigin = false;
  std::vector<std::string> files;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (optionsEnded || arg.size() < 2 || arg.substr(0, 2) != "--") {
      files.emplace_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help") {
      std::fputs(kUsage.data(), stdout);
      return kConverted;
    } else if (arg == "--version") {
      std::printf("vorlane %s\n", VORLANE_VERSION);
      return kConverted;
    } else if (arg == "--centre-origin") {
      centreOrigin = true;
    } else if (arg == "--units" || arg.substr(0, 8) == "--units=") {
      std::string_view value;
      if (arg == "--units") {
        if (++i == argc) {
          complain("--units needs a number");
          return kUsageError;
        }
        value = argv[i];
      } else {
        value = arg.substr(8);
      }
      if (!parseUnits(value, units)) {
        complain("--units needs a whole number from -2147483648 to 2147483647, not \"" +
                 std::string(value) + "\"");
        return kUsageError;
      }
    } else {
      complain("unknown option " + std::string(arg) + " (see vorlane --help)");
      return kUsageError;
    }
  }
  if (files.empty()) {
    std::fputs(kUsage.data(), stderr);
    return kUsageError;
  }

  int status = kConverted;
  for (const std::string& file : files) {
    if (convert(file, units, centreOrigin) != kConverted) status = kFailed;
  }
  return status;
}
