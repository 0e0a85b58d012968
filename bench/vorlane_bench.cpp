// vorlane_bench: how fast and in how much memory a conversion runs, against
// how fast the same file is merely read. Every figure is of whole processes,
// each started afresh, as a user runs the converter: for each generated file
// it runs the converter and `wc -l` in turn, several times, and reports the
// medians of their CPU (user + system) and wall times, the median ratio of
// the two CPU times, and the converter's peak resident memory per megabyte
// of input; then how the cost grows from the smallest file to the largest,
// what the exact and the DXF drawing of the file nearest 100 MB and of the
// dense file cost against the default one (CPU over --pairs pairs run in
// turn, and peak memory against the input), a batch of 200 copies of real
// exports converted on every core against one after another, and the
// chaining of one parcel of 100000 boundaries (in this process).
//
//   vorlane_bench [--runs N] [--pairs N] [--sizes MB,MB,...] [--dense PARCELS]
//                 [--work DIR] [--real DIR]
//
// The files are made by generate_vfk (seed 1) in the work folder, default
// /tmp/vorlane-bench, and kept there for later runs: exports of about the
// given sizes, with everything the exact drawing draws (--whole-map), and a dense file of small triangular parcels (0 for none).
// The real exports are the .vfk files of --real, default the folder
// VORLANE_REAL_DATA names; without them there is no batch.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "model/cadastral_model.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Options {
  int runs = 5;
  // The drawings are compared pair by pair, and their ratio moves most with
  // the machine's load: more pairs than runs.
  int pairs = 21;
  std::vector<double> sizesMb = {20, 100, 400};
  int denseParcels = 300000;
  fs::path work = "/tmp/vorlane-bench";
  fs::path real;
};

// What one finished process cost.
struct Run {
  double cpu = 0;   // user + system seconds
  double wall = 0;  // seconds
  long peakBytes = 0;
  int exitStatus = -1;  // -1 when a signal ended it
};

// Runs a program to its end with its output discarded. posix_spawn rather
// than fork: a fork would mark this process's memory copy-on-write.
// Returns false when it could not run.
bool runChild(const std::vector<std::string>& argv, Run& run) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> args;
  for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const auto start = Clock::now();
  const int error = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return false;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return false;
  run.wall = std::chrono::duration<double>(Clock::now() - start).count();
  auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  run.cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  run.peakBytes = usage.ru_maxrss * 1024L;
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return true;
}

// runChild, ending the benchmark when the program fails: a figure from a
// failed run would be no measurement.
Run runOrExit(const std::vector<std::string>& argv) {
  Run run;
  if (!runChild(argv, run) || run.exitStatus != 0) {
    std::fprintf(stderr, "vorlane_bench: %s failed\n", argv[0].c_str());
    std::exit(1);
  }
  return run;
}

// The value a fraction q of the way through the sorted values, between two
// neighbours by interpolation. REQUIRES: values not empty, 0 <= q <= 1.
double quantile(std::vector<double> values, double q) {
  std::sort(values.begin(), values.end());
  const double at = q * static_cast<double>(values.size() - 1);
  const auto below = static_cast<size_t>(at);
  if (below + 1 >= values.size()) return values.back();
  return values[below] + (at - static_cast<double>(below)) * (values[below + 1] - values[below]);
}

double median(std::vector<double> values) { return quantile(std::move(values), 0.5); }

