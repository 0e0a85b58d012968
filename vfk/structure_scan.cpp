#include "vfk/structure_scan.h"

#include <atomic>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define VORLANE_HAVE_SSE2 1
// Where the compiler can build a function for AVX2 beside the rest, it is
// used on CPUs that have it.
#if defined(__GNUC__) && !defined(__AVX2__)
#include <immintrin.h>
#define VORLANE_HAVE_AVX2_DISPATCH 1
#endif
#endif

namespace vorlane {

namespace {

constexpr uint64_t kLowBits = 0x7F7F7F7F7F7F7F7Fu;
constexpr uint64_t kHighBits = 0x8080808080808080u;

// One bit per byte of "word" (little-endian byte order): set where the byte
// equals "c". The high bit of each byte of t is clear exactly for the zero
// bytes of word ^ c, with no borrow between bytes; the multiplication then
// gathers the eight high bits into the top byte.
uint64_t bytesEqualTo(uint64_t word, unsigned char c) {
  const uint64_t x = word ^ (0x0101010101010101u * c);
  const uint64_t t = ((x & kLowBits) + kLowBits) | x;
  const uint64_t zeros = (~t & kHighBits) >> 7;
  return (zeros * 0x0102040810204080u) >> 56;
}

// The bytes of data[0, size) as little-endian words, zero past the end.
uint64_t loadWord(const char* data, size_t size) {
  unsigned char bytes[8] = {};
  std::memcpy(bytes, data, size < 8 ? size : 8);
  uint64_t word = 0;
  for (int i = 7; i >= 0; --i) word = word << 8 | bytes[i];
  return word;
}

// One 64-byte block, or the last, shorter one.
void markBlockPortable(const char* data, size_t size, uint64_t& lineFeeds, uint64_t& semicolons) {
  lineFeeds = 0;
  semicolons = 0;
  for (size_t offset = 0; offset < size; offset += 8) {
    const size_t length = size - offset < 8 ? size - offset : 8;
    const uint64_t word = loadWord(data + offset, length);
    // A zero byte past the end matches neither character.
    lineFeeds |= bytesEqualTo(word, '\n') << offset;
    semicolons |= bytesEqualTo(word, ';') << offset;
  }
}

// The whole of data[0, size) a block at a time; returns how many bytes it
// marked, which is all of them.
size_t markBlocksPortable(const char* data, size_t size, uint64_t* lineFeeds,
                          uint64_t* semicolons) {
  for (size_t block = 0; block * 64 < size; ++block) {
    const size_t offset = block * 64;
    markBlockPortable(data + offset, size - offset < 64 ? size - offset : 64, lineFeeds[block],
                      semicolons[block]);
  }
  return size;
}

#ifdef VORLANE_HAVE_SSE2

// The 64-byte blocks of data[0, size) with SSE2, which every x86-64 CPU has;
// returns how many bytes it marked.
size_t markBlocksSse2(const char* data, size_t size, uint64_t* lineFeeds, uint64_t* semicolons) {
  const __m128i lineFeed = _mm_set1_epi8('\n');
  const __m128i semicolon = _mm_set1_epi8(';');
  size_t block = 0;
  for (; (block + 1) * 64 <= size; ++block) {
    uint64_t feeds = 0;
    uint64_t colons = 0;
    for (int part = 0; part < 4; ++part) {
      const __m128i bytes =
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + block * 64 + part * 16));
      const auto feedBits =
          static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lineFeed)));
      const auto colonBits =
          static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, semicolon)));
      feeds |= uint64_t{feedBits} << (part * 16);
      colons |= uint64_t{colonBits} << (part * 16);
    }
    lineFeeds[block] = feeds;
    semicolons[block] = colons;
  }
  return block * 64;
}

#ifdef VORLANE_HAVE_AVX2_DISPATCH

// The same with AVX2, 32 bytes at a time, on CPUs that have it.
__attribute__((target("avx2"))) size_t markBlocksAvx2(const char* data, size_t size,
                                                      uint64_t* lineFeeds, uint64_t* semicolons) {
  const __m256i lineFeed = _mm256_set1_epi8('\n');
  const __m256i semicolon = _mm256_set1_epi8(';');
  size_t block = 0;
  for (; (block + 1) * 64 <= size; ++block) {
    const char* at = data + block * 64;
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 32));
    const auto lowFeeds =
        static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(low, lineFeed)));
    const auto highFeeds =
        static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, lineFeed)));
    const auto lowColons =
        static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(low, semicolon)));
    const auto highColons =
        static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, semicolon)));
    lineFeeds[block] = uint64_t{lowFeeds} | uint64_t{highFeeds} << 32;
    semicolons[block] = uint64_t{lowColons} | uint64_t{highColons} << 32;
  }
  return block * 64;
}
#endif  // VORLANE_HAVE_AVX2_DISPATCH
#endif  // VORLANE_HAVE_SSE2

// The kernel chosen by forceScanKernel, or -1 for the fastest.
std::atomic<int> forcedKernel{-1};

ScanKernel fastestKernel() {
#ifdef VORLANE_HAVE_AVX2_DISPATCH
  static const bool haveAvx2 = __builtin_cpu_supports("avx2");
  if (haveAvx2) return ScanKernel::kAvx2;
#endif
#ifdef VORLANE_HAVE_SSE2
  return ScanKernel::kSse2;
#else
  return ScanKernel::kPortable;
#endif
}

}  // namespace

bool scanKernelSupported(ScanKernel kernel) {
  switch (kernel) {
    case ScanKernel::kPortable:
      return true;
    case ScanKernel::kSse2:
#ifdef VORLANE_HAVE_SSE2
      return true;
#else
      return false;
#endif
    case ScanKernel::kAvx2:
      return fastestKernel() == ScanKernel::kAvx2;
  }
  return false;
}

ScanKernel activeScanKernel() {
  const int forced = forcedKernel.load(std::memory_order_relaxed);
  return forced < 0 ? fastestKernel() : static_cast<ScanKernel>(forced);
}

bool forceScanKernel(std::optional<ScanKernel> kernel) {
  if (kernel && !scanKernelSupported(*kernel)) return false;
  forcedKernel.store(kernel ? static_cast<int>(*kernel) : -1, std::memory_order_relaxed);
  return true;
}

void markStructureWith(ScanKernel kernel, const char* data, size_t size, uint64_t* lineFeeds,
                       uint64_t* semicolons) {
  size_t marked = 0;
  switch (kernel) {
#ifdef VORLANE_HAVE_AVX2_DISPATCH
    case ScanKernel::kAvx2:
      marked = markBlocksAvx2(data, size, lineFeeds, semicolons);
      break;
#endif
#ifdef VORLANE_HAVE_SSE2
    case ScanKernel::kSse2:
      marked = markBlocksSse2(data, size, lineFeeds, semicolons);
      break;
#endif
    default:
      marked = markBlocksPortable(data, size, lineFeeds, semicolons);
      break;
  }
  // The SIMD kernels leave the last, shorter block.
  if (marked < size) {
    markBlockPortable(data + marked, size - marked, lineFeeds[marked / 64],
                      semicolons[marked / 64]);
  }
}

void markStructure(const char* data, size_t size, uint64_t* lineFeeds, uint64_t* semicolons) {
  markStructureWith(activeScanKernel(), data, size, lineFeeds, semicolons);
}

}  // namespace vorlane
