// vorlane_bench: how fast a conversion is, against how fast the same file is
// merely read. For each generated file it reports the median over several
// runs of reading and resolving, writing, the whole conversion through
// Vorlane_ParseVfk and `wc -l` on the same file, the conversion's
// throughput and peak resident memory; then the chaining of one parcel of
// 100000 boundaries.
//
//   vorlane_bench [--runs N] [--sizes MB,MB,...] [--work DIR]
//
// The files are made by generate_vfk (seed 1) in the work folder, default
// /tmp/vorlane-bench, and kept there for later runs.
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
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "Vorlane.h"
#include "svg/write_svg.h"
#include "vfk/vfk_parser.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Options {
  int runs = 5;
  std::vector<double> sizesMb = {10, 100};
  fs::path work = "/tmp/vorlane-bench";
};

vorlane::PathString libraryPath(const fs::path& path) {
  const std::string narrow = path.string();
  vorlane::PathString wide;
  // The generated names are ASCII.
  for (const char c : narrow) wide.push_back(static_cast<vorlane::PathChar>(c));
  return wide;
}

double secondsOf(const std::function<void()>& action) {
  const auto start = Clock::now();
  action();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Runs a program to its end with its output discarded; returns its peak
// resident memory in bytes, or -1 when it failed. posix_spawn rather than
// fork: a fork would mark all of this process's memory copy-on-write, and
// the next conversion would pay a page fault for every page it writes.
long runChild(const std::vector<std::string>& argv) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> args;
  for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const int error = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return -1;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return -1;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  return usage.ru_maxrss * 1024L;
}

// runChild, ending the benchmark when the program fails: a figure from a
// failed run would be no measurement.
long runChildOrExit(const std::vector<std::string>& argv) {
  const long peak = runChild(argv);
  if (peak < 0) {
    std::fprintf(stderr, "vorlane_bench: %s failed\n", argv[0].c_str());
    std::exit(1);
  }
  return peak;
}

fs::path generatedFile(const Options& options, double sizeMb) {
  char name[64];
  std::snprintf(name, sizeof name, "generated_%gmb.vfk", sizeMb);
  const fs::path path = options.work / name;
  if (!fs::exists(path)) {
    char size[32];
    std::snprintf(size, sizeof size, "%g", sizeMb);
    runChildOrExit({VORLANE_GENERATOR, "--seed", "1", "--size-mb", size, path.string()});
  }
  return path;
}

void benchmarkFile(const Options& options, const fs::path& input, const fs::path& self) {
  const vorlane::PathString vfk = libraryPath(input);
  const vorlane::PathString svg = libraryPath(fs::path(input).replace_extension(".svg"));
  const double megabytes = static_cast<double>(fs::file_size(input)) / 1e6;

  std::vector<double> readTimes, writeTimes, wholeTimes, wcTimes;
  for (int run = 0; run < options.runs; ++run) {
    // Interleaved, so that a change in the machine's load touches all alike.
    wcTimes.push_back(secondsOf([&] { runChildOrExit({"wc", "-l", input.string()}); }));
    wholeTimes.push_back(secondsOf([&] {
      if (!Vorlane_ParseVfk(vfk.c_str(), 1, false)) std::exit(1);
    }));
    vorlane::VfkParser parser;
    readTimes.push_back(secondsOf([&] { parser.parseFile(vfk); }));
    writeTimes.push_back(secondsOf([&] { vorlane::writeSvg(parser.model, svg, 1, false); }));
  }
  const long peak = runChildOrExit({self.string(), "--convert-once", input.string()});

  const double whole = median(wholeTimes);
  const double wc = median(wcTimes);
  std::printf("%-22s %8.1f MB  read+resolve %7.3f s  write %7.3f s  whole %7.3f s  %6.0f MB/s  "
              "peak RSS %6.1f MB  wc -l %6.3f s  ratio %5.1f\n",
              input.filename().c_str(), megabytes, median(readTimes), median(writeTimes), whole,
              megabytes / whole, static_cast<double>(peak) / 1e6, wc, whole / wc);
  std::fflush(stdout);
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
    std::vector<int> order(kBoundaries);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    for (const int i : order) {
      model.addParcelBoundary(model.addPointList(std::vector<int32_t>{i, (i + 1) % kBoundaries}), "1", "", 0);
    }
    times.push_back(secondsOf([&] { model.resolveGeometry(); }));
  }
  std::printf("%-22s %8d boundaries, chained in %.3f s\n", "one long ring", kBoundaries,
              median(times));
}

Options parseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) {
      std::fprintf(stderr, "usage: vorlane_bench [--runs N] [--sizes MB,MB,...] [--work DIR]\n");
      std::exit(2);
    }
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
    } else if (arg == "--work") {
      options.work = value;
    } else {
      std::fprintf(stderr, "vorlane_bench: unknown option %s\n", arg.c_str());
      std::exit(2);
    }
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  // The child that measures peak memory: one conversion and nothing else.
  if (argc == 3 && std::string(argv[1]) == "--convert-once") {
    return Vorlane_ParseVfk(libraryPath(argv[2]).c_str(), 1, false) ? 0 : 1;
  }
  const Options options = parseOptions(argc, argv);
  fs::create_directories(options.work);
  std::printf("medians of %d runs; MB = 10^6 bytes of input\n", options.runs);
  for (const double size : options.sizesMb) {
    benchmarkFile(options, generatedFile(options, size), fs::read_symlink("/proc/self/exe"));
  }
  benchmarkLongRing(options);
  return 0;
}