fs::path generatedFile(const Options& options, const std::string& name,
                       const std::vector<std::string>& arguments) {
  const fs::path path = options.work / name;
  // A file the generator made before it was last built may differ from
  // what it makes now: it is made again.
  if (!fs::exists(path) || fs::last_write_time(path) < fs::last_write_time(VORLANE_GENERATOR)) {
    std::vector<std::string> argv = {VORLANE_GENERATOR, "--seed", "1"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    argv.push_back(path.string());
    runOrExit(argv);
  }
  return path;
}

struct Figures {
  double megabytes = 0;
  double cpu = 0;  // medians
  double wall = 0;
};

Figures benchmarkFile(const Options& options, const fs::path& input) {
  Figures figures;
  figures.megabytes = static_cast<double>(fs::file_size(input)) / 1e6;
  std::vector<double> cpu, wall, wcCpu, wcWall, ratios, wallRatios, peaks;
  for (int run = 0; run < options.runs + 1; ++run) {
    // In turn, so that a change in the machine's load touches both alike;
    // the first round only warms the page cache.
    const Run wc = runOrExit({"wc", "-l", input.string()});
    const Run conversion = runOrExit({VORLANE_CONVERTER, input.string()});
    if (run == 0) continue;
    cpu.push_back(conversion.cpu);
    wall.push_back(conversion.wall);
    wcCpu.push_back(wc.cpu);
    wcWall.push_back(wc.wall);
    ratios.push_back(conversion.cpu / std::max(wc.cpu, 1e-6));
    wallRatios.push_back(conversion.wall / std::max(wc.wall, 1e-6));
    peaks.push_back(static_cast<double>(conversion.peakBytes) / 1e6);
  }
  figures.cpu = median(cpu);
  figures.wall = median(wall);
  const double peak = median(peaks);
  std::printf("%-48s %6.1f  %7.3f %7.3f  %7.3f %7.3f  %6.1f %6.1f  %7.1f %7.2f\n",
              input.filename().c_str(), figures.megabytes, figures.cpu, figures.wall, median(wcCpu),
              median(wcWall), median(ratios), median(wallRatios), peak, peak / figures.megabytes);
  std::fflush(stdout);
  return figures;
}

// The CPU time of each drawing of "input" against the default one's, each
// pair run in turn: the median of the pairs' ratios and their middle half.
void benchmarkDrawings(const Options& options, const fs::path& input) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> drawings = {
      {"exact drawing", {"--exact"}}, {"DXF drawing", {"--format=dxf"}}};
  for (const auto& [name, arguments] : drawings) {
    std::vector<std::string> argv = {VORLANE_CONVERTER, "--quiet"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    argv.push_back(input.string());
    std::vector<double> cpu, defaultCpu, ratios, peaks;
    for (int run = 0; run < options.pairs + 1; ++run) {
      const Run plain = runOrExit({VORLANE_CONVERTER, "--quiet", input.string()});
      const Run other = runOrExit(argv);
      if (run == 0) continue;
      cpu.push_back(other.cpu);
      defaultCpu.push_back(plain.cpu);
      ratios.push_back(other.cpu / std::max(plain.cpu, 1e-6));
      peaks.push_back(static_cast<double>(other.peakBytes));
    }
    const double inputBytes = static_cast<double>(fs::file_size(input));
    std::printf(
        "%s of %s: cpu %.3f s against %.3f s, %.2fx the default drawing (middle half %.2fx "
        "to %.2fx, %d pairs); peak %.1f MB, %.2fx the input\n",
        name.c_str(), input.filename().c_str(), median(cpu), median(defaultCpu), median(ratios),
        quantile(ratios, 0.25), quantile(ratios, 0.75), options.pairs, median(peaks) / 1e6,
        median(peaks) / inputBytes);
  }
}

// Whether the converter draws something of "file" (writing its drawing beside
// it): exit status 1 says that a file has nothing to draw (a register
// extract).
bool drawsSomething(const fs::path& file) {
  Run run;
  return runChild({VORLANE_CONVERTER, "--quiet", file.string()}, run) && run.exitStatus == 0;
}

// A copy in the work folder of the largest real export that has something to
// draw, so that its drawings are not written beside it; empty without one.
fs::path largestRealExport(const Options& options) {
  if (options.real.empty() || !fs::is_directory(options.real)) return {};
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(options.real)) {
    if (entry.path().extension() == ".vfk") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
    return fs::file_size(a) > fs::file_size(b);
  });
  for (const fs::path& file : files) {
    const fs::path copy = options.work / ("real_" + file.filename().string());
    fs::copy_file(file, copy, fs::copy_options::overwrite_existing);
    if (drawsSomething(copy)) return copy;
    fs::remove(copy);
  }
  return {};
}

// 200 copies of the real exports that have something to draw, converted by
// one converter on every core against one file after another.
void benchmarkBatch(const Options& options) {
  const fs::path folder = options.work / "batch";
  fs::remove_all(folder);
  fs::create_directories(folder);
  // Each tried in a copy: nothing is written beside the originals.
  std::vector<fs::path> drawable;
  for (const auto& entry : fs::directory_iterator(options.real)) {
    if (entry.path().extension() != ".vfk") continue;
    const fs::path copy = folder / entry.path().filename();
    fs::copy_file(entry.path(), copy);
    if (drawsSomething(copy)) drawable.push_back(copy);
  }
  std::sort(drawable.begin(), drawable.end());
  constexpr int kCopies = 200;
  std::vector<std::string> files;
  double megabytes = 0;
  for (int i = 0; i < kCopies && !drawable.empty(); ++i) {
    const fs::path& from = drawable[static_cast<size_t>(i) % drawable.size()];
    const fs::path to = folder / (std::to_string(i) + "_" + from.filename().string());
    fs::copy_file(from, to);
    files.push_back(to.string());
    megabytes += static_cast<double>(fs::file_size(to)) / 1e6;
  }
  if (files.empty()) return;
  const auto batch = [&](const std::string& jobs) {
    std::vector<std::string> argv = {VORLANE_CONVERTER, "--quiet", "-j", jobs, "--"};
    argv.insert(argv.end(), files.begin(), files.end());
    return argv;
  };
  const std::string cores = std::to_string(std::max(1u, std::thread::hardware_concurrency()));
  std::vector<double> wall, serialWall, ratios;
  for (int run = 0; run < options.runs + 1; ++run) {
    const Run serial = runOrExit(batch("1"));
    const Run parallel = runOrExit(batch(cores));
    if (run == 0) continue;
    wall.push_back(parallel.wall);
    serialWall.push_back(serial.wall);
    ratios.push_back(parallel.wall / std::max(serial.wall, 1e-6));
  }
  std::printf(
      "batch of %d copies of %zu real exports, %.1f MB: -j %s wall %.3f s against -j 1 "
      "%.3f s, %.2fx\n",
      kCopies, drawable.size(), megabytes, cores.c_str(), median(wall), median(serialWall),
      median(ratios));
  fs::remove_all(folder);
}

