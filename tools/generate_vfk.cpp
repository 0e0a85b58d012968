// generate_vfk writes a synthetic VFK file: a cadastral area of parcels,
// buildings, soil-valuation units and map texts, with the register blocks a
// real export carries around them. The bytes depend only on the arguments.
//
//   generate_vfk --seed N --size-mb M OUTPUT.vfk   about M MiB (M may be a fraction)
//   generate_vfk --seed N --parcels K OUTPUT.vfk   about K parcels, few register rows
//   generate_vfk --seed N --dense K OUTPUT.vfk     K small triangles and nothing else
//
// With --cut F (a fraction, such as 0.05) the file is an extract cut as a
// surveyor's is: about that share of its survey points and of its point
// connections (SOBR and SBP rows) left out, so that lines lack points and
// borders break.
//
// With --whole-map the file also holds what an export has beyond the blocks
// the standard drawing reads: control points, measured positions, a
// geometric plan over some parcels and neighbours' fragments.
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

#include "tools/vfk_generator/dense_area.h"
#include "tools/vfk_generator/drawing_blocks.h"
#include "tools/vfk_generator/whole_map_blocks.h"
#include "tools/vfk_generator/layout.h"
#include "tools/vfk_generator/records.h"
#include "tools/vfk_generator/register_blocks.h"
#include "tools/vfk_generator/row_writer.h"

namespace {

using namespace vfkgen;

// Bytes the drawing blocks and the parcel register take per parcel,
// measured on generated files; the register blocks fill the rest of the
// requested size, about as much again.
constexpr double kDrawingBytesPerParcel = 1850.0;
constexpr double kDrawingShare = 0.5;
constexpr double kBytesPerMegabyte = 1024.0 * 1024.0;
// Register rows per parcel when a parcel count, not a size, is asked for.
constexpr double kSmallRegisterScale = 0.1;
constexpr std::string_view kEnd = "&K\r\n";

struct Options {
  uint64_t seed = 0;
  std::optional<double> sizeMegabytes;
  std::optional<int> parcels;
  std::optional<int> denseParcels;
  double cut = 0.0;
  bool wholeMap = false;
  std::string output;
};

void printUsage() {
  std::fputs(
      "usage: generate_vfk --seed N --size-mb M OUTPUT.vfk\n"
      "       generate_vfk --seed N --parcels K OUTPUT.vfk\n"
      "       generate_vfk --seed N --dense K OUTPUT.vfk\n"
      "Writes a synthetic VFK file of about M MiB, or with about K parcels, or\n"
      "of K small triangular parcels and nothing else. With --cut F, about that\n"
      "share of its SOBR and SBP rows is left out. With --whole-map it also holds\n"
      "control points, measured positions, a geometric plan and neighbours' lines.\n",
      stderr);
}

template <typename T>
bool parseNumber(std::string_view text, T& value) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

bool parseDouble(std::string_view text, double& value) {
  // std::from_chars for double needs a newer library than some targets
  // have; strtod reads "0.5" the same in the "C" locale the program runs in.
  std::string copy(text);
  char* end = nullptr;
  errno = 0;
  value = std::strtod(copy.c_str(), &end);
  return errno == 0 && end == copy.c_str() + copy.size() && !copy.empty();
}

std::optional<Options> parseArguments(int argc, char** argv) {
  Options options;
  bool haveSeed = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--seed" && hasValue) {
      if (!parseNumber(argv[++i], options.seed)) return std::nullopt;
      haveSeed = true;
    } else if (arg == "--size-mb" && hasValue) {
      double size = 0;
      if (!parseDouble(argv[++i], size) || !(size > 0) || size > 100'000) return std::nullopt;
      options.sizeMegabytes = size;
    } else if (arg == "--cut" && hasValue) {
      if (!parseDouble(argv[++i], options.cut) || !(options.cut >= 0) || options.cut > 1) {
        return std::nullopt;
      }
    } else if (arg == "--whole-map") {
      options.wholeMap = true;
    } else if ((arg == "--parcels" || arg == "--dense") && hasValue) {
      int parcels = 0;
      if (!parseNumber(argv[++i], parcels) || parcels < 1 || parcels > 50'000'000) {
        return std::nullopt;
      }
      (arg == "--dense" ? options.denseParcels : options.parcels) = parcels;
    } else if (!arg.empty() && arg[0] != '-' && options.output.empty()) {
      options.output = arg;
    } else {
      return std::nullopt;
    }
  }
  const int sizes = options.sizeMegabytes.has_value() + options.parcels.has_value() +
                    options.denseParcels.has_value();
  if (!haveSeed || options.output.empty() || sizes != 1) return std::nullopt;
  return options;
}

