#include "world.h"

#include <algorithm>
#include <stdexcept>

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

constexpr std::string_view kPlayerModel = "SIM_PLAYER";
constexpr std::string_view kCarModel = "SIM_CAR";
constexpr std::string_view kRocket = "WEAPON_VEHICLE_ROCKET";

}  // namespace

uint32_t hashOfName(std::string_view name) {
    uint32_t hash = 0;
    for (const char c : name) {
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        hash += static_cast<uint8_t>(lower);
        hash += hash << 10;
        hash ^= hash >> 6;
    }
    hash += hash << 3;
    hash ^= hash >> 11;
    hash += hash << 15;
    return hash;
}

World::World() {
    // The models of the mission, and the player's own.
    // The helicopters fly at their own top speeds, whatever a mission asks.
    addModel("BUZZARD", EntityKind::Vehicle, {-1.6f, -6.5f, -1.8f}, {1.6f, 6.5f, 1.8f}).topSpeed = 45.0f;
    addModel("ANNIHILATOR", EntityKind::Vehicle, {-2.2f, -8.2f, -2.3f}, {2.2f, 8.2f, 2.3f}).topSpeed = 48.0f;
    addModel("VALKYRIE", EntityKind::Vehicle, {-2.4f, -9.1f, -2.5f}, {2.4f, 9.1f, 2.5f}).topSpeed = 46.0f;
    addModel("SAVAGE", EntityKind::Vehicle, {-2.6f, -9.8f, -2.6f}, {2.6f, 9.8f, 2.6f}).topSpeed = 52.0f;
    addModel("s_m_y_swat_01", EntityKind::Ped, {-0.4f, -0.3f, -1.0f}, {0.4f, 0.3f, 1.0f});
    addModel(kCarModel, EntityKind::Vehicle, {-1.0f, -2.3f, -0.7f}, {1.0f, 2.3f, 0.7f});
    addModel(kPlayerModel, EntityKind::Ped, {-0.4f, -0.3f, -1.0f}, {0.4f, 0.3f, 1.0f});
    playerPed_ = spawn(EntityKind::Ped, Vec3{}, hashOfName(kPlayerModel)).handle;
    weapons_[hashOfName(kRocket)].name = kRocket;
}

void World::step(float seconds) {
    const float dt = seconds * timeScale_;
    for (auto& [handle, entity] : entities_) {
        if (entity.kind != EntityKind::Ped || !entity.mission.active || entity.dead) continue;
        if (entity.vehicle != entity.mission.vehicle || entity.seat != kDriverSeat) continue;
        Entity* helicopter = find(entity.vehicle);
        if (helicopter != nullptr && !helicopter->wrecked) steer(*helicopter, entity.mission, dt);
    }
    const Entity* me = find(playerPed_);
    Entity* car = me != nullptr && !me->dead ? find(vehicleOf(playerPed_)) : nullptr;
    if (car != nullptr && (car->wrecked || car->kind != EntityKind::Vehicle)) car = nullptr;
    if (car != nullptr && driverInput_.engaged) drive(*car, dt);
    for (auto& [handle, entity] : entities_) {
        if (entity.kind == EntityKind::Ped && entity.vehicle != 0) continue;
        move(entity, dt, &entity == car);
    }
    for (auto& [handle, entity] : entities_) {
        if (entity.kind == EntityKind::Ped && entity.vehicle != 0) followVehicle(entity);
    }
    flyMissiles(dt);
    stepPlayerLife();
}