// One parcel whose 100000 two-point boundaries form a single ring, given in
// a shuffled order: the worst case of chaining.
void benchmarkLongRing(const Options& options) {
  constexpr int kBoundaries = 100000;
  std::vector<double> times;
  for (int run = 0; run < options.runs; ++run) {
    vorlane::CadastralModel model;
    for (int i = 0; i < kBoundaries; ++i) {
      const double angle = 2 * 3.14159265358979 * i / kBoundaries;
      model.addPoint(1000 * std::cos(angle), 1000 * std::sin(angle));
    }
    std::vector<int32_t> order(kBoundaries);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    for (const int32_t i : order) {
      const std::vector<int32_t> line = {i, (i + 1) % kBoundaries};
      model.addParcelBoundary(model.addPointList(line), "1", "", 0);
    }
    const auto start = Clock::now();
    model.resolveGeometry();
    times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
  }
  std::printf("one parcel of %d boundaries in shuffled order: chained in %.3f s\n", kBoundaries,
              median(times));
}

void usage() {
  std::fprintf(
      stderr,
      "usage: vorlane_bench [--runs N] [--pairs N] [--sizes MB,MB,...] [--dense PARCELS]\n"
      "                     [--work DIR] [--real DIR]\n");
  std::exit(2);
}

Options parseOptions(int argc, char** argv) {
  Options options;
  if (const char* real = std::getenv("VORLANE_REAL_DATA"); real != nullptr) options.real = real;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) usage();
    const std::string value = argv[++i];
    if (arg == "--runs") {
      options.runs = std::max(1, std::atoi(value.c_str()));
    } else if (arg == "--pairs") {
      options.pairs = std::max(1, std::atoi(value.c_str()));
    } else if (arg == "--sizes") {
      options.sizesMb.clear();
      for (size_t from = 0; from <= value.size();) {
        const size_t comma = std::min(value.find(',', from), value.size());
        options.sizesMb.push_back(std::atof(value.substr(from, comma - from).c_str()));
        from = comma + 1;
      }
    } else if (arg == "--dense") {
      options.denseParcels = std::max(0, std::atoi(value.c_str()));
    } else if (arg == "--work") {
      options.work = value;
    } else if (arg == "--real") {
      options.real = value;
    } else {
      usage();
    }
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = parseOptions(argc, argv);
  fs::create_directories(options.work);
  std::printf("fresh processes, medians of %d runs; MB = 10^6 bytes; times in seconds\n",
              options.runs);
  std::printf("%-48s %6s  %15s  %15s  %6s %6s  %7s %7s\n", "file", "MB", "convert cpu wall",
              "wc -l cpu wall", "cpu x", "wall x", "peak MB", "RSS/MB");
  std::vector<Figures> exports;
  fs::path nearest100Mb;
  fs::path dense;
  double nearestDistance = 0;
  for (const double size : options.sizesMb) {
    char megabytes[32];
    std::snprintf(megabytes, sizeof megabytes, "%g", size);
    // Exports with everything the exact drawing draws besides the default.
    const std::string name = "generated_" + std::string(megabytes) + "mb_whole_map.vfk";
    const fs::path file =
        generatedFile(options, name, {"--size-mb", megabytes, "--whole-map"});
    exports.push_back(benchmarkFile(options, file));
    if (nearest100Mb.empty() || std::abs(size - 100) < nearestDistance) {
      nearest100Mb = file;
      nearestDistance = std::abs(size - 100);
    }
  }
  if (options.denseParcels > 0) {
    const std::string count = std::to_string(options.denseParcels);
    dense = generatedFile(options, "dense_" + count + ".vfk", {"--dense", count});
    benchmarkFile(options, dense);
  }
  const fs::path largestReal = largestRealExport(options);
  if (!largestReal.empty()) benchmarkFile(options, largestReal);
  if (exports.size() >= 2) {
    const Figures& small = exports.front();
    const Figures& large = exports.back();
    std::printf("growth from %.1f MB to %.1f MB: %.1fx the input, %.1fx the cpu time\n",
                small.megabytes, large.megabytes, large.megabytes / small.megabytes,
                large.cpu / small.cpu);
  }
  if (!nearest100Mb.empty()) benchmarkDrawings(options, nearest100Mb);
  if (!dense.empty()) benchmarkDrawings(options, dense);
  if (!largestReal.empty()) benchmarkDrawings(options, largestReal);
  if (!options.real.empty() && fs::is_directory(options.real)) benchmarkBatch(options);
  benchmarkLongRing(options);
  return 0;
}