int parcelsFor(const Options& options) {
  if (options.parcels) return *options.parcels;
  const double bytes = *options.sizeMegabytes * kBytesPerMegabyte;
  return static_cast<int>(bytes * kDrawingShare / kDrawingBytesPerParcel) + 1;
}

// Leaves out about "share" of the SOBR and SBP rows of "blocks".
std::string cutExtract(const std::string& blocks, uint64_t seed, double share) {
  Rng random = Rng::forPurpose(seed, 0xC07);
  std::string kept;
  kept.reserve(blocks.size());
  for (size_t start = 0; start < blocks.size();) {
    const size_t end = std::min(blocks.find('\n', start), blocks.size() - 1) + 1;
    const std::string_view line(blocks.data() + start, end - start);
    const bool cuttable = line.starts_with("&DSOBR;") || line.starts_with("&DSBP;");
    if (!cuttable || !random.chance(share)) kept += line;
    start = end;
  }
  return kept;
}

// The file is written in three parts: the header and parcel register and
// the drawing blocks are made in memory first, so that the register blocks
// between them can be sized to make up the requested total.
uint64_t generate(const Options& options, const Layout& layout) {
  const Context context(options.seed, static_cast<int>(layout.parcels.size()));
  RowWriter opening;
  writeHeader(opening, context);
  writeParcelRegister(opening, context, layout);
  RowWriter drawing;
  writeDrawingBlocks(drawing, context, layout);
  if (options.wholeMap) writeWholeMapBlocks(drawing, context, layout);

  double scale = kSmallRegisterScale;
  if (options.sizeMegabytes) {
    const double target = *options.sizeMegabytes * kBytesPerMegabyte;
    const double fixed = static_cast<double>(opening.bytes() + drawing.bytes() + kEnd.size());
    scale = target > fixed ? scaleForBytes(context, layout, static_cast<uint64_t>(target - fixed),
                                           !options.wholeMap)
                           : 0.0;
  }
  const RegisterCounts counts = registerCounts(context, layout, scale, !options.wholeMap);

  std::FILE* file = std::fopen(options.output.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot create " + options.output);
  uint64_t total = 0;
  try {
    writeBytes(file, opening.buffer());
    RowWriter middle(file);
    writeRegisterBlocks(middle, context, layout, counts);
    middle.flush();
    const std::string cut =
        options.cut > 0 ? cutExtract(drawing.buffer(), options.seed, options.cut) : std::string();
    const std::string& blocks = options.cut > 0 ? cut : drawing.buffer();
    writeBytes(file, blocks);
    writeBytes(file, kEnd);
    total = opening.bytes() + middle.bytes() + blocks.size() + kEnd.size();
  } catch (...) {
    std::fclose(file);
    throw;
  }
  if (std::fclose(file) != 0) throw std::runtime_error("cannot write " + options.output);
  return total;
}

uint64_t generateDense(const Options& options) {
  std::FILE* file = std::fopen(options.output.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot create " + options.output);
  uint64_t total = 0;
  try {
    RowWriter writer(file);
    writeDenseArea(writer, options.seed, *options.denseParcels);
    writer.flush();
    total = writer.bytes();
  } catch (...) {
    std::fclose(file);
    throw;
  }
  if (std::fclose(file) != 0) throw std::runtime_error("cannot write " + options.output);
  return total;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> options = parseArguments(argc, argv);
  if (!options) {
    printUsage();
    return 2;
  }
  try {
    if (options->denseParcels) {
      const uint64_t bytes = generateDense(*options);
      std::fprintf(stderr, "generate_vfk: %s: %llu bytes, %d parcels\n", options->output.c_str(),
                   static_cast<unsigned long long>(bytes), *options->denseParcels);
      return 0;
    }
    const Layout layout = makeLayout(options->seed, parcelsFor(*options));
    const uint64_t bytes = generate(*options, layout);
    std::fprintf(stderr,
                 "generate_vfk: %s: %llu bytes, %zu parcels, %zu boundaries, %zu buildings\n",
                 options->output.c_str(), static_cast<unsigned long long>(bytes),
                 layout.parcels.size(), layout.lines.size(), layout.buildings.size());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "generate_vfk: %s\n", error.what());
    return 1;
  }
  return 0;
}
