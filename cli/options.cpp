#include "cli/options.h"

#include <charconv>
#include <cstdio>

#include "Vorlane.h"

namespace vorlane::cli {

const std::string_view kUsage =
    "Usage: vorlane [OPTION]... FILE.vfk...\n"
    "\n"
    "Converts each cadastral exchange file (VFK) into a drawing for CAD import,\n"
    "written beside it: plan.vfk gives plan.svg. An existing drawing there is\n"
    "replaced only by a whole new one, never by a part; no output replaces an\n"
    "input, another output or a VFK file. Each file is converted as if it were\n"
    "alone, from the code page a freshly started process has (the system's ANSI\n"
    "code page, Windows-1250) until its CODEPAGE header names another.\n"
    "\n"
    "  --exact            draw exactly what the file holds: every segment of its\n"
    "                     lines once and none it lacks, arcs and circles as such,\n"
    "                     no label without a position\n"
    "  --format FORMAT    svg (the default) or dxf\n"
    "  --into DRAWING     read all files into one model and write one drawing\n"
    "  --layers NAMES     draw only these layers (names separated by commas; a\n"
    "                     name ending in * stands for every layer it begins)\n"
    "  --without NAMES    leave these layers out\n"
    "  -o, --output-dir DIR\n"
    "                     write each drawing into DIR under its input's name\n"
    "  --report FILE      write a report of the run, in JSON, to FILE\n"
    "  -j, --jobs N       convert N files at once (default: one per core)\n"
    "  --quiet            no progress line on a terminal\n"
    "  --units N          the CAD application's units number, written into the\n"
    "                     SVG drawing's units attribute as it is (default 1)\n"
    "  --centre-origin    put the SVG drawing's origin at the centre of its extent\n"
    "                     instead of at 0 0\n"
    "  -h, --help         show this text\n"
    "  -V, --version      show the version\n"
    "\n"
    "Layers: the standard drawing's VL_mapove_znacky, VL_hranice_parcel,\n"
    "VL_text_parcel, VL_BPEJ, VL_hranice_KU, VL_hranice_budov, VL_cisla_budov,\n"
    "VL_prvky_mapy, VL_vnitrni_kresby; the exact drawing's besides\n"
    "VL_vecna_bremena, VL_bodove_pole, VL_body, VL_cisla_bodu,\n"
    "VL_hranice_sousednich_parcel, VL_hranicni_znaky, VL_znacky_prvku,\n"
    "VL_hranice_chranenych_uzemi, VL_osy_vedeni and VL_prvek_<type code>, and\n"
    "for the geometric plan and other states the same with VL_GP_ and\n"
    "VL_stav_<state>_ for VL_.\n"
    "\n"
    "The library's warnings go to standard output, the converter's messages to\n"
    "standard error: one line for each file written, with what it holds and what\n"
    "its file lacks.\n"
    "\n"
    "Exit status: 0 when every file was converted, 1 when any was refused, could\n"
    "not be read or was not read to its end, had nothing to draw or its drawing\n"
    "could not be written, 2 for a usage error (an output that would replace an\n"
    "input, another output or a VFK file among them).\n";

namespace {

template <typename Number>
bool parseNumber(std::string_view text, Number& number) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, number);
  return result.ec == std::errc() && result.ptr == end;
}

}  // namespace

ParseResult parseArguments(int argc, char** argv) {
  ParseResult result;
  Options& options = result.options;
  auto fail = [&result](std::string message) {
    result.outcome = Parsed::kUsageError;
    result.message = std::move(message);
    return result;
  };
  bool svgOnly = false;  // --units or --centre-origin given
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      options.inputs.emplace_back(arg);
      continue;
    }
    // An option's value: "--name=value", "-nVALUE", or the next argument.
    std::string_view value;
    auto valueOf = [&](std::string_view longName, std::string_view shortName = {}) {
      if (arg == longName || (!shortName.empty() && arg == shortName)) {
        if (i + 1 == argc) return false;
        value = argv[++i];
        return true;
      }
      if (!shortName.empty() && arg.starts_with(shortName) && arg.size() > shortName.size()) {
        value = arg.substr(shortName.size());
        return true;
      }
      if (arg.starts_with(longName) && arg.size() > longName.size() &&
          arg[longName.size()] == '=') {
        value = arg.substr(longName.size() + 1);
        return true;
      }
      return false;
    };
    auto named = [&arg](std::string_view longName) {
      return arg == longName || (arg.starts_with(longName) && arg[longName.size()] == '=');
    };
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage.data(), stdout);
      result.outcome = Parsed::kDone;
      return result;
    } else if (arg == "--version" || arg == "-V") {
      std::printf("vorlane %d.%d.%d\n", VORLANE_VERSION_MAJOR, VORLANE_VERSION_MINOR,
                  VORLANE_VERSION_PATCH);
      result.outcome = Parsed::kDone;
      return result;
    } else if (arg == "--exact") {
      options.drawing.exact = true;
    } else if (arg == "--quiet") {
      options.quiet = true;
    } else if (arg == "--centre-origin") {
      options.drawing.centreOrigin = true;
      svgOnly = true;
    } else if (valueOf("--units")) {
      if (!parseNumber(value, options.drawing.units)) {
        return fail("--units needs a whole number from -2147483648 to 2147483647, not \"" +
                    std::string(value) + "\"");
      }
      svgOnly = true;
    } else if (valueOf("--format")) {
      if (value == "svg") {
        options.drawing.format = DrawingFormat::kSvg;
      } else if (value == "dxf") {
        options.drawing.format = DrawingFormat::kDxf;
      } else {
        return fail("--format is svg or dxf, not \"" + std::string(value) + "\"");
      }
    } else if (valueOf("--into")) {
      options.into = value;
    } else if (valueOf("--layers")) {
      options.drawing.layers = value;
    } else if (valueOf("--without")) {
      options.drawing.withoutLayers = value;
    } else if (valueOf("--output-dir", "-o")) {
      options.outputDir = value;
    } else if (valueOf("--report")) {
      options.report = value;
    } else if (valueOf("--jobs", "-j")) {
      if (!parseNumber(value, options.jobs) || options.jobs == 0) {
        return fail("--jobs needs a number of files from 1 on, not \"" + std::string(value) + "\"");
      }
    } else if (named("--units") || named("--format") || named("--into") || named("--report") ||
               named("--layers") || named("--without") ||
               named("--jobs") || named("--output-dir") || arg == "-j" || arg == "-o") {
      return fail(std::string(arg.substr(0, arg.find('='))) + " needs a value");
    } else {
      return fail("unknown option " + std::string(arg) + " (see vorlane --help)");
    }
  }
  if (svgOnly && options.drawing.format == DrawingFormat::kDxf) {
    return fail(
        "--units and --centre-origin are the SVG drawing's attributes; a DXF drawing "
        "has neither (leave them out with --format dxf)");
  }
  if (!options.into.empty() && !options.outputDir.empty()) {
    return fail("--into names the one drawing; it cannot go with --output-dir");
  }
  if (options.inputs.empty()) return fail("");
  return result;
}

}  // namespace vorlane::cli
