// What the fuzzers share: the reader's bounds while fuzzing, a quiet
// standard output, and how a broken rule is reported. Inputs are converted
// where they lie in memory, through the entry the browser build uses too.
#ifndef VORLANE_FUZZ_FUZZ_INPUT_H_
#define VORLANE_FUZZ_FUZZ_INPUT_H_

#include "vfk/point_lists.h"

namespace vorlane::fuzz {

// The reader's bounds while fuzzing: a thousandth of the product's, so that
// a few bytes that ask for huge point lists cost a thousandth of the time,
// and the paths where a bound is reached are found sooner.
constexpr PointBudget kFuzzLimits{
    .maxOrdinal = 1000, .placeholdersLeft = 1000, .lineEntriesLeft = 1000};

// Silences standard output, where the library's warnings would otherwise
// flood the fuzzer's log.
void prepareFuzzing();

// Reports a broken rule and aborts, so that the fuzzer keeps the input.
[[noreturn]] void fail(const char* rule);

}  // namespace vorlane::fuzz

#endif  // VORLANE_FUZZ_FUZZ_INPUT_H_
