// The first look at a buffer of VFK text: where its line feeds and its
// semicolons are, found together in one pass and kept as bits, so that lines
// and fields are then found by counting bits instead of looking at bytes.
// Bit k of word k / 64 stands for byte k.
#ifndef VORLANE_VFK_STRUCTURE_SCAN_H_
#define VORLANE_VFK_STRUCTURE_SCAN_H_

#include <cstddef>
#include <cstdint>
#include <optional>

namespace vorlane {

// Words of bits needed for "size" bytes.
constexpr size_t structureWords(size_t size) { return (size + 63) / 64; }

// The ways of marking, all giving the same bits: portable C++ eight bytes
// at a time in a 64-bit word, SSE2 (every x86-64 CPU) and AVX2.
enum class ScanKernel { kPortable, kSse2, kAvx2 };

// Whether this build and this CPU can run the kernel.
bool scanKernelSupported(ScanKernel kernel);

// The kernel markStructure uses: the fastest supported one, unless
// forceScanKernel chose another.
ScanKernel activeScanKernel();

// Makes every later markStructure, in every thread, use "kernel" (nullopt:
// the fastest again), so that tests can run each kernel through the whole
// reader. Returns false, changing nothing, when the kernel is not supported.
bool forceScanKernel(std::optional<ScanKernel> kernel);

// Sets the bits of the line feeds of data[0, size) in "lineFeeds" and of its
// semicolons in "semicolons", each structureWords(size) words; bits past
// "size" are zero. Uses the active kernel.
void markStructure(const char* data, size_t size, uint64_t* lineFeeds, uint64_t* semicolons);

// The same with the given kernel. REQUIRES: scanKernelSupported(kernel).
void markStructureWith(ScanKernel kernel, const char* data, size_t size, uint64_t* lineFeeds,
                       uint64_t* semicolons);

}  // namespace vorlane

#endif  // VORLANE_VFK_STRUCTURE_SCAN_H_
