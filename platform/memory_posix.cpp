// Large blocks mapped with mmap and grown with mremap where the system has
// it (Linux); smaller ones from malloc.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/memory.h"

namespace vorlane {

namespace {

// From here on a block is mapped: large enough that the page rounding and
// the system call cost nothing next to what is stored in it.
constexpr size_t kMappedFrom = size_t{1} << 20;

size_t pageRounded(size_t bytes) {
  static const auto page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
  return (bytes + page - 1) / page * page;
}

}  // namespace

void* growBlock(void* block, size_t oldBytes, size_t newBytes) {
  if (newBytes < kMappedFrom) return std::realloc(block, newBytes);
#ifdef MREMAP_MAYMOVE
  if (oldBytes >= kMappedFrom) {
    void* moved = ::mremap(block, pageRounded(oldBytes), pageRounded(newBytes), MREMAP_MAYMOVE);
    return moved == MAP_FAILED ? nullptr : moved;
  }
#endif
  void* mapped = zeroedBlock(newBytes);
  if (mapped == nullptr) return nullptr;
  if (oldBytes > 0) std::memcpy(mapped, block, oldBytes);
  freeBlock(block, oldBytes);
  return mapped;
}

void* zeroedBlock(size_t bytes) {
  if (bytes < kMappedFrom) return std::calloc(1, bytes);
  void* mapped = ::mmap(nullptr, pageRounded(bytes), PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);  // mapped pages read as zeros
  return mapped == MAP_FAILED ? nullptr : mapped;
}

void releasePages(void* block, size_t blockBytes, size_t from, size_t to) {
  if (blockBytes < kMappedFrom) return;  // the C library's
  const size_t page = pageRounded(1);
  const size_t first = pageRounded(from);
  const size_t end = to / page * page;
  if (first < end) ::madvise(static_cast<char*>(block) + first, end - first, MADV_DONTNEED);
}

void freeBlock(void* block, size_t bytes) {
  if (block == nullptr) return;
  if (bytes >= kMappedFrom) {
    ::munmap(block, pageRounded(bytes));
  } else {
    std::free(block);
  }
}

}  // namespace vorlane
