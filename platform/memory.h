// Memory for the model's large arrays. Where the system allows it, large
// blocks are mapped from it directly: they grow by moving pages rather than
// copying them, go back to the system when freed, and leave the C library's
// heap, which the calling application shares, as it was.
#ifndef VORLANE_PLATFORM_MEMORY_H_
#define VORLANE_PLATFORM_MEMORY_H_

#include <cstddef>

namespace vorlane {

// Grows "block", of "oldBytes", to "newBytes", keeping its contents, as
// realloc does; a null block of 0 bytes is a new one. Returns null when
// there is no memory, with "block" still valid.
// REQUIRES: newBytes > oldBytes; "block" came from growBlock with oldBytes.
void* growBlock(void* block, size_t oldBytes, size_t newBytes);

// A new block of "bytes" zero bytes; null when there is no memory. The
// system may leave the pages of a large one untouched until they are used.
void* zeroedBlock(size_t bytes);

// Asks the system at once for the pages of bytes [from, to) of a block of
// "blockBytes" from growBlock or zeroedBlock, and for some bytes after them,
// ahead of writing there: one call instead of a page fault per page, which a
// virtual machine makes costly. Returns the end of the bytes readied, at
// least "to" and at most "blockBytes"; a block whose pages the system does
// not give one by one is ready whole. REQUIRES: from <= to <= blockBytes.
size_t readyForWriting(void* block, size_t blockBytes, size_t from, size_t to);

// Lets the system take back the whole pages within bytes [from, to) of a
// block of "blockBytes" from growBlock or zeroedBlock, where it can: for a
// block read a last time, before it is freed. What those bytes hold
// afterwards is unspecified.
void releasePages(void* block, size_t blockBytes, size_t from, size_t to);

// Frees a block of "bytes" from growBlock or zeroedBlock; null is ignored.
void freeBlock(void* block, size_t bytes);

}  // namespace vorlane

#endif  // VORLANE_PLATFORM_MEMORY_H_
