// What the converter makes sure of before it writes anything: that no
// output of the run (a drawing, the report) would replace one of its inputs,
// another of its outputs or any VFK file. Files are compared by what they
// are (device and file number), not by how their paths are spelled, so that
// links, "..", and folders reached twice are seen through.
#ifndef VORLANE_CLI_CLASHES_H_
#define VORLANE_CLI_CLASHES_H_

#include <span>
#include <string>

#include "platform/path.h"

namespace vorlane::cli {

// A file the run reads or writes: what it is to the run ("the report", "the
// drawing of plan.vfk"; empty for an input), its name as given and its path
// as the library takes it.
struct RunFile {
  std::string role;
  std::string name;
  PathString path;
};

// Why the outputs may not be written, or "" when they may: an output that is
// an input, two outputs that are one file, or an output that is a VFK file
// already (a file that begins as one, whatever its name).
std::string clashOf(std::span<const RunFile> inputs, std::span<const RunFile> outputs);

}  // namespace vorlane::cli

#endif  // VORLANE_CLI_CLASHES_H_
