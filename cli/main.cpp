// vorlane: converts VFK files into drawings with the library's own
// conversion (the code behind its export). See cli/options.cpp for what it
// takes and vorlane(1) for the whole of it.
//
// The library's messages go to standard output, the converter's own to
// standard error, each file's together, in the order of the inputs.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/batch.h"
#include "cli/options.h"
#include "cli/report.h"

namespace {

using namespace vorlane::cli;

constexpr int kConverted = 0;
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

// Batches and files over this size show how far they are, on a terminal.
constexpr uint64_t kLargeFile = 50'000'000;

void complain(const std::string& message) {
  std::fflush(stdout);  // keep the library's messages and ours in order
  std::fprintf(stderr, "vorlane: %s\n", message.c_str());
}

// One line on standard error, rewritten in place: files done, megabytes
// read and the rate.
class Progress {
 public:
  Progress(bool shown, size_t files, uint64_t bytes, const std::atomic<uint64_t>& bytesRead)
      : shown_(shown), files_(files), bytes_(bytes), bytesRead_(bytesRead) {}

  void draw() {
    if (!shown_) return;
    const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
    const double megabytes = static_cast<double>(bytesRead_.load()) / 1e6;
    std::fprintf(stderr, "\r\033[Kvorlane: %zu of %zu files, %.0f of %.0f MB, %.1f MB/s", done_,
                 files_, megabytes, static_cast<double>(bytes_) / 1e6,
                 seconds > 0 ? megabytes / seconds : 0.0);
    drawn_ = true;
  }
  void clear() {
    if (!drawn_) return;
    std::fputs("\r\033[K", stderr);
    drawn_ = false;
  }
  void fileDone() { ++done_; }

 private:
  using Clock = std::chrono::steady_clock;
  const bool shown_;
  const size_t files_;
  const uint64_t bytes_;
  const std::atomic<uint64_t>& bytesRead_;
  const Clock::time_point start_ = Clock::now();
  size_t done_ = 0;
  bool drawn_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  // A closed standard output (vorlane ... | head) must not end the run: the
  // messages that cannot be written are lost, the drawings are not.
  std::signal(SIGPIPE, SIG_IGN);

  const ParseResult parsed = parseArguments(argc, argv);
  if (parsed.outcome == Parsed::kDone) return kConverted;
  if (parsed.outcome == Parsed::kUsageError) {
    if (parsed.message.empty()) {
      std::fputs(kUsage.data(), stderr);
    } else {
      complain(parsed.message);
    }
    return kUsageError;
  }
  const Options& options = parsed.options;

  std::vector<Job> jobs;
  if (const std::string collision = planJobs(options, jobs); !collision.empty()) {
    complain(collision);
    return kFailed;
  }
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const auto threads =
      static_cast<unsigned>(std::min<size_t>(options.jobs > 0 ? options.jobs : cores, jobs.size()));
  uint64_t bytes = 0;
  for (const Job& job : jobs) bytes += job.bytes;
  std::atomic<uint64_t> bytesRead{0};
  Progress progress(
      !options.quiet && ::isatty(STDERR_FILENO) && (jobs.size() > 1 || bytes > kLargeFile),
      jobs.size(), bytes, bytesRead);

  int status = kConverted;
  std::vector<ConversionRecord> records;
  runJobs(
      jobs, options, threads, bytesRead,
      [&](size_t, JobOutcome& outcome) {
        progress.clear();
        std::fwrite(outcome.messages.data(), 1, outcome.messages.size(), stdout);
        std::fflush(stdout);
        std::fputs(outcome.notes.c_str(), stderr);
        if (!outcome.converted) status = kFailed;
        records.push_back(std::move(outcome.record));
        progress.fileDone();
        progress.draw();
      },
      [&] { progress.draw(); });
  progress.clear();

  if (!options.report.empty()) {
    std::ofstream report(options.report, std::ios::binary | std::ios::trunc);
    report << reportJson(options, records);
    report.close();
    if (!report) {
      complain(options.report + ": the report could not be written");
      status = kFailed;
    }
  }
  return status;
}
