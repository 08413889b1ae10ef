#include "dodge.h"

#include <algorithm>
#include <cmath>

namespace autopilot {

namespace {

constexpr float kStep = 1.0f / 15.0f;  // seconds between the looks ahead
constexpr float kLongestLook = 6.0f;
constexpr float kAfterLook = 1.0f;
constexpr float kSwerveCost = 4.0f;  // a second of swerving weighs as much as 40 units a second of speed
constexpr float kRoadKept = 1.5f;  // a swerve stays this far inside the road's edge

float arrivalTime(const SeenMissile& missile) {
    return missile.speed > 0.0f ? sim::length(missile.aim - missile.position) / missile.speed : 0.0f;
}

}  // namespace

float clearance(const Road& road, const sim::Map& map, const sim::CarState& start, const Plan& plan, const Threats& threats,
                const Danger& danger) {
    float horizon = 0.0f;
    for (std::size_t index = 0; index < threats.count; ++index) horizon = std::max(horizon, arrivalTime(threats.missiles[index]));
    // A little past the last missile, so that a way out that ends in a wall is seen.
    horizon = std::min(horizon, kLongestLook) + kAfterLook;
    float least = 1e30f;
    sim::CarState car = start;
    bool crashed = false;
    // A car already off the road may come back, but go no further out.
    const float roadKept = std::max(road.halfWidth() - kRoadKept, road.distanceFrom(start.position) + 0.5f);
    for (float t = 0.0f;; t += kStep) {
        for (std::size_t index = 0; index < threats.count; ++index) {
            const SeenMissile& missile = threats.missiles[index];
            const float arrival = arrivalTime(missile);
            if (t - kStep >= arrival) continue;  // already down
            if (t >= arrival) {
                least = std::min(least, sim::length(car.position - missile.aim) - danger.blastRadius);
                continue;
            }
            const sim::Vec3 toAim = missile.aim - missile.position;
            const sim::Vec3 flying = missile.position + toAim * (t / arrival);
            least = std::min(least, sim::length(car.position - flying) - danger.carRadius);
        }
        if (t >= horizon) break;
        if (crashed) continue;
        sim::DriverInput input{true, t < plan.swerveSeconds ? plan.steer : road.steerFor(car), plan.speed};
        const sim::CarState next = sim::driveCar(car, input, kStep);
        // A swerve keeps to the road; a car that runs into something stops there, and a stop
        // is no way out.
        if (road.distanceFrom(next.position) > roadKept || map.blocksCar(next.position, sim::kCarHandling.radius)) {
            least = std::min(least, 0.0f);
            car.speed = 0.0f;
            crashed = true;
            continue;
        }
        car = next;
    }
    return least;
}

Plan choosePlan(const Road& road, const sim::Map& map, const sim::CarState& car, const Threats& threats,
                const Danger& danger, float cruiseSpeed, bool swerving) {
    const Plan cruising{cruiseSpeed, 0.0f, 0.0f};
    if (threats.count == 0 || clearance(road, map, car, cruising, threats, danger) >= danger.margin) return cruising;
    const float speeds[] = {cruiseSpeed, 0.0f, 10.0f, 17.0f, 32.0f, sim::kCarHandling.topSpeed};
    const float swerves[][2] = {{0.0f, 0.0f}, {-1.0f, 0.5f}, {1.0f, 0.5f}, {-1.0f, 1.0f}, {1.0f, 1.0f}};
    Plan best = cruising;
    float bestRoom = -1e30f;
    float bestCost = 1e30f;
    for (const auto& swerve : swerves) {
        if (swerve[1] > 0.0f && !swerving) continue;
        for (const float speed : speeds) {
            const Plan plan{speed, swerve[0], swerve[1]};
            const float room = clearance(road, map, car, plan, threats, danger);
            // Among the clear plans the one nearest to cruising on the road; else the roomiest.
            const float cost = std::fabs(speed - cruiseSpeed) / 10.0f + swerve[1] * kSwerveCost;
            const bool clear = room >= danger.margin;
            const bool bestClear = bestRoom >= danger.margin;
            if ((clear && (!bestClear || cost < bestCost)) || (!clear && !bestClear && room > bestRoom)) {
                best = plan;
                bestRoom = room;
                bestCost = cost;
            }
        }
    }
    return best;
}

}  // namespace autopilot
