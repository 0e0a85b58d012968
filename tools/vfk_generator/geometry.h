// Small plane geometry on file coordinates. Only the basic operations and
// square root are used, which IEEE 754 rounds the same way everywhere, so
// results do not depend on the platform's maths library.
#ifndef VORLANE_TOOLS_VFK_GENERATOR_GEOMETRY_H_
#define VORLANE_TOOLS_VFK_GENERATOR_GEOMETRY_H_

#include <array>
#include <cmath>
#include <cstdint>

namespace vfkgen {

// S-JTSK coordinates as the file writes them (positive), in centimetres.
struct Coord {
  int64_t y = 0;  // SOURADNICE_Y
  int64_t x = 0;  // SOURADNICE_X
};

// A quadrilateral as a ring: corners at (0,0), (1,0), (1,1), (0,1).
using Quad = std::array<Coord, 4>;

// The point at (s, t) of a quadrilateral, interpolated from its corners.
inline Coord quadPoint(const Quad& q, double s, double t) {
  auto mix = [s, t](int64_t a, int64_t b, int64_t c, int64_t d) {
    const double value = (1 - s) * (1 - t) * static_cast<double>(a) +
                         s * (1 - t) * static_cast<double>(b) + s * t * static_cast<double>(c) +
                         (1 - s) * t * static_cast<double>(d);
    return static_cast<int64_t>(std::llround(value));
  };
  return Coord{mix(q[0].y, q[1].y, q[2].y, q[3].y), mix(q[0].x, q[1].x, q[2].x, q[3].x)};
}

// The part [s0, s1] x [t0, t1] of a quadrilateral.
inline Quad insetQuad(const Quad& q, double s0, double s1, double t0, double t1) {
  return {quadPoint(q, s0, t0), quadPoint(q, s1, t0), quadPoint(q, s1, t1), quadPoint(q, s0, t1)};
}

// Area in square centimetres.
inline int64_t quadArea(const Quad& q) {
  int64_t twice = 0;
  for (size_t i = 0; i < 4; ++i) {
    const Coord& a = q[i];
    const Coord& b = q[(i + 1) % 4];
    twice += (a.y - q[0].y) * (b.x - q[0].x) - (b.y - q[0].y) * (a.x - q[0].x);
  }
  return (twice < 0 ? -twice : twice) / 2;
}

// The angle of (dx, dy) in degrees, in (-180, 180]: two halvings of the
// angle and a short series.
inline double atan2Degrees(double dy, double dx) {
  constexpr double kPi = 3.14159265358979323846;
  const double ax = dx < 0 ? -dx : dx;
  const double ay = dy < 0 ? -dy : dy;
  if (ax == 0 && ay == 0) return 0;
  const bool steep = ay > ax;
  double z = steep ? ax / ay : ay / ax;  // tan of an angle in [0, 45] degrees
  z = z / (1.0 + std::sqrt(1.0 + z * z));
  z = z / (1.0 + std::sqrt(1.0 + z * z));  // a quarter of that angle
  double sum = 0;
  double power = z;
  for (int k = 0; k < 12; ++k) {
    sum += (k % 2 == 0 ? power : -power) / (2 * k + 1);
    power *= z * z;
  }
  double angle = 4 * sum;
  if (steep) angle = kPi / 2 - angle;
  if (dx < 0) angle = kPi - angle;
  if (dy < 0) angle = -angle;
  return angle * 180 / kPi;
}

}  // namespace vfkgen

#endif  // VORLANE_TOOLS_VFK_GENERATOR_GEOMETRY_H_
