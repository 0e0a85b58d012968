// The first look at a buffer of VFK text: where its line feeds and its
// semicolons are, found together in one pass and kept as bits, so that lines
// and fields are then found by counting bits instead of looking at bytes.
// Bit k of word k / 64 stands for byte k.
#ifndef VORLANE_VFK_STRUCTURE_SCAN_H_
#define VORLANE_VFK_STRUCTURE_SCAN_H_

#include <cstddef>
#include <cstdint>

namespace vorlane {

// Words of bits needed for "size" bytes.
constexpr size_t structureWords(size_t size) { return (size + 63) / 64; }

// Sets the bits of the line feeds of data[0, size) in "lineFeeds" and of its
// semicolons in "semicolons", each structureWords(size) words; bits past
// "size" are zero. Uses SSE2 where the CPU has it, else markStructurePortable.
void markStructure(const char* data, size_t size, uint64_t* lineFeeds, uint64_t* semicolons);

// The same in portable C++, eight bytes at a time in a 64-bit word.
void markStructurePortable(const char* data, size_t size, uint64_t* lineFeeds,
                           uint64_t* semicolons);

}  // namespace vorlane

#endif  // VORLANE_VFK_STRUCTURE_SCAN_H_
