// Getting out of the way of missiles: the autopilot thinks a few seconds ahead with its own
// car's handling and picks how to drive (a speed, and a swerve or none) so that no missile
// in the air meets it on its way or blows up near it.
#pragma once

#include <array>
#include <cstddef>

#include "road.h"

namespace autopilot {

// A missile as the player sees it: where it is, the marker it flies at, and how fast it
// closes on it (units a second of game time).
struct SeenMissile {
    sim::Vec3 position;
    sim::Vec3 aim;
    float speed = 0.0f;
};

struct Threats {
    static constexpr std::size_t kMost = 8;
    std::array<SeenMissile, kMost> missiles{};
    std::size_t count = 0;
    void add(const SeenMissile& missile) {
        if (count < kMost) missiles[count++] = missile;
    }
};

// How to drive for a while: toward a speed, with the steering held at `steer` for the first
// `swerveSeconds` and on the road after.
struct Plan {
    float speed = 0.0f;
    float steer = 0.0f;
    float swerveSeconds = 0.0f;
};

struct Danger {
    float blastRadius = 6.0f;  // a missile's blast harms what lies within it
    float carRadius = 2.6f;    // a missile that passes this near the car strikes it
    float margin = 3.0f;       // kept beyond both
};

// The least room the plan leaves between the car and any missile's path or blast (negative:
// a hit), thinking ahead until the last missile has come down.
float clearance(const Road& road, const sim::Map& map, const sim::CarState& car, const Plan& plan, const Threats& threats,
                const Danger& danger);

// A plan that keeps clear of the threats, as near to cruising on the road as will do; when
// none is clear, the one with the most room. Swerves only when `swerving` allows them.
Plan choosePlan(const Road& road, const sim::Map& map, const sim::CarState& car, const Threats& threats,
                const Danger& danger, float cruiseSpeed, bool swerving = true);

}  // namespace autopilot
