// The fuzzers' input: each one is written as a VFK file into a folder of
// the fuzzer process's own.
#ifndef VORLANE_FUZZ_FUZZ_INPUT_H_
#define VORLANE_FUZZ_FUZZ_INPUT_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/path.h"
#include "vfk/point_lists.h"

namespace vorlane::fuzz {

// The reader's bounds while fuzzing: a thousandth of the product's, so that
// a few bytes that ask for huge point lists cost a thousandth of the time,
// and the paths where a bound is reached are found sooner.
constexpr PointBudget kFuzzLimits{
    .maxOrdinal = 1000, .placeholdersLeft = 1000, .lineEntriesLeft = 1000};

// Creates the folder and silences standard output, where the library's
// warnings would otherwise flood the fuzzer's log.
void prepareFuzzing();

// Writes the bytes to the input file and returns the file's path.
PathString writeInput(const uint8_t* data, size_t size);

// The drawing the input file gives, with the extension (".svg" or ".dxf");
// "" when there is none.
std::string readDrawing(std::string_view extension);

// Reports a broken rule and aborts, so that the fuzzer keeps the input.
[[noreturn]] void fail(const char* rule);

}  // namespace vorlane::fuzz

#endif  // VORLANE_FUZZ_FUZZ_INPUT_H_
