// Points and directions of the simulated world, in world units (x east, y north, z up), and
// headings in degrees (0 facing +y, growing counter-clockwise: 90 faces -x).
#pragma once

#include <cmath>
#include <initializer_list>

namespace sim {

struct Vec3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline float length(Vec3 v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
inline float horizontalLength(Vec3 v) { return std::sqrt(v.x * v.x + v.y * v.y); }
inline float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

constexpr float kDegreesPerRadian = 57.29577951308232f;

// Sine, cosine and the arc tangent by our own arithmetic, in double precision and rounded
// once: the C runtimes' functions differ in the last bit (glibc's and mingw-w64's do), and the
// host must move alike on every platform, so that a run on Linux and the same run under Wine
// stay the same frame for frame.
struct SineCosine {
    float sine, cosine;
};

inline SineCosine sineCosine(float radians) {
    if (!std::isfinite(radians)) return {std::sin(radians), std::cos(radians)};
    constexpr double kHalfPi = 1.5707963267948966;
    // Reduced to [-pi/4, pi/4] around a quarter turn, where the series converge within a
    // double's precision.
    const double quarters = std::floor(static_cast<double>(radians) / kHalfPi + 0.5);
    const double r = static_cast<double>(radians) - quarters * kHalfPi;
    const double r2 = r * r;
    double sine = -1.0 / 1307674368000.0;  // the Taylor series up to r^15 and r^16
    for (const double term : {1.0 / 6227020800.0, -1.0 / 39916800.0, 1.0 / 362880.0, -1.0 / 5040.0, 1.0 / 120.0, -1.0 / 6.0, 1.0}) {
        sine = sine * r2 + term;
    }
    sine *= r;
    double cosine = 1.0 / 20922789888000.0;
    for (const double term : {-1.0 / 87178291200.0, 1.0 / 479001600.0, -1.0 / 3628800.0, 1.0 / 40320.0, -1.0 / 720.0,
                              1.0 / 24.0, -1.0 / 2.0, 1.0}) {
        cosine = cosine * r2 + term;
    }
    const double quarter = quarters - 4.0 * std::floor(quarters / 4.0);
    const double s = quarter == 0.0 ? sine : quarter == 1.0 ? cosine : quarter == 2.0 ? -sine : -cosine;
    const double c = quarter == 0.0 ? cosine : quarter == 1.0 ? -sine : quarter == 2.0 ? -cosine : sine;
    return {static_cast<float>(s), static_cast<float>(c)};
}

// The angle of (x, y) from the x axis, -pi to pi, as atan2(y, x).
inline float arcTangent(float y, float x) {
    if (!std::isfinite(x) || !std::isfinite(y)) return std::atan2(y, x);
    constexpr double kPi = 3.141592653589793, kSqrt3 = 1.7320508075688772;
    const double a = std::fabs(static_cast<double>(y)), b = std::fabs(static_cast<double>(x));
    if (a == 0.0 && b == 0.0) return std::atan2(y, x);
    const bool steep = a > b;
    double t = steep ? b / a : a / b;  // 0 to 1
    // Past tan(pi/12), turned back by pi/6, so that the series converges fast.
    const bool turned = t > 0.2679491924311227;
    if (turned) t = (t * kSqrt3 - 1.0) / (t + kSqrt3);
    const double t2 = t * t;
    double angle = 1.0 / 27.0;
    for (int power = 25; power >= 1; power -= 2) angle = angle * -t2 + 1.0 / power;
    angle *= t;
    if (turned) angle += kPi / 6.0;
    if (steep) angle = kPi / 2.0 - angle;
    if (x < 0.0f) angle = kPi - angle;
    return static_cast<float>(std::signbit(y) ? -angle : angle);
}

inline Vec3 forwardOf(float heading) {
    const SineCosine turn = sineCosine(heading / kDegreesPerRadian);
    return {-turn.sine, turn.cosine, 0.0f};
}

inline float headingOf(Vec3 direction) {
    const float degrees = arcTangent(-direction.x, direction.y) * kDegreesPerRadian;
    return degrees < 0.0f ? degrees + 360.0f : degrees;
}

}  // namespace sim
