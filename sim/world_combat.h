// The simulated world's weapons and what they do: weapon assets and their streaming,
// missiles and their explosions, casualties, forces, and the player's death and revival.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "map.h"
#include "vec3.h"
#include "world_entities.h"

namespace sim {

// A weapon whose asset must be streamed in before the host fires it.
struct WeaponAsset : Streaming {
    std::string name;
    int32_t requests = 0;
    int32_t requestFlags[2] = {};  // as the last request gave them
};

// A missile fired between two points. It flies straight at its speed toward the aim point
// and explodes there, or earlier on the first entity in its way.
struct Projectile {
    int32_t id = 0;  // 1, 2, ... in firing order
    int64_t firedFrame = 0;
    Vec3 from, to;  // the launch and aim points
    Vec3 position;
    float speed = 0.0f;  // the host's speed figure (see Combat::missileSpeedScale)
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
    bool visible = true;     // a vehicle may be blown up without a flash or a fireball
};

// An entity destroyed (a vehicle) or killed (a ped), and by which explosion, if any.
struct Casualty {
    int64_t frame = 0;
    int32_t handle = 0;
    int32_t projectile = 0;  // the missile whose blast did it; 0 otherwise
};

// A force applied to an entity.
struct Force {
    int64_t frame = 0;
    int32_t entity = 0;
    int32_t type = 0;
    Vec3 force, offset;
    int32_t flags[6] = {};  // bone index, then the host's five switches
};

// The player's life as the host tells it.
struct LifeEvent {
    enum Kind { Died, Revived, ControlBack, Arrested, Released };
    int64_t frame = 0;
    Kind kind = Died;
};

// The host's own delays after the player's death: the revival, and then control.
constexpr int32_t kRevivalFrames = 600;
constexpr int32_t kControlFrames = 60;

class Combat {
public:
    Combat(const int64_t& frame, const Map& map, Entities& entities);
    Combat(const Combat&) = delete;
    Combat& operator=(const Combat&) = delete;

    // Missiles fly and explode; then the host revives a dead player when it is time.
    void step(float seconds) {
        flyMissiles(seconds);
        stepPlayerLife();
    }

    // The weapon assets and their streaming (the mission's rocket is known).
    WeaponAsset& weaponAsset(std::string_view name);
    void requestWeaponAsset(uint32_t hash, int32_t flag1, int32_t flag2);
    bool weaponAssetLoaded(uint32_t hash);
    const std::map<uint32_t, WeaponAsset>& weaponAssets() const { return weapons_; }

    // Missiles. Nothing is fired when the weapon's asset is not loaded (a host fires nothing
    // it has not streamed). A missile covers speed x the speed scale units a second of game
    // time; the scale, 1 / 8.2, brings a salvo's missile to its aim point just when a player
    // holding course gets there.
    int32_t fireMissile(Vec3 from, Vec3 to, int32_t damage, uint32_t weapon, int32_t owner, bool audible, bool invisible,
                        float speed);
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
    void explodeVehicle(int32_t vehicle, bool visible = true);
    // Forces are impulses on a body of unit mass.
    void applyForce(Entity& entity, const Force& force);
    const std::vector<Force>& forces() const { return forces_; }

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
    // The player is under script control: alive, and the control delay after a revival over.
    bool playerControl() const { return playerControl_; }
    // An arrest of the living player: the host's arrest test answers true for the next this
    // many frames, while the player has no control; then the player is released on foot where
    // he stands, with control back. False when the player is dead or already held.
    bool arrest(int32_t frames);
    // A game load: nothing in flight, the player alive, free and in control.
    void clearForLoad();
    bool playerArrested() const { return heldUntil_ >= 0; }
    const std::vector<LifeEvent>& lifeEvents() const { return lifeEvents_; }

private:
    void flyMissiles(float seconds);
    void explode(Projectile& missile, Vec3 at, int32_t struck);
    int32_t firstStruck(const Projectile& missile, Vec3 from, Vec3 to, float& along) const;
    void stepPlayerLife();

    const int64_t& frame_;
    const Map& map_;
    Entities& entities_;
    std::map<uint32_t, WeaponAsset> weapons_;

    const float missileSpeedScale_ = 1.0f / 8.2f;
    float blastRadius_ = 6.0f;
    bool harmlessMissiles_ = false;
    std::vector<Projectile> projectiles_;
    std::size_t firstFlying_ = 0;  // projectiles before it have all exploded
    std::vector<Explosion> explosions_;
    std::vector<Casualty> casualties_;
    std::vector<Force> forces_;

    int32_t revivalFrames_ = kRevivalFrames;
    int32_t controlFrames_ = kControlFrames;
    Vec3 revivalPoint_;
    bool revivalPointSet_ = false;
    bool playerControl_ = true;
    int64_t diedFrame_ = -1;
    int64_t revivedFrame_ = -1;
    int64_t heldUntil_ = -1;  // an arrest's last frame; -1: none
    std::vector<LifeEvent> lifeEvents_;
};

}  // namespace sim
