#include "fuzz/fuzz_input.h"

#include <cstdio>
#include <cstdlib>

namespace vorlane::fuzz {

void prepareFuzzing() {
  if (std::freopen("/dev/null", "w", stdout) == nullptr) fail("standard output cannot be silenced");
}

void fail(const char* rule) {
  std::fprintf(stderr, "vorlane fuzz: %s\n", rule);
  std::abort();
}

}  // namespace vorlane::fuzz
