#include "encounter/counter_attack.h"

#include "encounter/current_level.h"
#include "encounter/levels.h"
#include "encounter/upgrades.h"
#include "encounter/pursuit.h"
#include "encounter/respawn.h"
#include "runtime/messages.h"
#include "runtime/mod_state.h"
#include "runtime/natives.h"
#include "runtime/random.h"
#include "seam.h"

namespace {

// A press counts during a salvo's warning, which starts at -50: nothing else lies in this window.
constexpr int32_t kReadyFirstFrame = -149;
constexpr int32_t kReadyLastFrame = -1;

// Missiles leave on these frames of a sequence; a counter-attack's hit lands on frame 50,
// and a sequence ends on the step that finds its frame at 101 or more.
constexpr int32_t kFireFrames[kSalvoMissiles] = {0, 20, 30, 35, 40};
constexpr int32_t kHitFrame = 50;
constexpr int32_t kLastFrame = 101;


constexpr int32_t kMissileDamage = 250;
constexpr int32_t kWeaponAssetFlags = 31;
constexpr float kCounterAttackSpeed = 1000.0f;
constexpr float kSlowestSalvoMissile = 200.0f;
constexpr float kFastestSalvoMissile = 2200.0f;

// A player who is down (dead, arrested, or waiting for the respawn) cannot strike.
bool counterAttackReady() {
    return mod.encounterActive && mod.playerDown == 0 && mod.attacksSurvived >= kAttacksForCounterAttack &&
           mod.missileSequenceFrame >= kReadyFirstFrame && mod.missileSequenceFrame <= kReadyLastFrame &&
           entityExists(vehiclePedIsUsing(mod.playerPed));
}

bool isFireFrame(int32_t frame) {
    for (const int32_t fireFrame : kFireFrames) {
        if (frame == fireFrame) return true;
    }
    return false;
}

// The weapon's asset is requested once and waited for frame by frame, without limit.
void waitForMissileAsset() {
    if (!weaponAssetLoaded(mod.missileWeapon)) requestWeaponAsset(mod.missileWeapon, kWeaponAssetFlags, 0);
    while (!weaponAssetLoaded(mod.missileWeapon)) scriptWait(0);
}

// Anything not at least the slowest speed (a speed that is not a number included) flies at it.
float clampSalvoSpeed(float speed) {
    if (speed > kFastestSalvoMissile) return kFastestSalvoMissile;
    if (!(speed >= kSlowestSalvoMissile)) return kSlowestSalvoMissile;
    return speed;
}

// A salvo's missile, from the helicopter's nose to a point ahead of the player: the lead is
// drawn apart for x and y from the level's range, and the speed brings the missile there
// about when the player does, cut by the level's jitter.
void launchSalvoMissile() {
    const LevelParams& level = currentLevelParams();
    mod.targetVelocity = entityVelocity(mod.playerPed);
    const Vector3 launch = offsetInWorld(mod.heliVehicle, 0.2f, 0.0f, 0.1f);
    const Vector3 base = entityPosition(mod.playerPed);
    const Vector3& velocity = mod.targetVelocity;

    // Single precision in this order: the aim points depend on it.
    Vector3 aim;
    aim.x = (static_cast<float>(nextRandom() % level.shotLeadSpread) + level.shotLeadMin) * 0.01f * velocity.x + base.x;
    aim.y = (static_cast<float>(nextRandom() % level.shotLeadSpread) + level.shotLeadMin) * 0.01f * velocity.y + base.y;
    aim.z = base.z + velocity.z + 1.0f;
    if (mod.missilesLaunched >= 0 && mod.missilesLaunched < kSalvoMissiles) mod.missileTargets[mod.missilesLaunched] = aim;

    const float fromLaunch = distanceBetween(launch, aim, true);
    const float fromPlayer = distanceBetween(mod.playerPosition, aim, true);
    float speed = fromLaunch * 8.2f * mod.playerSpeed / fromPlayer;
    speed = speed * ((100.0f - static_cast<float>(nextRandom() % level.shotSpeedJitter)) * 0.01f);
    fireMissile(launch, aim, kMissileDamage, mod.missileWeapon, mod.heliPilot, clampSalvoSpeed(speed));
}

// The counter-attack's missile, from ahead of and above the player (by the size of the
// enemy's model) to where the helicopter will be in a second.
void launchCounterAttackMissile() {
    mod.targetVelocity = entityVelocity(mod.heliVehicle);
    Vector3 minimum;
    Vector3 maximum;
    modelDimensions(entityModel(mod.heliVehicle), &minimum, &maximum);
    const Vector3 launch = offsetInWorld(mod.playerPed, 0.0f, maximum.y + 0.3f, maximum.z - 1.0f);
    const Vector3 position = entityPosition(mod.heliVehicle);
    Vector3 aim;
    aim.x = position.x + mod.targetVelocity.x;
    aim.y = position.y + mod.targetVelocity.y;
    aim.z = position.z + mod.targetVelocity.z;
    fireMissile(launch, aim, kMissileDamage, mod.missileWeapon, mod.heliPilot, kCounterAttackSpeed);
}

// A salvo marks where each of its missiles launched so far is aimed; a counter-attack
// marks nothing (its aim points are not kept).
void drawAimMarkers() {
    if (mod.counterAttackSequence != 0) return;
    for (int32_t missile = 0; missile < mod.missilesLaunched && missile < kSalvoMissiles; ++missile) {
        drawAimMarker(mod.missileTargets[missile]);
    }
}

}  // namespace

void launchCounterAttack() {
    if (!counterAttackReady()) return;
    if (!hasClearLineOfSight(mod.playerPed, mod.heliVehicle)) {
        showFloatingMessage("Must ~r~have clear sight~w~ of the target!", kWarningMessageFrames, false);
        return;
    }
    stopAllCues();  // the interrupted salvo's warning
    // Single precision, multiplied in this order: 1.2 per frame of charge per weapon tier.
    const float damage = mod.attackPower * 0.02f * 60.0f * static_cast<float>(weaponLevel());
    mod.attacksSurvived = 0;
    mod.lastStrikeDamage = damage;
    mod.heliHealth = mod.heliHealth - damage;
    showFloatingMessage("", kMessageFrames, true);
    // The counter-attack replaces the salvo whose warning runs: that salvo fires nothing
    // and does not count as survived.
    mod.missilesLaunched = 0;
    mod.missileSequenceActive = 1;
    mod.missileSequenceFrame = 0;
    mod.counterAttackSequence = 1;
    if (mod.checkpointEnabled != 0) saveCheckpoint();
}

void stepMissileSequence() {
    const int32_t frame = mod.missileSequenceFrame;
    if (isFireFrame(frame)) {
        launchMissile();
        ++mod.missilesLaunched;
    }
    drawAimMarkers();
    if (mod.counterAttackSequence != 0 && frame == kHitFrame) {
        startCue(kHitCue);
        applyForce(mod.heliVehicle, 1, 15.0f, 15.0f, 20.0f, 20.0f, 50.0f, 20.0f);
    }
    if (frame >= kLastFrame) {
        endMissileSequence();
        return;
    }
    ++mod.missileSequenceFrame;
}

void launchMissile() {
    waitForMissileAsset();
    if (mod.counterAttackSequence == 0) {
        launchSalvoMissile();
    } else {
        launchCounterAttackMissile();
    }
}

void endMissileSequence() {
    mod.heliSightFrames = 0;
    mod.missilesLaunched = 0;
    mod.missileSequenceActive = 0;
    if (mod.counterAttackSequence == 0) ++mod.attacksSurvived;
    dropArmorShield();
}