void World::steer(Entity& helicopter, const HeliMission& mission, float seconds) {
    const Vec3 toTarget = mission.target - helicopter.position;
    const float distance = length(toTarget);
    const Model* model = findModel(helicopter.model);
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

void World::drive(Entity& car, float seconds) {
    const CarState now{car.position, car.heading, dot(car.velocity, forwardOf(car.heading))};
    const CarState next = driveCar(now, driverInput_, seconds);
    setHeading(car, next.heading);
    car.velocity = forwardOf(next.heading) * next.speed;
}

// An entity moves by its velocity; the player's car stops short of what the map puts in its way.
void World::move(Entity& entity, float seconds, bool playersCar) {
    const Vec3 next = entity.position + entity.velocity * seconds;
    if (playersCar && !map_.empty() && map_.blocksCar(next, kCarHandling.radius)) {
        if (horizontalLength(entity.velocity) > kCrashSpeed) crashes_.push_back({frame_, entity.handle, entity.position});
        entity.velocity = {};
        return;
    }
    entity.position = next;
}

void World::followVehicle(Entity& ped) {
    const Entity* vehicle = find(ped.vehicle);
    if (vehicle == nullptr) {
        ped.vehicle = 0;
        return;
    }
    ped.position = vehicle->position;
    ped.velocity = vehicle->velocity;
    ped.heading = vehicle->heading;
}

void World::takeOccupantsAlong(const Entity& vehicle) {
    for (auto& [handle, entity] : entities_) {
        if (entity.kind == EntityKind::Ped && entity.vehicle == vehicle.handle) followVehicle(entity);
    }
}

Entity& World::spawn(EntityKind kind, Vec3 position, uint32_t model) {
    const int32_t handle = nextHandle_++;
    Entity& entity = entities_[handle];
    entity.handle = handle;
    entity.kind = kind;
    entity.model = model;
    entity.position = position;
    return entity;
}

Entity* World::find(int32_t handle) {
    const auto found = entities_.find(handle);
    return found == entities_.end() ? nullptr : &found->second;
}

const Entity* World::find(int32_t handle) const {
    const auto found = entities_.find(handle);
    return found == entities_.end() ? nullptr : &found->second;
}

void World::remove(int32_t handle) {
    entities_.erase(handle);
    for (auto& [other, entity] : entities_) {
        if (entity.vehicle == handle) entity.vehicle = 0;
    }
}

Entity& World::putPlayerInVehicle() {
    Entity& vehicle = spawn(EntityKind::Vehicle, player().position, hashOfName(kCarModel));
    vehicle.heading = player().heading;
    seat(playerPed_, vehicle.handle, kDriverSeat);
    return vehicle;
}

void World::seat(int32_t ped, int32_t vehicle, int32_t seatIndex) {
    Entity* occupant = find(ped);
    if (occupant == nullptr || find(vehicle) == nullptr) return;
    occupant->vehicle = vehicle;
    occupant->seat = seatIndex;
    followVehicle(*occupant);
}

void World::leaveVehicle(int32_t ped) {
    Entity* occupant = find(ped);
    if (occupant == nullptr) return;
    occupant->vehicle = 0;
    occupant->velocity = {};
}

int32_t World::vehicleOf(int32_t ped) const {
    const Entity* entity = find(ped);
    if (entity == nullptr || find(entity->vehicle) == nullptr) return 0;
    return entity->vehicle;
}

void World::place(Entity& entity, Vec3 position) {
    if (entity.kind == EntityKind::Ped && entity.vehicle != 0) leaveVehicle(entity.handle);
    entity.position = position;
    if (entity.kind == EntityKind::Vehicle) takeOccupantsAlong(entity);
}

void World::setHeading(Entity& entity, float heading) {
    entity.heading = std::fmod(heading, 360.0f);
    if (entity.heading < 0.0f) entity.heading += 360.0f;
    if (entity.kind == EntityKind::Vehicle) takeOccupantsAlong(entity);
}

void World::setForwardSpeed(Entity& entity, float speed) {
    entity.velocity = forwardOf(entity.heading) * speed;
    if (entity.kind == EntityKind::Vehicle) takeOccupantsAlong(entity);
}

void World::wreck(int32_t vehicle) {
    if (Entity* entity = find(vehicle)) entity->wrecked = true;
}

Model& World::addModel(std::string_view name, EntityKind kind, Vec3 minimum, Vec3 maximum) {
    Model& model = models_[hashOfName(name)];
    model.name = name;
    model.kind = kind;
    model.minimum = minimum;
    model.maximum = maximum;
    return model;
}

Model& World::model(std::string_view name) {
    Model* found = findModel(hashOfName(name));
    if (found == nullptr) throw std::invalid_argument("the world knows no model " + std::string(name));
    return *found;
}

Model* World::findModel(uint32_t hash) {
    const auto found = models_.find(hash);
    return found == models_.end() ? nullptr : &found->second;
}

const Model* World::findModel(uint32_t hash) const {
    const auto found = models_.find(hash);
    return found == models_.end() ? nullptr : &found->second;
}

void World::requestModel(uint32_t hash) {
    if (Model* model = findModel(hash)) model->request(frame_);
}

bool World::modelLoaded(uint32_t hash) {
    Model* model = findModel(hash);
    return model != nullptr && model->answer(frame_);
}

int32_t World::createVehicle(uint32_t modelHash, Vec3 position, float heading) {
    const Model* model = findModel(modelHash);
    if (model == nullptr || model->kind != EntityKind::Vehicle || !model->loaded(frame_) || model->creationFails) return 0;
    Entity& vehicle = spawn(EntityKind::Vehicle, position, modelHash);
    setHeading(vehicle, heading);
    vehicle.createdByScript = true;
    ownership_.push_back({frame_, OwnershipEvent::Created, vehicle.handle});
    return vehicle.handle;
}

int32_t World::createPedInVehicle(int32_t vehicle, int32_t pedType, uint32_t modelHash, int32_t seatIndex) {
    const Model* model = findModel(modelHash);
    if (model == nullptr || model->kind != EntityKind::Ped || !model->loaded(frame_) || model->creationFails) return 0;
    const Entity* carrier = find(vehicle);
    if (carrier == nullptr || carrier->kind != EntityKind::Vehicle) return 0;
    for (const auto& [handle, entity] : entities_) {
        if (entity.kind == EntityKind::Ped && entity.vehicle == vehicle && entity.seat == seatIndex) return 0;
    }
    Entity& ped = spawn(EntityKind::Ped, carrier->position, modelHash);
    ped.pedType = pedType;
    ped.createdByScript = true;
    seat(ped.handle, vehicle, seatIndex);
    ownership_.push_back({frame_, OwnershipEvent::Created, ped.handle});
    return ped.handle;
}

void World::handBack(int32_t handle) {
    Entity* entity = find(handle);
    if (entity == nullptr) return;
    entity->handedBack = true;
    entity->missionEntity = false;
    entity->mission.active = false;  // the host's own logic takes over
    ownership_.push_back({frame_, OwnershipEvent::HandedBack, handle});
}

std::vector<int32_t> World::heldByScript() const {
    std::vector<int32_t> held;
    for (const auto& [handle, entity] : entities_) {
        if (entity.createdByScript && !entity.handedBack) held.push_back(handle);
    }
    return held;
}

bool World::lineOfSight(int32_t from, int32_t to) {
    const Entity* a = find(from);
    const Entity* b = find(to);
    if (a == nullptr || b == nullptr) return false;
    switch (sight_) {
    case Sight::AlwaysClear: return true;
    case Sight::AlwaysBlocked: return false;
    case Sight::ByDistance: break;
    }
    return length(b->position - a->position) <= sightRange_ && !map_.blocksSight(a->position, b->position);
}

void World::giveHeliMission(int32_t pilot, int32_t vehicle, Vec3 target, float speed) {
    Entity* ped = find(pilot);
    if (ped == nullptr || ped->kind != EntityKind::Ped) return;
    ped->mission = {true, vehicle, target, speed, frame_};
}

void World::setTimeScale(float scale) {
    timeScale_ = scale;
    timeScales_.push_back({frame_, scale});
}

void World::hintCamera(Vec3 point, const int32_t timings[4]) {
    CameraHint& hint = cameraHints_.emplace_back();
    hint.frame = frame_;
    hint.point = point;
    std::copy(timings, timings + 4, hint.timings);
}

}  // namespace sim
