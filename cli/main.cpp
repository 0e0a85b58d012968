// vorlane: converts VFK files into SVG drawings, one after another, with the
// library's own conversion (the code behind its export).
//
//   vorlane [--units N] [--centre-origin] FILE.vfk...
//
// Each drawing is written beside its input, with the input's last extension
// replaced by ".svg". The library's messages go to standard output; the
// converter's own go to standard error. Before a file is converted, the
// converter makes sure that its drawing will not land outside the file's
// folder or without a name, nor replace the file itself, and that the file
// is a VFK file at all: a file that fails is left alone, with a message, and
// the next one is converted.
#include <algorithm>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "Vorlane.h"
#include "entry/conversion.h"
#include "entry/messages.h"
#include "entry/output_path.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/unicode.h"

namespace {

using vorlane::PathString;
using vorlane::PathView;

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
    "  --units N          the CAD application's units number, written into the\n"
    "                     drawing's units attribute as it is (default 1)\n"
    "  --centre-origin    put the drawing's origin (its origin attribute) at the\n"
    "                     centre of its extent instead of at 0 0\n"
    "  -h, --help         show this text\n"
    "  -V, --version      show the version\n"
    "\n"
    "Exit status: 0 when every file was converted, 1 when any was refused, could\n"
    "not be read or its drawing could not be written, 2 for a usage error.\n";

void complain(const std::string& message) {
  std::fflush(stdout);  // keep the library's messages and ours in order
  std::fprintf(stderr, "vorlane: %s\n", message.c_str());
}

// UTF-8 to UTF-16; false for bytes that are not UTF-8, which no UTF-16 path
// could name.
bool utf8ToUtf16(std::string_view text, PathString& out) {
  out.clear();
  while (!text.empty()) {
    const vorlane::Utf8Step step = vorlane::decodeUtf8(text);
    if (!step.wellFormed) return false;
    char32_t codePoint = step.codePoint;
    if (codePoint >= 0x10000) {
      codePoint -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(codePoint));
    }
    text.remove_prefix(step.length);
  }
  return true;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

// Why the drawing of "input" would not be a file of its own beside it, or ""
// when it would. The library cuts the path at its last ".", wherever it is.
std::string misplacedDrawing(const std::string& input, const std::string& drawing) {
  const size_t nameStart = input.rfind('/') == std::string::npos ? 0 : input.rfind('/') + 1;
  const size_t dot = input.rfind('.');
  if (dot == std::string::npos || dot > nameStart) return "";
  // The cut at a "./" just before the name leaves the drawing in the file's
  // folder, as does a name that starts with the dot.
  const bool dotSlashName =
      nameStart == dot + 2 && input[dot + 1] == '/' && (dot == 0 || input[dot - 1] == '/');
  const std::string where = dot == nameStart || dotSlashName ? ", without a name of its own"
                                                             : ", outside the file's folder";
  return "its drawing would be " + drawing + where +
         "; give the file a name with an extension, such as .vfk";
}

// Whether the file begins as a VFK file does: an optional UTF-8 byte-order
// mark, then "&" and a record kind (H, B, D or K).
bool looksLikeVfk(vorlane::InputFile& file) {
  char start[5] = {};
  size_t got = 0;
  while (got < sizeof start) {
    const size_t n = file.read(start + got, sizeof start - got);
    if (n == 0) break;
    got += n;
  }
  std::string_view bytes(start, got);
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  return bytes.size() >= 2 && bytes[0] == '&' &&
         std::string_view("HBDK").find(bytes[1]) != std::string_view::npos;
}

int convert(const std::string& input, int32_t units, bool centreOrigin) {
  PathString widePath;
  if (!utf8ToUtf16(input, widePath)) {
    complain(input + ": the file name is not UTF-8, so it cannot be converted");
    return kFailed;
  }
  const std::string output = vorlane::pathToUtf8(vorlane::outputPathFor(PathView(widePath)));
  if (const std::string why = misplacedDrawing(input, output); !why.empty()) {
    complain(input + ": " + why + "; nothing was converted");
    return kFailed;
  }
  // An input named plan.svg would be overwritten by its own drawing; so
  // would plan.SVG where file names ignore case.
  if (equalIgnoringCase(output, input)) {
    complain(input + ": its drawing would replace the file itself; nothing was converted");
    return kFailed;
  }
  // A file that cannot be opened goes on to the library, which says so.
  if (vorlane::InputFile file(widePath); file.isOpen() && !looksLikeVfk(file)) {
    complain(input + ": does not look like a VFK file (it must begin with a record such as "
                     "&HVERZE); nothing was converted");
    return kFailed;
  }

  // Each file is converted as if it were alone: from the code page a
  // freshly started process has.
  vorlane::ConversionSettings settings;
  settings.options.units = units;
  settings.options.centreOrigin = centreOrigin;
  vorlane::PrintedMessages messages;
  const vorlane::Conversion conversion = vorlane::convertVfkFile(widePath, settings, messages);
  messages.finish();
  // The library has said that the file cannot be opened.
  if (!conversion.opened) return kFailed;
  if (!conversion.readWhole) {
    complain(input + ": could not be read: " + conversion.failure);
    return kFailed;
  }
  if (!conversion.written) {
    complain(output + ": the drawing could not be written: " + conversion.failure);
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
  // A closed standard output (vorlane ... | head) must not end the run: the
  // messages that cannot be written are lost, the drawings are not.
  std::signal(SIGPIPE, SIG_IGN);

  int32_t units = 1;
  bool centreOrigin = false;
  std::vector<std::string> files;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      files.emplace_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage.data(), stdout);
      return kConverted;
    } else if (arg == "--version" || arg == "-V") {
      std::printf("vorlane %d.%d.%d\n", VORLANE_VERSION_MAJOR, VORLANE_VERSION_MINOR,
                  VORLANE_VERSION_PATCH);
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
