// Runs every structure-scan kernel this CPU supports on the same inputs and
// compares its bits with the bytes themselves: random buffers at every
// alignment, then the files named on the command line (the real exports).
// A plain program, so that the Windows build runs it under Wine as well.
//
//   scan_kernels_check [FILE...]
//
// Prints the kernels run and the one the reader chooses; exit status 1 at
// the first difference.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "vfk/structure_scan.h"

namespace {

using vorlane::ScanKernel;

const char* nameOf(ScanKernel kernel) {
  switch (kernel) {
    case ScanKernel::kPortable:
      return "portable";
    case ScanKernel::kSse2:
      return "sse2";
    case ScanKernel::kAvx2:
      return "avx2";
  }
  return "?";
}

// Whether the kernel marks exactly the line feeds and semicolons of
// data[0, size), and leaves the bits past "size" zero.
bool marksExactly(ScanKernel kernel, const char* data, size_t size) {
  const size_t words = vorlane::structureWords(size);
  std::vector<uint64_t> feeds(words, ~uint64_t{0}), colons(words, ~uint64_t{0});
  vorlane::markStructureWith(kernel, data, size, feeds.data(), colons.data());
  for (size_t i = 0; i < words * 64; ++i) {
    const bool feed = feeds[i / 64] >> (i % 64) & 1;
    const bool colon = colons[i / 64] >> (i % 64) & 1;
    if (feed != (i < size && data[i] == '\n') || colon != (i < size && data[i] == ';')) {
      std::fprintf(stderr, "FAILED: %s marks byte %zu of %zu wrongly\n", nameOf(kernel), i, size);
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<ScanKernel> kernels;
  for (const ScanKernel kernel : {ScanKernel::kPortable, ScanKernel::kSse2, ScanKernel::kAvx2}) {
    if (vorlane::scanKernelSupported(kernel)) kernels.push_back(kernel);
  }
  std::printf("kernels run:");
  for (const ScanKernel kernel : kernels) std::printf(" %s", nameOf(kernel));
  std::printf("; the reader uses %s\n", nameOf(vorlane::activeScanKernel()));

  // Bytes that match, bytes one bit away from matching, and 0x80 and above.
  std::mt19937 random(5);
  std::vector<char> data(70000);
  for (char& c : data) c = "\n;;a\xFF\x0B\x3A\x00\x8A\xBB"[random() % 10];
  for (int round = 0; round < 300; ++round) {
    const size_t offset = random() % 64;
    const size_t size = random() % (data.size() - offset);
    for (const ScanKernel kernel : kernels) {
      if (!marksExactly(kernel, data.data() + offset, size)) return 1;
    }
  }
  for (int i = 1; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.eof() && !in) {
      std::fprintf(stderr, "FAILED: cannot read %s\n", argv[i]);
      return 1;
    }
    // The whole file and an unaligned start, as the reader's buffers have.
    for (const ScanKernel kernel : kernels) {
      if (!marksExactly(kernel, bytes.data(), bytes.size()) ||
          (bytes.size() > 7 && !marksExactly(kernel, bytes.data() + 7, bytes.size() - 7))) {
        std::fprintf(stderr, "  in %s\n", argv[i]);
        return 1;
      }
    }
  }
  std::printf("every kernel marks exactly: %d random buffers, %d files\n", 300, argc - 1);
  return 0;
}
