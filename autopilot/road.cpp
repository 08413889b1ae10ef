#include "road.h"

#include <algorithm>
#include <cmath>

namespace autopilot {

namespace {

constexpr float kLookAheadBase = 10.0f;
constexpr float kLookAheadPerSpeed = 0.6f;  // seconds
constexpr float kFullSteerDegrees = 25.0f;  // a heading this far off steers fully

// The signed difference of two headings, -180 to 180.
float headingDifference(float to, float from) {
    float difference = std::fmod(to - from, 360.0f);
    if (difference > 180.0f) difference -= 360.0f;
    if (difference < -180.0f) difference += 360.0f;
    return difference;
}

}  // namespace

Road::Road(const sim::Map& map) : halfWidth_(map.roadHalfWidth) {
    for (const sim::Vec3& local : map.road) {
        if (count_ == kMostPoints) break;
        points_[count_++] = map.toWorld(local);
    }
    for (std::size_t index = 0; index < count_; ++index) {
        starts_[index] = total_;
        total_ += sim::horizontalLength(points_[(index + 1) % count_] - points_[index]);
    }
    starts_[count_] = total_;
}

float Road::wrap(float along) const {
    const float wrapped = std::fmod(along, total_);
    return wrapped < 0.0f ? wrapped + total_ : wrapped;
}

float Road::nearest(sim::Vec3 at) const {
    float along = 0.0f;
    closest(at, along);
    return along;
}

float Road::distanceFrom(sim::Vec3 at) const {
    float along = 0.0f;
    return closest(at, along);
}

float Road::closest(sim::Vec3 at, float& along) const {
    float bestSquared = 1e30f;
    for (std::size_t index = 0; index < count_; ++index) {
        const sim::Vec3 a = points_[index];
        const sim::Vec3 leg = points_[(index + 1) % count_] - a;
        const float legSquared = leg.x * leg.x + leg.y * leg.y;
        const float t = legSquared > 0.0f ? std::clamp(((at.x - a.x) * leg.x + (at.y - a.y) * leg.y) / legSquared, 0.0f, 1.0f) : 0.0f;
        const float dx = a.x + leg.x * t - at.x, dy = a.y + leg.y * t - at.y;
        const float squared = dx * dx + dy * dy;
        if (squared < bestSquared) {
            bestSquared = squared;
            along = starts_[index] + (starts_[index + 1] - starts_[index]) * t;
        }
    }
    return std::sqrt(bestSquared);
}

sim::Vec3 Road::pointAt(float along) const {
    const float at = wrap(along);
    std::size_t index = 0;
    while (index + 1 < count_ && starts_[index + 1] <= at) ++index;
    const float legLength = starts_[index + 1] - starts_[index];
    const float t = legLength > 0.0f ? (at - starts_[index]) / legLength : 0.0f;
    const sim::Vec3 a = points_[index];
    return a + (points_[(index + 1) % count_] - a) * t;
}

float Road::toNextCorner(float along) const {
    const float at = wrap(along);
    std::size_t index = 0;
    while (index + 1 < count_ && starts_[index + 1] <= at) ++index;
    return starts_[index + 1] - at;
}

float Road::steerFor(const sim::CarState& car) const {
    if (empty()) return 0.0f;
    const float ahead = kLookAheadBase + kLookAheadPerSpeed * std::fabs(car.speed);
    const sim::Vec3 target = pointAt(nearest(car.position) + ahead);
    const float wanted = sim::headingOf(target - car.position);
    // A heading to the left (larger) wants a left turn: negative steering.
    return std::clamp(-headingDifference(wanted, car.heading) / kFullSteerDegrees, -1.0f, 1.0f);
}

}  // namespace autopilot
