// The converter's work: one job per drawing (one per file, or one for all
// files with --into), checked before anything is converted, then run on as
// many threads as asked, each job's messages kept together and handed on in
// the order of the inputs.
#ifndef VORLANE_CLI_BATCH_H_
#define VORLANE_CLI_BATCH_H_

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "cli/options.h"
#include "cli/report.h"
#include "entry/conversion.h"
#include "platform/path.h"

namespace vorlane::cli {

struct Job {
  std::vector<std::string> inputs;  // as given
  std::vector<PathString> paths;    // the same, as the library takes them
  std::string drawing;
  PathString drawingPath;
  std::string refusal;     // "INPUT: why" the job is not converted at all; empty when it is
  std::string unwritable;  // "DRAWING: why" its drawing cannot be written; empty when it can
  uint64_t bytes = 0;   // the inputs' sizes
};

// What a job gave: the library's messages, the converter's own, its exit
// status and its record for the report.
struct JobOutcome {
  bool converted = false;
  std::string messages;  // for standard output
  std::string notes;     // for standard error
  ConversionRecord record;
};

// The jobs of "options", in the order of the inputs. Returns "" or, when an
// output of the run would replace one of its inputs, another of its outputs
// or a VFK file, why nothing may be converted (cli/clashes.h). A drawing
// that cannot be written is found here and marks its job.
std::string planJobs(const Options& options, std::vector<Job>& jobs);

// Runs the jobs on "threads" threads; "deliver" receives each outcome on the
// calling thread, in the order of the jobs, as soon as it and those before
// it are done, and "tick" is called there every 200 ms while it waits.
// "bytesRead" grows as the files are read.
void runJobs(std::span<const Job> jobs, const Options& options, unsigned threads,
             std::atomic<uint64_t>& bytesRead,
             const std::function<void(size_t, JobOutcome&)>& deliver,
             const std::function<void()>& tick);

// Converts VFK files held in memory, as a job of files of their names
// would be converted (several into one drawing, named options.into): the
// same messages, notes and record, with no file system. The drawing's bytes
// go to "drawing", empty when there are none.
// "progress", when given, is told now and then how many bytes have been read.
JobOutcome convertInMemory(std::span<const InputBuffer> inputs, const Options& options,
                           std::string& drawing,
                           const std::function<void(uint64_t)>& progress = {});

}  // namespace vorlane::cli

#endif  // VORLANE_CLI_BATCH_H_
