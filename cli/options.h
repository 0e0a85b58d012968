// The converter's command line.
#ifndef VORLANE_CLI_OPTIONS_H_
#define VORLANE_CLI_OPTIONS_H_

#include <string>
#include <string_view>
#include <vector>

#include "model/drawing_options.h"

namespace vorlane::cli {

// What --help prints; the man page says the same.
extern const std::string_view kUsage;

struct Options {
  DrawingOptions drawing;
  std::string into;       // --into: one drawing of every input
  std::string outputDir;  // -o: drawings in this folder
  std::string report;     // --report: the run's report, in JSON
  unsigned jobs = 0;      // -j: files converted at once; 0 for one per core
  bool quiet = false;     // --quiet: no progress line
  std::vector<std::string> inputs;
};

enum class Parsed {
  kRun,         // convert the inputs
  kDone,        // --help or --version was answered
  kUsageError,  // "message" says what is wrong
};

struct ParseResult {
  Parsed outcome = Parsed::kRun;
  Options options;
  std::string message;
};

ParseResult parseArguments(int argc, char** argv);

}  // namespace vorlane::cli

#endif  // VORLANE_CLI_OPTIONS_H_
