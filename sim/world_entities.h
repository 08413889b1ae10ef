// The simulated world's entities: handles (peds and vehicles), their models and streaming,
// existence and positions, the player, line of sight, and the ledger of what the script
// created and handed back.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "map.h"
#include "models.h"
#include "vec3.h"

namespace sim {

// The host's name hash (lower-cased, one byte at a time), as it hashes model and weapon names.
uint32_t hashOfName(std::string_view name);


constexpr int32_t kDriverSeat = -1;
constexpr int32_t kNeverLoads = -1;
constexpr int32_t kNever = -1;

// Something the host streams in on request: a model, or a weapon's asset.
struct Streaming {
    int32_t loadFrames = 2;       // frames from the first request until it is loaded; kNeverLoads
    int64_t requestedFrame = -1;  // -1: never requested
    void request(int64_t frame) {
        if (requestedFrame < 0) requestedFrame = frame;
    }
    // A fault: while stalled, the host answers "not loaded" whatever the time.
    bool stalled = false;
    int64_t stalledAnswers = 0;  // how often a stall gave that answer
    bool loaded(int64_t frame) const {
        return !stalled && requestedFrame >= 0 && loadFrames != kNeverLoads && frame >= requestedFrame + loadFrames;
    }
    // The host's answer to the script's question, counting the stalled ones.
    bool answer(int64_t frame) {
        if (stalled) ++stalledAnswers;
        return loaded(frame);
    }
};

// A model the host knows: what it makes, its size, and how it streams.
struct Model : Streaming {
    std::string name;
    EntityKind kind = EntityKind::Vehicle;
    Vec3 minimum, maximum;       // the model's corners, in its own frame
    bool creationFails = false;  // the host refuses to create it (a fault for tests)
    float topSpeed = 0.0f;       // the fastest its pilot flies it, units a second; 0: no limit
};

// A helicopter mission given to a pilot: fly the vehicle toward the point.
struct HeliMission {
    bool active = false;
    int32_t vehicle = 0;
    Vec3 target;
    float speed = 0.0f;
    int64_t givenFrame = -1;
};

struct Entity {
    int32_t handle = 0;
    EntityKind kind = EntityKind::Ped;
    uint32_t model = 0;
    Vec3 position;
    Vec3 velocity;
    float heading = 0.0f;
    // A ped's vehicle and seat; 0 on foot. A seated ped moves with its vehicle.
    int32_t vehicle = 0;
    int32_t seat = kDriverSeat;
    bool invincible = false;
    bool missionEntity = false;
    bool wrecked = false;  // a vehicle the host no longer counts as drivable (destroyed)
    bool dead = false;     // a ped
    bool engineOn = false;
    bool createdByScript = false;
    bool handedBack = false;  // the script said it no longer needs it
    // What the script set on it, kept for tests to read.
    int32_t pedType = 0;
    int32_t landingGear = 0;
    int32_t fleeAttributes = -1;
    float hearingRange = -1.0f;
    float seeingRange = -1.0f;
    int32_t setupCalls = 0;      // the helicopter's opaque setup call
    int32_t setOnGroundCalls = 0;
    HeliMission mission;  // a pilot's
};

// Entities the script created or handed back, in order: a leak shows as a creation
// without its hand-back.
struct OwnershipEvent {
    enum Kind { Created, HandedBack };
    int64_t frame = 0;
    Kind kind = Created;
    int32_t handle = 0;
};

// Who sees whom: by distance (the default), or always or never, as a test sets it.
enum class Sight { ByDistance, AlwaysClear, AlwaysBlocked };

class Entities {
public:
    // The world's frame (streaming and the ledger count by it) and its map (it blocks sight).
    Entities(const int64_t& frame, const Map& map);
    Entities(const Entities&) = delete;
    Entities& operator=(const Entities&) = delete;

