#include "encounter/pursuit.h"

#include "encounter/current_level.h"
#include "encounter/levels.h"
#include "encounter/upgrades.h"
#include "runtime/messages.h"
#include "runtime/mod_state.h"
#include "runtime/natives.h"
#include "runtime/random.h"

namespace {

constexpr float kMissionLeadSeconds = 2.8f;
constexpr float kMissionHeight = 30.0f;
constexpr float kCatchUpDistance = 90.0f;
constexpr float kCatchUpLeadSeconds = 0.2f;
constexpr float kCatchUpHeight = 20.0f;
constexpr int32_t kSalvoLeadFrames = 50;

void startSalvo() {
    startCue(kSalvoWarningCue);
    startMissileSequence(kSalvoLeadFrames, 0, 0);
}

bool helicopterInSight() { return hasClearLineOfSight(mod.playerPed, mod.heliVehicle); }

// The vehicles the shield made invincible, other than the one in use (made vulnerable by the
// drop itself) and the helicopter, are made vulnerable again where they still exist, and
// forgotten: a car the player left during a shielded salvo would stay indestructible for good.
void releaseShieldedVehicles(HostHandle inUse) {
    for (int32_t index = 0; index < mod.shieldedVehicleCount; ++index) {
        const HostHandle vehicle = mod.shieldedVehicles[index];
        if (vehicle == inUse || vehicle == mod.heliVehicle) continue;
        if (entityExists(vehicle)) setEntityInvincible(vehicle, false);
    }
    mod.shieldedVehicleCount = 0;
}

void rememberShieldedVehicle(HostHandle vehicle) {
    if (vehicle == 0) return;
    for (int32_t index = 0; index < mod.shieldedVehicleCount; ++index) {
        if (mod.shieldedVehicles[index] == vehicle) return;
    }
    // Full only after many deaths in shielded salvos: the others are released at once.
    if (mod.shieldedVehicleCount == kShieldedVehiclesMax) releaseShieldedVehicles(vehicle);
    mod.shieldedVehicles[mod.shieldedVehicleCount++] = vehicle;
}

}  // namespace

void pursuePlayer() {
    const Vector3& p = mod.playerPosition;
    const Vector3& v = mod.targetVelocity;
    const LevelParams& level = currentLevelParams();

    // Fly 2.8 s ahead of the player along its velocity, 30 units above it.
    giveHeliMission(mod.heliPilot, mod.heliVehicle, p.x + v.x * kMissionLeadSeconds, p.y + v.y * kMissionLeadSeconds,
                    p.z + kMissionHeight);

    if (mod.heliDistance > kCatchUpDistance) {
        placeEntity(mod.heliVehicle, p.x + v.x * kCatchUpLeadSeconds, p.y + v.y * kCatchUpLeadSeconds,
                    p.z + v.z + kCatchUpHeight, 0, 0, 0, 1);
        setEntityHeading(mod.heliVehicle, entityHeading(mod.playerPed));
        setVehicleForwardSpeed(mod.heliVehicle, mod.playerSpeed * 1.2f + level.heliSpeedBonus);
        // Back in sight, it fires at once; right after a respawn (a negative count) it does not.
        if (helicopterInSight() && mod.heliSightFrames >= 0) startSalvo();
    }

    if (helicopterInSight()) {
        ++mod.heliSightFrames;
        if (static_cast<float>(mod.heliSightFrames) > level.attackInterval * 2.0f) startSalvo();
    }
}

void startMissileSequence(int32_t leadFrames, int32_t byPlayer, int32_t restart) {
    if (mod.missileSequenceActive != 0 && restart == 0) return;
    mod.missileSequenceActive = 1;
    mod.counterAttackSequence = byPlayer;
    mod.missilesLaunched = 0;
    mod.missileSequenceFrame = -leadFrames;
    if (byPlayer != 0) return;

    if (nextRandom() % kShieldRollRange < armorLevel() * kShieldChancePerTier) {
        const HostHandle vehicle = vehiclePedIsUsing(mod.playerPed);
        setEntityInvincible(vehicle, true);
        rememberShieldedVehicle(vehicle);
        showFloatingMessage("~b~ARMOR ACTIVE", kArmorMessageFrames, true);
        mod.armorShieldActive = 1;
    }
}

void dropArmorShield() {
    if (mod.armorShieldActive == 0) return;
    mod.armorShieldActive = 0;
    const HostHandle inUse = vehiclePedIsUsing(mod.playerPed);
    setEntityInvincible(inUse, false);
    releaseShieldedVehicles(inUse);
}
