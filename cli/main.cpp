// vorlane: converts VFK files into drawings with the library's own
// conversion (the code behind its export). See cli/options.cpp for what it
// takes and vorlane(1) for the whole of it.
//
// The library's messages go to standard output, the converter's own to
// standard error, each file's together, in the order of the inputs.
#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "cli/batch.h"
#include "cli/file_checks.h"
#include "cli/options.h"
#include "cli/report.h"
#include "platform/files.h"

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

// SIGINT, SIGTERM and SIGHUP end the run as they end any program, but first
// the temporary files of the outputs not yet finished are removed. The
// signals wait for a thread of their own, which can take the lock that
// creating and committing those files hold; a signal the run was started
// with ignored stays ignored.
void removeUnfinishedOutputsOnSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
      sigaddset(&signals, signal);
    }
  }
  // Before any other thread starts, so that every thread inherits the mask.
  ::pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  std::thread([signals] {
    int signal = 0;
    while (::sigwait(&signals, &signal) != 0) {
    }
    vorlane::removeUnfinishedOutputs();
    std::signal(signal, SIG_DFL);
    sigset_t delivered;
    sigemptyset(&delivered);
    sigaddset(&delivered, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &delivered, nullptr);
    ::raise(signal);
  }).detach();
}

// Writes the report to the file at "path", whole or not at all; "" or why
// it could not be written.
std::string writeReport(const std::string& path, const std::string& json) {
  vorlane::PathString widePath;
  utf8ToUtf16(path, widePath);
  vorlane::OutputFile file(widePath);
  if (file.write(json.data(), json.size()) && file.commit()) return "";
  return file.failure();
}

}  // namespace

int main(int argc, char** argv) {
  // A closed standard output (vorlane ... | head) must not end the run: the
  // messages that cannot be written are lost, the drawings are not. Nor may
  // a file-size limit: a write beyond it fails, and says so.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
  removeUnfinishedOutputsOnSignals();

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
  if (const std::string clash = planJobs(options, jobs); !clash.empty()) {
    complain(clash);
    return kUsageError;
  }
  if (!options.report.empty()) {
    vorlane::PathString reportPath;
    utf8ToUtf16(options.report, reportPath);
    if (const std::string why = vorlane::whyNotWritable(reportPath); !why.empty()) {
      complain(options.report + ": the report cannot be written: " + why +
               "; nothing was converted");
      return kFailed;
    }
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
    if (const std::string why = writeReport(options.report, reportJson(options, records));
        !why.empty()) {
      complain(options.report + ": the report could not be written: " + why);
      status = kFailed;
    }
  }
  return status;
}
