// The record of a chase, for its map: the map the level was played on, the routes of the
// player and the helicopter (sampled ten times a second, broken where either was put
// somewhere else), each salvo missile's aim point and whether it harmed the player, the
// blasts that did, the strikes, the deaths, the respawns and the crashes.
#pragma once

#include <cstdint>
#include <vector>

#include "host.h"

namespace autopilot {

struct AimPoint {
    sim::Vec3 point;
    int32_t missile = 0;
    bool hit = false;  // its blast destroyed the player's car
};

struct ChaseRecord {
    sim::Map map;
    std::vector<std::vector<sim::Vec3>> playerRoute;  // one run per unbroken stretch
    std::vector<std::vector<sim::Vec3>> heliRoute;
    std::vector<AimPoint> aims;
    std::vector<sim::Vec3> hits;  // where the blasts that harmed the player went off
    std::vector<sim::Vec3> strikes;
    std::vector<sim::Vec3> deaths;
    std::vector<sim::Vec3> respawns;
    std::vector<sim::Vec3> crashes;
};

class ChaseRecorder {
public:
    // Looks at the frame just run.
    void observe(const sim::Host& host);
    const ChaseRecord& record() const { return record_; }

private:
    static void sample(std::vector<std::vector<sim::Vec3>>& route, sim::Vec3 at);

    ChaseRecord record_;
    bool encounterSeen_ = false;
    int32_t counterAttack_ = 0;
    int32_t playerDown_ = 0;
    std::size_t projectilesSeen_ = 0;
    std::size_t casualtiesSeen_ = 0;
    std::size_t lifeEventsSeen_ = 0;
    std::size_t crashesSeen_ = 0;
};

}  // namespace autopilot
