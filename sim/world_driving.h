// The simulated world's motion: pilots flying their helicopter missions, the player's hands
// on the car it drives, and every free entity moving by its velocity.
#pragma once

#include <cstdint>
#include <vector>

#include "map.h"
#include "vec3.h"
#include "world_entities.h"

namespace sim {

// The player's hands on the vehicle it drives: the steering, from -1 (full left) to 1 (full
// right), and the speed it drives toward. Engaged, the vehicle speeds up, brakes and turns as
// the car's handling allows; released, the vehicle keeps its velocity (as a test sets it).
struct DriverInput {
    bool engaged = false;
    float steer = 0.0f;
    float speed = 0.0f;
};

// How a car answers its driver, in units and seconds of game time. A negative speed is
// reverse gear.
struct CarHandling {
    float topSpeed = 40.0f;
    float reverseSpeed = 10.0f;
    float acceleration = 8.0f;
    float braking = 16.0f;
    float turnRate = 70.0f;       // degrees a second at full steering...
    float fullTurnSpeed = 10.0f;  // ...from this speed on; slower, it turns less
    float radius = 1.5f;          // what it keeps from walls
};
constexpr CarHandling kCarHandling;

// A car on the ground as its driver knows it.
struct CarState {
    Vec3 position;
    float heading = 0.0f;
    float speed = 0.0f;  // forward speed; negative in reverse
};
// The car after this many seconds of game time under the input (ignoring what is in its
// way): the world drives the player's car with it, and a driver can think ahead with it.
CarState driveCar(const CarState& car, const DriverInput& input, float seconds);

// A car that ran into something of the map and stopped.
struct Crash {
    int64_t frame = 0;
    int32_t vehicle = 0;
    Vec3 position;
};

class Driving {
public:
    Driving(const int64_t& frame, const Map& map, Entities& entities);
    Driving(const Driving&) = delete;
    Driving& operator=(const Driving&) = delete;

    // Pilots steer, the player drives, free entities move by their velocity (the player's car
    // stops short of the map), and seated peds follow their vehicle; seconds of game time.
    void step(float seconds);

    // The player's controls of the vehicle it drives (see DriverInput).
    void setDriverInput(DriverInput input) { driverInput_ = input; }
    const std::vector<Crash>& crashes() const { return crashes_; }

    // Pilots.
    void giveHeliMission(int32_t pilot, int32_t vehicle, Vec3 target, float speed);

private:
    void steer(Entity& helicopter, const HeliMission& mission, float seconds);
    void drive(Entity& car, float seconds);
    void move(Entity& entity, float seconds, bool playersCar);

    const int64_t& frame_;
    const Map& map_;
    Entities& entities_;
    DriverInput driverInput_;
    std::vector<Crash> crashes_;
};

}  // namespace sim
