// The simulated game world: entities with handles (peds and vehicles), the player, the
// models and weapon assets the host knows and their streaming, line of sight, pilots flying
// helicopter missions, missiles and their explosions, the player's death and revival, and
// the records of what the script asked of the world (time scale, fades, the camera hint,
// markers, forces, entities created and handed back).
//
// The world advances once per host frame, after the script has run, by the frame's time
// scaled by the time scale. A steady frame allocates nothing.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "map.h"
#include "recycled.h"
#include "vec3.h"

namespace sim {

// The host's name hash (lower-cased, one byte at a time), as it hashes model and weapon names.
uint32_t hashOfName(std::string_view name);

enum class EntityKind { Ped, Vehicle };

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

// A weapon whose asset must be streamed in before the host fires it.
struct WeaponAsset : Streaming {
    std::string name;
    int32_t requests = 0;
    int32_t requestFlags[2] = {};  // as the last request gave them
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
    bool dying = false;    // a ped the host's second state test reports (a test sets it)
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

// A missile fired between two points. It flies straight at its speed toward the aim point
// and explodes there, or earlier on the first entity in its way.
struct Projectile {
    int32_t id = 0;  // 1, 2, ... in firing order
    int64_t firedFrame = 0;
    Vec3 from, to;  // the launch and aim points
    Vec3 position;
    float speed = 0.0f;  // the host's speed figure (see World::setMissileSpeedScale)
    int32_t damage = 0;
    uint32_t weapon = 0;
    int32_t owner = 0;  // the ped that fired it; it and its vehicle are never struck
    bool audible = false;
    bool invisible = false;
    bool flying = true;
    int64_t explodedFrame = -1;
    int32_t struck = 0;  // the entity it struck on its way; 0 when it reached its aim point
};

// An explosion: a missile's, or a vehicle blown up.
struct Explosion {
    int64_t frame = 0;
    Vec3 position;
    int32_t projectile = 0;  // the missile's id; 0 for a vehicle blown up
    int32_t vehicle = 0;     // the vehicle blown up
};

// An entity destroyed (a vehicle) or killed (a ped), and by which explosion, if any.
struct Casualty {
    int64_t frame = 0;
    int32_t handle = 0;
    int32_t projectile = 0;  // the missile whose blast did it; 0 otherwise
};

// A marker drawn for one frame.
struct Marker {
    int32_t type = 0;
    Vec3 position, direction, rotation, scale;
    int32_t colour[4] = {};  // red, green, blue, alpha
    bool bobs = false;
    bool facesCamera = false;
    int32_t rotationOrder = 0;
    bool rotates = false;
    bool textured = false;
};

// A force applied to an entity.
struct Force {
    int64_t frame = 0;
    int32_t entity = 0;
    int32_t type = 0;
    Vec3 force, offset;
    int32_t flags[6] = {};  // bone index, then the host's five switches
};

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

// The player's life as the host tells it.
struct LifeEvent {
    enum Kind { Died, Revived, ControlBack };
    int64_t frame = 0;
    Kind kind = Died;
};

class World {
public:
    World();

    // The frame the host is running; streaming and records count by it.
    // A new frame starts with no markers drawn.
    void setFrame(int64_t frame) {
        frame_ = frame;
        markers_.clear();
    }
    int64_t frame() const { return frame_; }
    // Advances the world by this many seconds of game time (before the time scale):
    // pilots steer, free entities move by their velocity, seated peds follow their vehicle,
    // missiles fly and explode; then the host revives a dead player when it is time.
    void step(float seconds);

    // Entities.
    Entity& spawn(EntityKind kind, Vec3 position, uint32_t model = 0);
    // The entity with this handle, or null when there is none (0 is never one).
    Entity* find(int32_t handle);
    const Entity* find(int32_t handle) const;
    const std::map<int32_t, Entity>& entities() const { return entities_; }
    // Gone from the world at once; its occupants are left on foot.
    void remove(int32_t handle);
    // Seats the player in a new car where the player stands, facing the player's way.
    Entity& putPlayerInVehicle();
    void seat(int32_t ped, int32_t vehicle, int32_t seatIndex);
    void leaveVehicle(int32_t ped);
    // The vehicle the ped is using, if it still exists; 0 otherwise.
    int32_t vehicleOf(int32_t ped) const;
    int32_t playerPed() const { return playerPed_; }
    Entity& player() { return *find(playerPed_); }
    const Entity& player() const { return *find(playerPed_); }

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
    const Model* findModel(uint32_t hash) const;
    void requestModel(uint32_t hash);
    // Whether the model is loaded, as the host answers the script.
    bool modelLoaded(uint32_t hash);
    const std::map<uint32_t, Model>& models() const { return models_; }
    // Creation as the script asks for it: 0 when the model is unknown, of the wrong kind,
    // not loaded, or set to fail; or, for a ped, when the vehicle or the seat is not there.
    int32_t createVehicle(uint32_t model, Vec3 position, float heading);
    int32_t createPedInVehicle(int32_t vehicle, int32_t pedType, uint32_t model, int32_t seatIndex);
    void handBack(int32_t handle);
    // Script-created entities that still exist and were never handed back.
    std::vector<int32_t> heldByScript() const;
    const std::vector<OwnershipEvent>& ownership() const { return ownership_; }

    // The weapon assets and their streaming (the mission's rocket is known).
    WeaponAsset& weaponAsset(std::string_view name);
    void requestWeaponAsset(uint32_t hash, int32_t flag1, int32_t flag2);
    bool weaponAssetLoaded(uint32_t hash);
    const std::map<uint32_t, WeaponAsset>& weaponAssets() const { return weapons_; }

