// Deterministic pseudo-random numbers (splitmix64). Every helper uses only
// integer arithmetic and exact conversions, so the same seed draws the same
// values with every compiler and standard library.
#ifndef VORLANE_TOOLS_VFK_GENERATOR_RANDOM_H_
#define VORLANE_TOOLS_VFK_GENERATOR_RANDOM_H_

#include <array>
#include <cstddef>
#include <cstdint>

namespace vfkgen {

class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}

  // A generator for one purpose: what it draws does not depend on how much
  // the generators for other purposes drew.
  static Rng forPurpose(uint64_t seed, uint64_t purpose) {
    Rng mixer(seed ^ (purpose * 0xD1B54A32D192ED03ULL));
    mixer.next();
    return Rng(mixer.next());
  }

  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

  // Uniform in [0, n) for n > 0; the modulo bias is far below anything visible.
  uint64_t below(uint64_t n) { return next() % n; }

  // Uniform in [lo, hi], both included.
  int range(int lo, int hi) {
    return lo + static_cast<int>(below(static_cast<uint64_t>(hi - lo) + 1));
  }
  int64_t range64(int64_t lo, int64_t hi) {
    return lo + static_cast<int64_t>(below(static_cast<uint64_t>(hi - lo) + 1));
  }

  // Uniform in [0, 1), in steps of 2^-53.
  double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
  double between(double lo, double hi) { return lo + (hi - lo) * unit(); }
  bool chance(double probability) { return unit() < probability; }

  // An index drawn with the given relative weights.
  template <size_t N>
  int weighted(const std::array<int, N>& weights) {
    int total = 0;
    for (const int w : weights) total += w;
    int pick = range(0, total - 1);
    for (size_t i = 0; i < N; ++i) {
      if (pick < weights[i]) return static_cast<int>(i);
      pick -= weights[i];
    }
    return static_cast<int>(N) - 1;
  }

 private:
  uint64_t state_;
};

}  // namespace vfkgen

#endif  // VORLANE_TOOLS_VFK_GENERATOR_RANDOM_H_
