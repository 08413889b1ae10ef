#include "world_driving.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

// A pilot wants to close on its mission point at the mission's speed, slowing as it nears
// (one second of distance at most), and turns its velocity toward that wish at this rate.
constexpr float kArrivalPerSecond = 1.0f;
constexpr float kResponsePerSecond = 2.0f;
// Below this horizontal speed a helicopter keeps its heading.
constexpr float kTurningSpeed = 0.5f;
// A car stopped by a wall at more than this speed has crashed; slower, it only leans on it.
constexpr float kCrashSpeed = 3.0f;

}  // namespace

Driving::Driving(const int64_t& frame, const Map& map, Entities& entities)
    : frame_(frame), map_(map), entities_(entities) {}

void Driving::step(float dt) {
    for (auto& [handle, entity] : entities_.all()) {
        if (entity.kind != EntityKind::Ped || !entity.mission.active || entity.dead) continue;
        if (entity.vehicle != entity.mission.vehicle || entity.seat != kDriverSeat) continue;
        Entity* helicopter = entities_.find(entity.vehicle);
        if (helicopter != nullptr && !helicopter->wrecked) steer(*helicopter, entity.mission, dt);
    }
    const int32_t playerPed = entities_.playerPed();
    const Entity* me = entities_.find(playerPed);
    Entity* car = me != nullptr && !me->dead ? entities_.find(entities_.vehicleOf(playerPed)) : nullptr;
    if (car != nullptr && (car->wrecked || car->kind != EntityKind::Vehicle)) car = nullptr;
    if (car != nullptr && driverInput_.engaged) drive(*car, dt);
    for (auto& [handle, entity] : entities_.all()) {
        if (entity.kind == EntityKind::Ped && entity.vehicle != 0) continue;
        move(entity, dt, &entity == car);
    }
    for (auto& [handle, entity] : entities_.all()) {
        if (entity.kind == EntityKind::Ped && entity.vehicle != 0) entities_.followVehicle(entity);
    }
}

void Driving::steer(Entity& helicopter, const HeliMission& mission, float seconds) {
    const Vec3 toTarget = mission.target - helicopter.position;
    const float distance = length(toTarget);
    const Model* model = entities_.findModel(helicopter.model);
    const float speed = model != nullptr && model->topSpeed > 0.0f ? std::min(mission.speed, model->topSpeed) : mission.speed;
    Vec3 wanted{};
    if (distance > 0.001f) wanted = toTarget * (std::min(speed, distance * kArrivalPerSecond) / distance);
    const float blend = std::min(1.0f, kResponsePerSecond * seconds);
    helicopter.velocity = helicopter.velocity + (wanted - helicopter.velocity) * blend;
    if (horizontalLength(helicopter.velocity) > kTurningSpeed) helicopter.heading = headingOf(helicopter.velocity);
}

// The forward speed moves toward the driver's at the car's acceleration or braking, and the
// heading turns with the steering: right turns clockwise (toward smaller headings) going
// forward, the other way in reverse.
CarState driveCar(const CarState& car, const DriverInput& input, float seconds) {
    const CarHandling& h = kCarHandling;
    const float wanted = std::clamp(input.speed, -h.reverseSpeed, h.topSpeed);
    CarState next = car;
    next.speed = car.speed < wanted ? std::min(wanted, car.speed + h.acceleration * seconds)
                                    : std::max(wanted, car.speed - h.braking * seconds);
    const float grip = std::clamp(next.speed / h.fullTurnSpeed, -1.0f, 1.0f);
    next.heading = std::fmod(car.heading - std::clamp(input.steer, -1.0f, 1.0f) * h.turnRate * grip * seconds + 360.0f, 360.0f);
    next.position = car.position + forwardOf(next.heading) * (next.speed * seconds);
    return next;
}

void Driving::drive(Entity& car, float seconds) {
    const CarState now{car.position, car.heading, dot(car.velocity, forwardOf(car.heading))};
    const CarState next = driveCar(now, driverInput_, seconds);
    entities_.setHeading(car, next.heading);
    car.velocity = forwardOf(next.heading) * next.speed;
}

// An entity moves by its velocity; the player's car stops short of what the map puts in its way.
void Driving::move(Entity& entity, float seconds, bool playersCar) {
    const Vec3 next = entity.position + entity.velocity * seconds;
    if (playersCar && !map_.empty() && map_.blocksCar(next, kCarHandling.radius)) {
        if (horizontalLength(entity.velocity) > kCrashSpeed) crashes_.push_back({frame_, entity.handle, entity.position});
        entity.velocity = {};
        return;
    }
    entity.position = next;
}

void Driving::giveHeliMission(int32_t pilot, int32_t vehicle, Vec3 target, float speed) {
    Entity* ped = entities_.find(pilot);
    if (ped == nullptr || ped->kind != EntityKind::Ped) return;
    ped->mission = {true, vehicle, target, speed, frame_};
}

}  // namespace sim
