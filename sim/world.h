// The simulated game world, in four parts with one job each: the entities (handles, models,
// the player, sight, the ledger of what the script created), combat (weapons, missiles,
// explosions, casualties, the player's death and revival), driving (pilots, the player's car,
// every entity's motion) and the records of what the script asked of the screen and camera.
// The world owns them, the map and the frame they count by.
//
// The world advances once per host frame, after the script has run, by the frame's time
// scaled by the time scale. A steady frame allocates nothing.
#pragma once

#include <cstdint>
#include <utility>

#include "map.h"
#include "world_combat.h"
#include "world_driving.h"
#include "world_entities.h"
#include "world_records.h"

namespace sim {

class World {
public:
    World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // The frame the host is running; streaming and records count by it.
    // A new frame starts with no markers drawn.
    void setFrame(int64_t frame) {
        frame_ = frame;
        records_.beginFrame();
    }
    int64_t frame() const { return frame_; }
    // Advances the world by this many seconds of game time (before the time scale):
    // pilots steer, free entities move by their velocity, seated peds follow their vehicle,
    // missiles fly and explode; then the host revives a dead player when it is time.
    void step(float seconds) {
        const float dt = seconds * records_.timeScale();
        driving_.step(dt);
        combat_.step(dt);
    }

    Entities& entities() { return entities_; }
    const Entities& entities() const { return entities_; }
    Combat& combat() { return combat_; }
    const Combat& combat() const { return combat_; }
    Driving& driving() { return driving_; }
    const Driving& driving() const { return driving_; }
    Records& records() { return records_; }
    const Records& records() const { return records_; }

    // A game load: every entity but the player gone (their handles given out again first),
    // nothing in flight, the player alive and free at the point, on foot or in a new car.
    // The records (time scale, fades, hint) stay as they were.
    void reload(Vec3 position, bool inVehicle);

    // The map on the ground: it blocks sight, stops missiles and cars. None by default.
    void setMap(Map map) { map_ = std::move(map); }
    const Map& map() const { return map_; }

private:
    int64_t frame_ = 0;
    Map map_;
    Entities entities_{frame_, map_};
    Combat combat_{frame_, map_, entities_};
    Driving driving_{frame_, map_, entities_};
    Records records_{frame_};
};

}  // namespace sim
