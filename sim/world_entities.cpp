#include "world_entities.h"

#include <algorithm>
#include <stdexcept>

namespace sim {

namespace {

// Line of sight reaches this far.
constexpr float kSightRange = 300.0f;

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

void Entities::takeOccupantsAlong(const Entity& vehicle) {
    for (auto& [handle, entity] : entities_) {
        if (entity.kind == EntityKind::Ped && entity.vehicle == vehicle.handle) followVehicle(entity);
    }
}

Entities::Entities(const int64_t& frame, const Map& map) : frame_(frame), map_(map) {
    for (const ModelRow& row : kModelTable) addModel(row.name, row.kind, row.minimum, row.maximum).topSpeed = row.topSpeed;
    playerPed_ = spawn(EntityKind::Ped, Vec3{}, hashOfName(kPlayerModel)).handle;
}

Entity& Entities::spawn(EntityKind kind, Vec3 position, uint32_t model) {
    int32_t handle = nextHandle_;
    if (reusedHandles_.empty()) {
        ++nextHandle_;
    } else {
        handle = reusedHandles_.back();
        reusedHandles_.pop_back();
    }
    Entity& entity = entities_[handle];
    entity.handle = handle;
    entity.kind = kind;
    entity.model = model;
    entity.position = position;
    return entity;
}

void Entities::remove(int32_t handle) {
    entities_.erase(handle);
    for (auto& [other, entity] : entities_) {
        if (entity.vehicle == handle) entity.vehicle = 0;
    }
}

void Entities::removeAllButPlayer() {
    const std::vector<int32_t> held = heldByScript();
    std::vector<int32_t> others;
    for (const auto& [handle, entity] : entities_) {
        if (handle != playerPed_ && std::find(held.begin(), held.end(), handle) == held.end()) others.push_back(handle);
    }
    reusedHandles_.assign(others.rbegin(), others.rend());
    reusedHandles_.insert(reusedHandles_.end(), held.rbegin(), held.rend());
    std::erase_if(entities_, [&](const auto& entry) { return entry.first != playerPed_; });
    player().vehicle = 0;
}

Entity& Entities::putPlayerInVehicle() {
    Entity& vehicle = spawn(EntityKind::Vehicle, player().position, hashOfName(kCarModel));
    vehicle.heading = player().heading;
    seat(playerPed_, vehicle.handle, kDriverSeat);
    return vehicle;
}

void Entities::seat(int32_t ped, int32_t vehicle, int32_t seatIndex) {
    Entity* occupant = find(ped);
    if (occupant == nullptr || find(vehicle) == nullptr) return;
    occupant->vehicle = vehicle;
    occupant->seat = seatIndex;
    followVehicle(*occupant);
}

void Entities::leaveVehicle(int32_t ped) {
    Entity* occupant = find(ped);
    if (occupant == nullptr) return;
    occupant->vehicle = 0;
    occupant->velocity = {};
}

void Entities::place(Entity& entity, Vec3 position) {
    if (entity.kind == EntityKind::Ped && entity.vehicle != 0) leaveVehicle(entity.handle);
    entity.position = position;
    if (entity.kind == EntityKind::Vehicle) takeOccupantsAlong(entity);
}

void Entities::setHeading(Entity& entity, float heading) {
    entity.heading = std::fmod(heading, 360.0f);
    if (entity.heading < 0.0f) entity.heading += 360.0f;
    if (entity.kind == EntityKind::Vehicle) takeOccupantsAlong(entity);
}

void Entities::setForwardSpeed(Entity& entity, float speed) {
    entity.velocity = forwardOf(entity.heading) * speed;
    if (entity.kind == EntityKind::Vehicle) takeOccupantsAlong(entity);
}

void Entities::wreck(int32_t vehicle) {
    if (Entity* entity = find(vehicle)) entity->wrecked = true;
}

Model& Entities::addModel(std::string_view name, EntityKind kind, Vec3 minimum, Vec3 maximum) {
    Model& model = models_[hashOfName(name)];
    model.name = name;
    model.kind = kind;
    model.minimum = minimum;
    model.maximum = maximum;
    return model;
}

Model& Entities::model(std::string_view name) {
    Model* found = findModel(hashOfName(name));
    if (found == nullptr) throw std::invalid_argument("the world knows no model " + std::string(name));
    return *found;
}

void Entities::requestModel(uint32_t hash) {
    if (Model* model = findModel(hash)) model->request(frame_);
}

bool Entities::modelLoaded(uint32_t hash) {
    Model* model = findModel(hash);
    return model != nullptr && model->answer(frame_);
}

int32_t Entities::createVehicle(uint32_t modelHash, Vec3 position, float heading) {
    const Model* model = findModel(modelHash);
    if (model == nullptr || model->kind != EntityKind::Vehicle || !model->loaded(frame_) || model->creationFails) return 0;
    Entity& vehicle = spawn(EntityKind::Vehicle, position, modelHash);
    setHeading(vehicle, heading);
    vehicle.createdByScript = true;
    ownership_.push_back({frame_, OwnershipEvent::Created, vehicle.handle});
    return vehicle.handle;
}

int32_t Entities::createPedInVehicle(int32_t vehicle, int32_t pedType, uint32_t modelHash, int32_t seatIndex) {
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

void Entities::handBack(int32_t handle) {
    Entity* entity = find(handle);
    if (entity == nullptr) return;
    entity->handedBack = true;
    entity->missionEntity = false;
    entity->mission.active = false;  // the host's own logic takes over
    ownership_.push_back({frame_, OwnershipEvent::HandedBack, handle});
}

std::vector<int32_t> Entities::heldByScript() const {
    std::vector<int32_t> held;
    for (const auto& [handle, entity] : entities_) {
        if (entity.createdByScript && !entity.handedBack) held.push_back(handle);
    }
    return held;
}

int32_t Entities::oldestHeld(EntityKind kind, int32_t except) const {
    for (const auto& [handle, entity] : entities_) {
        if (entity.kind == kind && entity.createdByScript && !entity.handedBack && handle != except) return handle;
    }
    return 0;
}

bool Entities::lineOfSight(int32_t from, int32_t to) const {
    const Entity* a = find(from);
    const Entity* b = find(to);
    if (a == nullptr || b == nullptr) return false;
    switch (sight_) {
    case Sight::AlwaysClear: return true;
    case Sight::AlwaysBlocked: return false;
    case Sight::ByDistance: break;
    }
    return length(b->position - a->position) <= kSightRange && !map_.blocksSight(a->position, b->position);
}

Vec3 Entities::offsetInWorld(const Entity& entity, Vec3 offset) const {
    const Vec3 forward = forwardOf(entity.heading);
    const Vec3 right{forward.y, -forward.x, 0.0f};
    return entity.position + right * offset.x + forward * offset.y + Vec3{0.0f, 0.0f, offset.z};
}

float Entities::radiusOf(const Entity& entity) const {
    const Model* model = findModel(entity.model);
    return model != nullptr ? length(model->maximum - model->minimum) * 0.5f : 1.0f;
}

}  // namespace sim
