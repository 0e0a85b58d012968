// On Windows the C runtime's heap serves every block.
#include <cstdlib>

#include "platform/memory.h"

namespace vorlane {

void* growBlock(void* block, size_t, size_t newBytes) { return std::realloc(block, newBytes); }

void* zeroedBlock(size_t bytes) { return std::calloc(1, bytes); }

size_t readyForWriting(void*, size_t blockBytes, size_t, size_t) { return blockBytes; }

void releasePages(void*, size_t, size_t, size_t) {}  // the heap's pages stay

void freeBlock(void* block, size_t) { std::free(block); }

}  // namespace vorlane
