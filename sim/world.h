// The simulated game world: entities with handles, and the player.
#pragma once

#include <cmath>
#include <cstdint>
#include <map>

namespace sim {

struct Vec3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

inline float length(Vec3 v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

enum class EntityKind { Ped, Vehicle };

struct Entity {
    int32_t handle = 0;
    EntityKind kind = EntityKind::Ped;
    Vec3 position;
    Vec3 velocity;
    float heading = 0.0f;
    int32_t vehicle = 0;  // a ped's vehicle, 0 on foot
};

class World {
public:
    World();

    Entity& spawn(EntityKind kind, Vec3 position);
    // The entity with this handle, or null when there is none (0 is never one).
    Entity* find(int32_t handle);
    void remove(int32_t handle);
    // Seats the player in a new vehicle where the player stands.
    Entity& putPlayerInVehicle();
    // The vehicle the ped is using, if it still exists; 0 otherwise.
    int32_t vehicleOf(int32_t ped);

    int32_t playerPed() const { return playerPed_; }
    Entity& player() { return *find(playerPed_); }

private:
    std::map<int32_t, Entity> entities_;
    int32_t nextHandle_ = 0x100;
    int32_t playerPed_ = 0;
};

}  // namespace sim
