// vorlane_bench: how fast and in how much memory a conversion runs, against
// how fast the same file is merely read. Every figure is of whole processes,
// each started afresh, as a user runs the converter: for each generated file
// it runs the converter and `wc -l` in turn, several times, and reports the
// medians of their CPU (user + system) and wall times, the median ratio of
// the two CPU times, and the converter's peak resident memory per megabyte
// of input; then how the cost grows from the smallest file to the largest,
// and the chaining of one parcel of 100000 boundaries (in this process).
//
//   vorlane_bench [--runs N] [--sizes MB,MB,...] [--dense PARCELS] [--work DIR]
//
// The files are made by generate_vfk (seed 1) in the work folder, default
// /tmp/vorlane-bench, and kept there for later runs: exports of about the
// given sizes, and a dense file of small triangular parcels (0 for none).
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
#include <vector>

#include "model/cadastral_model.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Options {
  int runs = 5;
  std::vector<double> sizesMb = {20, 100, 400};
  int denseParcels = 300000;
  fs::path work = "/tmp/vorlane-bench";
};

// What one finished process cost.
struct Run {
  double cpu = 0;   // user + system seconds
  double wall = 0;  // seconds
  long peakBytes = 0;
};

// Runs a program to its end with its output discarded. posix_spawn rather
// than fork: a fork would mark this process's memory copy-on-write.
// Returns false when it could not run or failed.
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
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// runChild, ending the benchmark when the program fails: a figure from a
// failed run would be no measurement.
Run runOrExit(const std::vector<std::string>& argv) {
  Run run;
  if (!runChild(argv, run)) {
    std::fprintf(stderr, "vorlane_bench: %s failed\n", argv[0].c_str());
    std::exit(1);
  }
  return run;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

fs::path generatedFile(const Options& options, const std::string& name,
                       const std::vector<std::string>& arguments) {
  const fs::path path = options.work / name;
  if (!fs::exists(path)) {
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
  std::vector<double> cpu, wall, wcCpu, wcWall, ratios, peaks;
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
    peaks.push_back(static_cast<double>(conversion.peakBytes) / 1e6);
  }
  figures.cpu = median(cpu);
  figures.wall = median(wall);
  const double peak = median(peaks);
  std::printf("%-26s %8.1f  %7.3f %7.3f  %7.3f %7.3f  %7.1f  %8.1f %8.2f\n",
              input.filename().c_str(), figures.megabytes, figures.cpu, figures.wall, median(wcCpu),
              median(wcWall), median(ratios), peak, peak / figures.megabytes);
  std::fflush(stdout);
  return figures;
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
      "usage: vorlane_bench [--runs N] [--sizes MB,MB,...] [--dense PARCELS] [--work DIR]\n");
  std::exit(2);
}

Options parseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) usage();
    const std::string value = argv[++i];
    if (arg == "--runs") {
      options.runs = std::max(1, std::atoi(value.c_str()));
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
  std::printf("%-26s %8s  %15s  %15s  %7s  %8s %8s\n", "file", "MB", "convert cpu wall",
              "wc -l cpu wall", "cpu x", "peak MB", "RSS/MB");
  std::vector<Figures> exports;
  for (const double size : options.sizesMb) {
    char megabytes[32];
    std::snprintf(megabytes, sizeof megabytes, "%g", size);
    const std::string name = "generated_" + std::string(megabytes) + "mb.vfk";
    exports.push_back(
        benchmarkFile(options, generatedFile(options, name, {"--size-mb", megabytes})));
  }
  if (options.denseParcels > 0) {
    const std::string count = std::to_string(options.denseParcels);
    benchmarkFile(options, generatedFile(options, "dense_" + count + ".vfk", {"--dense", count}));
  }
  if (exports.size() >= 2) {
    const Figures& small = exports.front();
    const Figures& large = exports.back();
    std::printf("growth from %.1f MB to %.1f MB: %.1fx the input, %.1fx the cpu time\n",
                small.megabytes, large.megabytes, large.megabytes / small.megabytes,
                large.cpu / small.cpu);
  }
  benchmarkLongRing(options);
  return 0;
}
