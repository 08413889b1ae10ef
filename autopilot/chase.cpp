#include "chase.h"

#include "runtime/mod_view.h"

namespace autopilot {

namespace {

constexpr int64_t kSampleFrames = 6;
constexpr float kJump = 30.0f;  // further than this between two samples: put somewhere else

sim::Vec3 fromHost(const Vector3& v) { return {v.x, v.y, v.z}; }

}  // namespace

void ChaseRecorder::sample(std::vector<std::vector<sim::Vec3>>& route, sim::Vec3 at) {
    if (route.empty() || route.back().empty() || sim::horizontalLength(at - route.back().back()) > kJump) route.emplace_back();
    route.back().push_back(at);
}

void ChaseRecorder::observe(const sim::Host& host) {
    const sim::World& world = host.world();
    if (!modView().encounterActive && !encounterSeen_) return;
    if (modView().encounterActive && !encounterSeen_) {
        encounterSeen_ = true;
        // Only what happens from this level's start on.
        projectilesSeen_ = world.combat().projectiles().size();
        casualtiesSeen_ = world.combat().casualties().size();
        lifeEventsSeen_ = world.combat().lifeEvents().size();
        crashesSeen_ = world.driving().crashes().size();
    }
    // The level's map is laid at its intro, after its encounter began: a map laid since is this
    // level's (the one before may still be there when it begins).
    if (!world.map().empty() && (record_.map.empty() || !world.map().samePlace(record_.map))) record_.map = world.map();

    const sim::Entity& me = world.entities().player();
    if (modView().encounterActive && host.frame() % kSampleFrames == 0) {
        if (!me.dead) sample(record_.playerRoute, me.position);
        if (const sim::Entity* heli = world.entities().find(modView().heliVehicle)) sample(record_.heliRoute, heli->position);
    }

    const auto& projectiles = world.combat().projectiles();
    for (; projectilesSeen_ < projectiles.size(); ++projectilesSeen_) {
        if (modView().counterAttackSequence == 0) record_.aims.push_back({projectiles[projectilesSeen_].to, projectiles[projectilesSeen_].id, false});
    }
    const auto& casualties = world.combat().casualties();
    for (; casualtiesSeen_ < casualties.size(); ++casualtiesSeen_) {
        const sim::Casualty& casualty = casualties[casualtiesSeen_];
        if (casualty.projectile == 0 || casualty.handle != me.vehicle) continue;
        const sim::Projectile& missile = projectiles[static_cast<std::size_t>(casualty.projectile - 1)];
        record_.hits.push_back(missile.position);
        for (AimPoint& aim : record_.aims) aim.hit = aim.hit || aim.missile == casualty.projectile;
    }
    const auto& life = world.combat().lifeEvents();
    for (; lifeEventsSeen_ < life.size(); ++lifeEventsSeen_) {
        if (life[lifeEventsSeen_].kind == sim::LifeEvent::Died) record_.deaths.push_back(me.position);
    }
    const auto& crashes = world.driving().crashes();
    for (; crashesSeen_ < crashes.size(); ++crashesSeen_) record_.crashes.push_back(crashes[crashesSeen_].position);

    if (modView().counterAttackSequence && !counterAttack_ && modView().missileSequenceActive) record_.strikes.push_back(fromHost(modView().playerPosition));
    if (!modView().playerDown && playerDown_ && modView().encounterActive) record_.respawns.push_back(me.position);
    counterAttack_ = modView().counterAttackSequence;
    playerDown_ = modView().playerDown;
}

}  // namespace autopilot