    Entity& spawn(EntityKind kind, Vec3 position, uint32_t model = 0);
    // The entity with this handle, or null when there is none (0 is never one).
    // Every frame asks these many times: defined here, so that they inline.
    Entity* find(int32_t handle) { return lookUp(entities_, handle); }
    const Entity* find(int32_t handle) const { return lookUp(entities_, handle); }
    std::map<int32_t, Entity>& all() { return entities_; }
    const std::map<int32_t, Entity>& all() const { return entities_; }
    // Gone from the world at once; its occupants are left on foot.
    void remove(int32_t handle);
    // Every entity but the player gone, as at a game load. New entities take their handles
    // first: those the script held, then the rest, each lowest first.
    void removeAllButPlayer();
    // Seats the player in a new car where the player stands, facing the player's way.
    Entity& putPlayerInVehicle();
    void seat(int32_t ped, int32_t vehicle, int32_t seatIndex);
    void leaveVehicle(int32_t ped);
    // The vehicle the ped is using, if it still exists; 0 otherwise.
    int32_t vehicleOf(int32_t ped) const {
        const Entity* entity = find(ped);
        if (entity == nullptr || find(entity->vehicle) == nullptr) return 0;
        return entity->vehicle;
    }
    int32_t playerPed() const { return playerPed_; }
    Entity& player() { return *find(playerPed_); }
    const Entity& player() const { return *find(playerPed_); }
    int32_t playerIndex() const { return 0; }

    // Moving entities. Placing a seated ped takes it out of its vehicle; placing or turning a
    // vehicle takes its occupants along.
    void place(Entity& entity, Vec3 position);
    void setHeading(Entity& entity, float heading);
    void setForwardSpeed(Entity& entity, float speed);
    void wreck(int32_t vehicle);
    // Seated peds take their vehicle's position, velocity and heading (every frame: inline).
    void followVehicle(Entity& ped) {
        const Entity* vehicle = find(ped.vehicle);
        if (vehicle == nullptr) {
            ped.vehicle = 0;
            return;
        }
        ped.position = vehicle->position;
        ped.velocity = vehicle->velocity;
        ped.heading = vehicle->heading;
    }
    void takeOccupantsAlong(const Entity& vehicle);
    // An offset in the entity's own frame (x to its right, y ahead, z up) in world coordinates.
    Vec3 offsetInWorld(const Entity& entity, Vec3 offset) const;
    // The radius of the sphere that stands for an entity: half its model's diagonal (1 when
    // the model is unknown).
    float radiusOf(const Entity& entity) const;

    // Models and streaming.
    Model& addModel(std::string_view name, EntityKind kind, Vec3 minimum, Vec3 maximum);
    // The model of that name or hash; the name must be known.
    Model& model(std::string_view name);
    Model* findModel(uint32_t hash) { return lookUp(models_, hash); }
    const Model* findModel(uint32_t hash) const { return lookUp(models_, hash); }
    void requestModel(uint32_t hash);
    // Whether the model is loaded, as the host answers the script.
    bool modelLoaded(uint32_t hash);
    const std::map<uint32_t, Model>& models() const { return models_; }

    // Creation as the script asks for it: 0 when the model is unknown, of the wrong kind,
    // not loaded, or set to fail; or, for a ped, when the vehicle or the seat is not there.
    int32_t createVehicle(uint32_t model, Vec3 position, float heading);
    int32_t createPedInVehicle(int32_t vehicle, int32_t pedType, uint32_t model, int32_t seatIndex);
    void handBack(int32_t handle);
    // Script-created entities that still exist and were never handed back, oldest first.
    std::vector<int32_t> heldByScript() const;
    // The oldest entity of the kind that the script created, still holds and that still
    // exists, other than the one excepted; 0 when there is none. During an encounter the
    // helicopter is the oldest vehicle it holds (other than one the player sits in), and the
    // pilot the oldest ped.
    int32_t oldestHeld(EntityKind kind, int32_t except = 0) const;
    const std::vector<OwnershipEvent>& ownership() const { return ownership_; }

    // Line of sight between two existing entities: within 300 units, and not through the map.
    void setSight(Sight sight) { sight_ = sight; }
    bool lineOfSight(int32_t from, int32_t to) const;

    // Faults: every speed the host reports is not a number.
    void setSpeedsNotANumber(bool on) { speedsNotANumber_ = on; }
    bool speedsNotANumber() const { return speedsNotANumber_; }

private:
    // The entry under the key, or null.
    template <typename Table, typename Key>
    static auto lookUp(Table& table, Key key) -> decltype(&table.begin()->second) {
        const auto found = table.find(key);
        return found == table.end() ? nullptr : &found->second;
    }

    const int64_t& frame_;
    const Map& map_;
    std::map<int32_t, Entity> entities_;
    std::map<uint32_t, Model> models_;
    int32_t nextHandle_ = 0x100;
    std::vector<int32_t> reusedHandles_;  // given out again, from the back
    int32_t playerPed_ = 0;
    std::vector<OwnershipEvent> ownership_;
    Sight sight_ = Sight::ByDistance;
    bool speedsNotANumber_ = false;
};

}  // namespace sim
