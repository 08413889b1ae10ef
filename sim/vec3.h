// Points and directions of the simulated world, in world units (x east, y north, z up), and
// headings in degrees (0 facing +y, growing counter-clockwise: 90 faces -x).
#pragma once

#include <cmath>

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

inline Vec3 forwardOf(float heading) {
    const float radians = heading / kDegreesPerRadian;
    return {-std::sin(radians), std::cos(radians), 0.0f};
}

inline float headingOf(Vec3 direction) {
    const float degrees = std::atan2(-direction.x, direction.y) * kDegreesPerRadian;
    return degrees < 0.0f ? degrees + 360.0f : degrees;
}

}  // namespace sim
