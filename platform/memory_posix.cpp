// Large blocks mapped with mmap and grown with mremap where the system has
// it (Linux); smaller ones from malloc.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/memory.h"

namespace vorlane {

namespace {

// From here on a block is mapped: it grows without being copied into fresh
// pages, and its pages are readied in stretches. Large enough that the page
// rounding and the system calls cost little next to what is stored in it.
// A browser's memory is one heap, which mmap only imitates and where mremap
// always fails: there the C library serves every block.
#ifdef __EMSCRIPTEN__
constexpr size_t kMappedFrom = SIZE_MAX;
#else
constexpr size_t kMappedFrom = size_t{64} << 10;
#endif

// ThreadSanitizer is not told where mremap moves pages to: it would take
// the accesses of two threads that had the same address one after the
// other for a race. Built with it, a block grows by being copied.
#if defined(__SANITIZE_THREAD__)
#define VORLANE_GROW_BY_COPYING
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VORLANE_GROW_BY_COPYING
#endif
#endif

// How far readyForWriting readies past what it is asked for, so that a
// growing array asks once for every 8 pages; more would raise the peak.
constexpr size_t kReadyAhead = size_t{32} << 10;

size_t pageRounded(size_t bytes) {
  static const auto page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
  return (bytes + page - 1) / page * page;
}

}  // namespace

void* growBlock(void* block, size_t oldBytes, size_t newBytes) {
  if (newBytes < kMappedFrom) return std::realloc(block, newBytes);
#if defined(MREMAP_MAYMOVE) && !defined(VORLANE_GROW_BY_COPYING)
  if (oldBytes >= kMappedFrom) {
    void* moved = ::mremap(block, pageRounded(oldBytes), pageRounded(newBytes), MREMAP_MAYMOVE);
    return moved == MAP_FAILED ? nullptr : moved;
  }
#endif
  void* mapped = zeroedBlock(newBytes);
  if (mapped == nullptr) return nullptr;
  if (oldBytes > 0) {
    readyForWriting(mapped, newBytes, 0, oldBytes);
    std::memcpy(mapped, block, oldBytes);
  }
  freeBlock(block, oldBytes);
  return mapped;
}

void* zeroedBlock(size_t bytes) {
  if (bytes < kMappedFrom) return std::calloc(1, bytes);
  void* mapped = ::mmap(nullptr, pageRounded(bytes), PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);  // mapped pages read as zeros
  return mapped == MAP_FAILED ? nullptr : mapped;
}

size_t readyForWriting(void* block, size_t blockBytes, size_t from, size_t to) {
  if (blockBytes < kMappedFrom) return blockBytes;  // the C library's
  const size_t end = std::min(blockBytes, pageRounded(to) + kReadyAhead);
#ifdef MADV_POPULATE_WRITE
  // Where the system cannot (before Linux 5.14), the pages fault as before.
  const size_t first = from / pageRounded(1) * pageRounded(1);
  ::madvise(static_cast<char*>(block) + first, pageRounded(end) - first, MADV_POPULATE_WRITE);
#else
  (void)from;
#endif
  return end;
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
