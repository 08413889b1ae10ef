#include "world.h"

namespace sim {

World::World() { playerPed_ = spawn(EntityKind::Ped, Vec3{}).handle; }

Entity& World::spawn(EntityKind kind, Vec3 position) {
    const int32_t handle = nextHandle_++;
    Entity& entity = entities_[handle];
    entity.handle = handle;
    entity.kind = kind;
    entity.position = position;
    return entity;
}

Entity* World::find(int32_t handle) {
    const auto found = entities_.find(handle);
    return found == entities_.end() ? nullptr : &found->second;
}

void World::remove(int32_t handle) { entities_.erase(handle); }

Entity& World::putPlayerInVehicle() {
    Entity& vehicle = spawn(EntityKind::Vehicle, player().position);
    player().vehicle = vehicle.handle;
    return vehicle;
}

int32_t World::vehicleOf(int32_t ped) {
    const Entity* entity = find(ped);
    if (entity == nullptr || find(entity->vehicle) == nullptr) return 0;
    return entity->vehicle;
}

}  // namespace sim