    // An offset in the entity's own frame (x to its right, y ahead, z up) in world coordinates.
    Vec3 offsetInWorld(const Entity& entity, Vec3 offset) const;
    // The radius of the sphere that stands for an entity: half its model's diagonal (1 when
    // the model is unknown).
    float radiusOf(const Entity& entity);

    // Missiles. Nothing is fired when the weapon's asset is not loaded (a host fires nothing
    // it has not streamed). A missile covers speed x the speed scale units a second of game
    // time; the default scale, 1 / 8.2, brings a salvo's missile to its aim point just when
    // a player holding course gets there.
    int32_t fireMissile(Vec3 from, Vec3 to, int32_t damage, uint32_t weapon, int32_t owner, bool audible, bool invisible,
                        float speed);
    void setMissileSpeedScale(float scale) { missileSpeedScale_ = scale; }
    float missileSpeedScale() const { return missileSpeedScale_; }
    // Within this distance of a missile's explosion, vehicles are destroyed and peds on foot
    // killed, unless invincible; the occupants of a destroyed vehicle die with it.
    void setBlastRadius(float radius) { blastRadius_ = radius; }
    float blastRadius() const { return blastRadius_; }
    // Missiles that explode without harming anything (for tests about something else).
    void setHarmlessMissiles(bool harmless) { harmlessMissiles_ = harmless; }
    const std::vector<Projectile>& projectiles() const { return projectiles_; }
    const std::vector<Explosion>& explosions() const { return explosions_; }
    const std::vector<Casualty>& casualties() const { return casualties_; }
    // Blows a vehicle up where it is: destroyed with its occupants, unless invincible.
    void explodeVehicle(int32_t vehicle);

    // Death. A destroyed vehicle stops, its occupants die (unless invincible). The host
    // revives a dead player after the revival delay, on foot where it lies (or at the
    // revival point, when one is set), and gives control back after the control delay.
    void destroyVehicle(int32_t vehicle, int32_t projectile = 0);
    void kill(int32_t ped, int32_t projectile = 0);
    void setRevivalDelay(int32_t frames) { revivalFrames_ = frames; }  // kNever: never
    void setControlDelay(int32_t frames) { controlFrames_ = frames; }  // kNever: never
    void setRevivalPoint(Vec3 point) {
        revivalPoint_ = point;
        revivalPointSet_ = true;
    }
    int32_t playerIndex() const { return 0; }
    // The player is under script control: alive, and the control delay after a revival over.
    bool playerControl() const { return playerControl_; }
    const std::vector<LifeEvent>& lifeEvents() const { return lifeEvents_; }

    // Markers drawn this frame, and forces applied.
    void drawMarker(const Marker& marker) { markers_.add() = marker; }
    const Recycled<Marker>& markers() const { return markers_; }
    void applyForce(Entity& entity, const Force& force);
    const std::vector<Force>& forces() const { return forces_; }

    // Faults: every speed the host reports is not a number.
    void setSpeedsNotANumber(bool on) { speedsNotANumber_ = on; }
    bool speedsNotANumber() const { return speedsNotANumber_; }

    // The map on the ground: it blocks sight, stops missiles and cars. None by default.
    void setMap(Map map) { map_ = std::move(map); }
    const Map& map() const { return map_; }
    // The player's controls of the vehicle it drives (see DriverInput).
    void setDriverInput(DriverInput input) { driverInput_ = input; }
    const DriverInput& driverInput() const { return driverInput_; }
    const std::vector<Crash>& crashes() const { return crashes_; }

    // Line of sight between two existing entities: by distance, and not through the map.
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
    void drive(Entity& car, float seconds);
    void move(Entity& entity, float seconds, bool playersCar);
    void followVehicle(Entity& ped);
    void takeOccupantsAlong(const Entity& vehicle);
    void flyMissiles(float seconds);
    void explode(Projectile& missile, Vec3 at, int32_t struck);
    int32_t firstStruck(const Projectile& missile, Vec3 from, Vec3 to, float& along);
    void stepPlayerLife();

    std::map<int32_t, Entity> entities_;
    std::map<uint32_t, Model> models_;
    std::map<uint32_t, WeaponAsset> weapons_;
    int32_t nextHandle_ = 0x100;
    int32_t playerPed_ = 0;
    int64_t frame_ = 0;

    Map map_;
    DriverInput driverInput_;
    std::vector<Crash> crashes_;
    Sight sight_ = Sight::ByDistance;
    float sightRange_ = 300.0f;
    float timeScale_ = 1.0f;

    std::vector<OwnershipEvent> ownership_;
    std::vector<ValueEvent> timeScales_;
    std::vector<FadeEvent> fades_;
    std::vector<CameraHint> cameraHints_;
    std::vector<ValueEvent> hintFovs_;

    float missileSpeedScale_ = 1.0f / 8.2f;
    float blastRadius_ = 6.0f;
    bool harmlessMissiles_ = false;
    std::vector<Projectile> projectiles_;
    std::size_t firstFlying_ = 0;  // projectiles before it have all exploded
    std::vector<Explosion> explosions_;
    std::vector<Casualty> casualties_;

    int32_t revivalFrames_ = 600;
    int32_t controlFrames_ = 60;
    Vec3 revivalPoint_;
    bool revivalPointSet_ = false;
    bool playerControl_ = true;
    int64_t diedFrame_ = -1;
    int64_t revivedFrame_ = -1;
    std::vector<LifeEvent> lifeEvents_;

    Recycled<Marker> markers_;
    std::vector<Force> forces_;
    bool speedsNotANumber_ = false;
};

}  // namespace sim
