#include "world_combat.h"

#include <algorithm>
#include <stdexcept>

namespace sim {

namespace {

constexpr std::string_view kRocket = "WEAPON_VEHICLE_ROCKET";

}  // namespace

Combat::Combat(const int64_t& frame, const Map& map, Entities& entities) : frame_(frame), map_(map), entities_(entities) {
    weapons_[hashOfName(kRocket)].name = kRocket;
}

WeaponAsset& Combat::weaponAsset(std::string_view name) {
    const auto found = weapons_.find(hashOfName(name));
    if (found == weapons_.end()) throw std::invalid_argument("the world knows no weapon " + std::string(name));
    return found->second;
}

void Combat::requestWeaponAsset(uint32_t hash, int32_t flag1, int32_t flag2) {
    const auto found = weapons_.find(hash);
    if (found == weapons_.end()) return;
    WeaponAsset& asset = found->second;
    asset.request(frame_);
    ++asset.requests;
    asset.requestFlags[0] = flag1;
    asset.requestFlags[1] = flag2;
}

bool Combat::weaponAssetLoaded(uint32_t hash) {
    const auto found = weapons_.find(hash);
    return found != weapons_.end() && found->second.answer(frame_);
}

int32_t Combat::fireMissile(Vec3 from, Vec3 to, int32_t damage, uint32_t weapon, int32_t owner, bool audible,
                           bool invisible, float speed) {
    const auto asset = weapons_.find(weapon);
    if (asset == weapons_.end() || !asset->second.loaded(frame_)) return 0;
    Projectile& missile = projectiles_.emplace_back();
    missile.id = static_cast<int32_t>(projectiles_.size());
    missile.firedFrame = frame_;
    missile.from = from;
    missile.to = to;
    missile.position = from;
    missile.speed = speed;
    missile.damage = damage;
    missile.weapon = weapon;
    missile.owner = owner;
    missile.audible = audible;
    missile.invisible = invisible;
    return missile.id;
}

void Combat::flyMissiles(float seconds) {
    for (std::size_t index = firstFlying_; index < projectiles_.size(); ++index) {
        Projectile& missile = projectiles_[index];
        if (!missile.flying) continue;
        // A missile without a positive speed falls where it was fired.
        if (!(missile.speed > 0.0f)) {
            explode(missile, missile.position, 0);
            continue;
        }
        const Vec3 toAim = missile.to - missile.position;
        const float remaining = length(toAim);
        const float travel = missile.speed * missileSpeedScale_ * seconds;
        const bool arrives = travel >= remaining;
        const Vec3 next = arrives ? missile.to : missile.position + toAim * (travel / remaining);
        float along = 0.0f;
        const int32_t struck = firstStruck(missile, missile.position, next, along);
        // Something of the map in the way first: the missile explodes on it.
        const float wall = map_.firstObstacle(missile.position, next);
        if (wall <= 1.0f && (struck == 0 || wall < along)) {
            explode(missile, missile.position + (next - missile.position) * wall, 0);
            continue;
        }
        if (struck != 0) {
            explode(missile, missile.position + (next - missile.position) * along, struck);
            continue;
        }
        missile.position = next;
        if (arrives) explode(missile, next, 0);
    }
    while (firstFlying_ < projectiles_.size() && !projectiles_[firstFlying_].flying) ++firstFlying_;
}

// The entity whose sphere the path from one point to the next comes nearest to first, and
// how far along the path (0 to 1); 0 when none. Neither the owner nor its vehicle is ever
// struck, and a seated ped is inside its vehicle.
int32_t Combat::firstStruck(const Projectile& missile, Vec3 from, Vec3 to, float& along) const {
    const Entity* owner = entities_.find(missile.owner);
    const int32_t ownerVehicle = owner != nullptr ? owner->vehicle : 0;
    const Vec3 path = to - from;
    const float pathSquared = dot(path, path);
    int32_t struck = 0;
    along = 2.0f;
    for (const auto& [handle, entity] : entities_.all()) {
        if (handle == missile.owner || handle == ownerVehicle) continue;
        if (entity.kind == EntityKind::Ped && entity.vehicle != 0) continue;
        const float t = pathSquared > 0.0f ? std::clamp(dot(entity.position - from, path) / pathSquared, 0.0f, 1.0f) : 0.0f;
        if (length(entity.position - (from + path * t)) > entities_.radiusOf(entity) || t >= along) continue;
        along = t;
        struck = handle;
    }
    return struck;
}

void Combat::explode(Projectile& missile, Vec3 at, int32_t struck) {
    missile.flying = false;
    missile.position = at;
    missile.explodedFrame = frame_;
    missile.struck = struck;
    explosions_.push_back({frame_, at, missile.id, 0});
    if (harmlessMissiles_) return;
    for (const auto& [handle, entity] : entities_.all()) {
        if (handle != struck && length(entity.position - at) > blastRadius_) continue;
        if (entity.kind == EntityKind::Vehicle) destroyVehicle(handle, missile.id);
        if (entity.kind == EntityKind::Ped && entity.vehicle == 0) kill(handle, missile.id);
    }
}

void Combat::explodeVehicle(int32_t vehicle, bool visible) {
    const Entity* entity = entities_.find(vehicle);
    if (entity == nullptr) return;
    explosions_.push_back({frame_, entity->position, 0, vehicle, visible});
    destroyVehicle(vehicle);
}

void Combat::destroyVehicle(int32_t vehicle, int32_t projectile) {
    Entity* entity = entities_.find(vehicle);
    if (entity == nullptr || entity->kind != EntityKind::Vehicle || entity->invincible || entity->wrecked) return;
    entity->wrecked = true;
    entity->engineOn = false;
    entity->velocity = {};
    casualties_.push_back({frame_, vehicle, projectile});
    for (const auto& [handle, occupant] : entities_.all()) {
        if (occupant.kind == EntityKind::Ped && occupant.vehicle == vehicle) kill(handle, projectile);
    }
}

void Combat::kill(int32_t ped, int32_t projectile) {
    Entity* entity = entities_.find(ped);
    if (entity == nullptr || entity->kind != EntityKind::Ped || entity->invincible || entity->dead) return;
    entity->dead = true;
    casualties_.push_back({frame_, ped, projectile});
    if (ped != entities_.playerPed()) return;
    diedFrame_ = frame_;
    revivedFrame_ = -1;
    heldUntil_ = -1;  // a death ends an arrest: the revival gives control back
    playerControl_ = false;
    lifeEvents_.push_back({frame_, LifeEvent::Died});
}

bool Combat::arrest(int32_t frames) {
    Entity* player = entities_.find(entities_.playerPed());
    if (player == nullptr || player->dead || playerArrested()) return false;
    heldUntil_ = frame_ + frames;
    playerControl_ = false;
    lifeEvents_.push_back({frame_, LifeEvent::Arrested});
    return true;
}

void Combat::clearForLoad() {
    for (Projectile& missile : projectiles_) missile.flying = false;
    if (Entity* player = entities_.find(entities_.playerPed())) player->dead = false;
    diedFrame_ = revivedFrame_ = heldUntil_ = -1;
    playerControl_ = true;
}

void Combat::stepPlayerLife() {
    Entity* player = entities_.find(entities_.playerPed());
    if (player == nullptr) return;
    if (playerArrested()) {
        if (frame_ < heldUntil_) return;
        heldUntil_ = -1;
        if (player->vehicle != 0) entities_.leaveVehicle(player->handle);
        player->velocity = {};
        playerControl_ = true;
        lifeEvents_.push_back({frame_, LifeEvent::Released});
        return;
    }
    if (player->dead) {
        if (revivalFrames_ == kNever || frame_ < diedFrame_ + revivalFrames_) return;
        player->dead = false;
        player->vehicle = 0;
        player->velocity = {};
        if (revivalPointSet_) player->position = revivalPoint_;
        revivedFrame_ = frame_;
        lifeEvents_.push_back({frame_, LifeEvent::Revived});
    }
    if (playerControl_ || revivedFrame_ < 0 || controlFrames_ == kNever || frame_ < revivedFrame_ + controlFrames_) return;
    playerControl_ = true;
    lifeEvents_.push_back({frame_, LifeEvent::ControlBack});
}

void Combat::applyForce(Entity& entity, const Force& force) {
    forces_.push_back(force);
    forces_.back().frame = frame_;
    // An impulse on a body of unit mass; the second switch gives the force in the entity's frame.
    const Vec3 push = force.flags[1] != 0 ? entities_.offsetInWorld(entity, force.force) - entity.position : force.force;
    entity.velocity = entity.velocity + push;
    if (entity.kind == EntityKind::Vehicle) entities_.takeOccupantsAlong(entity);
}

}  // namespace sim
