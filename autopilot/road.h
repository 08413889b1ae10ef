// The road as the autopilot drives it: the map's loop in world coordinates, measured along
// its length, and the steering that keeps a car on it.
#pragma once

#include <array>
#include <cstddef>

#include "map.h"
#include "world.h"

namespace autopilot {

class Road {
public:
    static constexpr std::size_t kMostPoints = 16;

    Road() = default;
    // The map's road loop, in the world.
    explicit Road(const sim::Map& map);

    bool empty() const { return count_ < 2; }
    float length() const { return total_; }
    // How far along the loop (0 to its length) lies the point of the road nearest to this one.
    float nearest(sim::Vec3 at) const;
    // How far the point lies from the road's middle.
    float distanceFrom(sim::Vec3 at) const;
    float halfWidth() const { return halfWidth_; }
    // The road's point this far along (any distance: the loop wraps).
    sim::Vec3 pointAt(float along) const;
    // From this distance along to the next corner of the loop.
    float toNextCorner(float along) const;

    // The steering that brings the car onto the road and along it: toward the road's point
    // a little ahead of the car's nearest one, further ahead the faster it goes.
    float steerFor(const sim::CarState& car) const;

private:
    float wrap(float along) const;
    float closest(sim::Vec3 at, float& along) const;

    std::array<sim::Vec3, kMostPoints> points_{};
    std::array<float, kMostPoints + 1> starts_{};  // distance along the loop to each point
    std::size_t count_ = 0;
    float total_ = 0.0f;
    float halfWidth_ = 0.0f;
};

}  // namespace autopilot
