// The simulated game world: entities with handles (peds and vehicles), the player, the
// models the host knows and their streaming, line of sight, pilots flying helicopter
// missions, and the records of what the script asked of the world (time scale, fades, the
// camera hint, entities created and handed back).
//
// The world advances once per host frame, after the script has run, by the frame's time
// scaled by the time scale. A steady frame allocates nothing.
#pragma once

#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct Vec3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline float length(Vec3 v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
inline float horizontalLength(Vec3 v) { return std::sqrt(v.x * v.x + v.y * v.y); }

// The host's name hash (lower-cased, one byte at a time), as it hashes model and weapon names.
uint32_t hashOfName(std::string_view name);

// Headings are degrees, 0 facing +y and growing counter-clockwise (90 faces -x).
Vec3 forwardOf(float heading);
float headingOf(Vec3 direction);

enum class EntityKind { Ped, Vehicle };

constexpr int32_t kDriverSeat = -1;
constexpr int32_t kNeverLoads = -1;

// A model the host knows: what it makes, its size, and how it streams.
struct Model {
    std::string name;
    EntityKind kind = EntityKind::Vehicle;
    Vec3 minimum, maximum;           // the model's corners, in its own frame
    int32_t loadFrames = 2;          // frames from the request until it is loaded; kNeverLoads
    int64_t requestedFrame = -1;     // -1: never requested
    bool creationFails = false;      // the host refuses to create it (a fault for tests)
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
    bool wrecked = false;  // a vehicle the host no longer counts as drivable
    bool dead = false;     // a ped
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

struct FadeEvent {
    int64_t frame = 0;
    bool fadeIn = false;
    int32_t durationMs = 0;
};

struct ValueEvent {
    int64_t frame = 0;
    float value = 0.0f;
};

struct CameraHint {
    int64_t frame = 0;
    Vec3 point;
    int32_t timings[4] = {};
};

// Who sees whom: by distance (the default), or always or never, as a test sets it.
enum class Sight { ByDistance, AlwaysClear, AlwaysBlocked };

class World {
public:
    World();

    // The frame the host is running; streaming and records count by it.
    void setFrame(int64_t frame) { frame_ = frame; }
    int64_t frame() const { return frame_; }
    // Advances the world by this many seconds of game time (before the time scale):
    // pilots steer, free entities move by their velocity, seated peds follow their vehicle.
    void step(float seconds);

    // Entities.
    Entity& spawn(EntityKind kind, Vec3 position, uint32_t model = 0);
    // The entity with this handle, or null when there is none (0 is never one).
    Entity* find(int32_t handle);
    // Gone from the world at once; its occupants are left on foot.
    void remove(int32_t handle);
    // Seats the player in a new car where the player stands, facing the player's way.
    Entity& putPlayerInVehicle();
    void seat(int32_t ped, int32_t vehicle, int32_t seatIndex);
    void leaveVehicle(int32_t ped);
    // The vehicle the ped is using, if it still exists; 0 otherwise.
    int32_t vehicleOf(int32_t ped);
    int32_t playerPed() const { return playerPed_; }
    Entity& player() { return *find(playerPed_); }

    // Moving entities. Placing a seated ped takes it out of its vehicle; placing or turning a
    // vehicle takes its occupants along.
    void place(Entity& entity, Vec3 position);
    void setHeading(Entity& entity, float heading);
    void setForwardSpeed(Entity& entity, float speed);
    void wreck(int32_t vehicle);

    // Models and streaming.
    Model& addModel(std::string_view name, EntityKind kind, Vec3 minimum, Vec3 maximum);
    // The model of that name or hash; the name must be known.
    Model& model(std::string_view name);
    Model* findModel(uint32_t hash);
    void requestModel(uint32_t hash);
    bool modelLoaded(uint32_t hash);
    // Creation as the script asks for it: 0 when the model is unknown, of the wrong kind,
    // not loaded, or set to fail; or, for a ped, when the vehicle or the seat is not there.
    int32_t createVehicle(uint32_t model, Vec3 position, float heading);
    int32_t createPedInVehicle(int32_t vehicle, int32_t pedType, uint32_t model, int32_t seatIndex);
    void handBack(int32_t handle);
    // Script-created entities that still exist and were never handed back.
    std::vector<int32_t> heldByScript() const;
    const std::vector<OwnershipEvent>& ownership() const { return ownership_; }

    // Line of sight between two existing entities.
    void setSight(Sight sight) { sight_ = sight; }
    void setSightRange(float range) { sightRange_ = range; }
    bool lineOfSight(int32_t from, int32_t to);

    // Pilots.
    void giveHeliMission(int32_t pilot, int32_t vehicle, Vec3 target, float speed);

    // Screen and camera, as the script set them.
    void setTimeScale(float scale);
    float timeScale() const { return timeScale_; }
    void fade(bool fadeIn, int32_t durationMs) { fades_.push_back({frame_, fadeIn, durationMs}); }
    void hintCamera(Vec3 point, const int32_t timings[4]);
    void setHintFov(float fov) { hintFovs_.push_back({frame_, fov}); }
    const std::vector<ValueEvent>& timeScales() const { return timeScales_; }
    const std::vector<FadeEvent>& fades() const { return fades_; }
    const std::vector<CameraHint>& cameraHints() const { return cameraHints_; }
    const std::vector<ValueEvent>& hintFovs() const { return hintFovs_; }

private:
    void steer(Entity& helicopter, const HeliMission& mission, float seconds);
    void followVehicle(Entity& ped);
    void takeOccupantsAlong(const Entity& vehicle);

    std::map<int32_t, Entity> entities_;
    std::map<uint32_t, Model> models_;
    int32_t nextHandle_ = 0x100;
    int32_t playerPed_ = 0;
    int64_t frame_ = 0;

    Sight sight_ = Sight::ByDistance;
    float sightRange_ = 300.0f;
    float timeScale_ = 1.0f;

    std::vector<OwnershipEvent> ownership_;
    std::vector<ValueEvent> timeScales_;
    std::vector<FadeEvent> fades_;
    std::vector<CameraHint> cameraHints_;
    std::vector<ValueEvent> hintFovs_;
};

}  // namespace sim
