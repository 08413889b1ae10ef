#include "encounter/level_start.h"

#include <optional>

#include "encounter/current_level.h"
#include "encounter/levels.h"
#include "encounter/pursuit.h"
#include "encounter/respawn.h"
#include "runtime/messages.h"
#include "runtime/natives.h"
#include "runtime/text.h"
#include "seam.h"
#include "settings/settings.h"

namespace {

constexpr int32_t kStartFadeOutMs = 200;
constexpr uint32_t kBeforeIntroMs = 500;
constexpr int32_t kIntroFadeInMs = 4000;
constexpr uint32_t kIntroHoldMs = 1500;
constexpr float kIntroTimeScale = 0.25f;
constexpr float kHintFov = 20.0f;
constexpr float kStartSpeed = 20.0f;
constexpr float kHeliHeightAbovePlayer = 8.0f;
constexpr float kIntroHintHeight = 10.0f;
constexpr int32_t kGearRetracted = 3;
constexpr int32_t kPilotPedType = 26;
constexpr int32_t kDriverSeat = -1;

HostHandle playerVehicle() { return vehiclePedIsUsing(mod.playerPed); }

// Everything a level start clears; `heliHealth` starts full. A shield left up by an
// encounter that ended in a salvo is lowered.
void resetEncounterProgress() {
    dropArmorShield();
    mod.heliSightFrames = 0;
    mod.missileSequenceActive = 0;
    mod.missileSequenceFrame = 0;
    mod.counterAttackSequence = 0;
    mod.attacksSurvived = 0;
    mod.playerDown = 0;
    mod.checkpointSaved = 0;
    mod.outOfSightFrames = 0;
    mod.missilesLaunched = 0;
    mod.score = 0.0f;
    mod.attackPower = 0.0f;
    mod.heliHealth = currentLevelParams().maxHealth;
}

void announceLevel() {
    TextBuffer text;
    appendText(text, "You have been marked by an insurgent helo! ~r~Take him down! ~w~(Level ");
    appendNumber(text, mod.currentLevel + 1);
    appendText(text, ")");
    showFloatingMessage(text.chars, kMessageFrames, true);
}

}  // namespace

void loadLevelHighScore() {
    // Unknown for the sixth level, which keeps no best, and while the file cannot be read:
    // the last one read then stands, and is not compared with.
    const std::optional<uint32_t> best = loadHighScore(mod.currentLevel);
    mod.levelHighScoreKnown = best.has_value();
    if (best) mod.levelHighScore = static_cast<float>(*best);
}

void startLevel() {
    if (mod.currentLevel > kLastLevel) mod.currentLevel = kLastLevel;
    mod.playerPed = playerPedHandle();
    fadeScreenOut(kStartFadeOutMs);
    scriptWait(kStartFadeOutMs);

    placePlayerAtLevelStart();

    mod.playerPed = playerPedHandle();
    mod.playerPosition = entityPosition(mod.playerPed);
    mod.playerSpeed = entitySpeed(mod.playerPed);
    mod.targetVelocity = entityVelocity(mod.playerPed);

    resetEncounterProgress();
    mod.missileWeapon = hashOfName("WEAPON_VEHICLE_ROCKET");
    loadLevelHighScore();

    releaseEncounter();
    mod.encounterActive = true;
    spawnHelicopter();
    const bool helicopterSpawned = mod.encounterActive;
    scriptWait(kBeforeIntroMs);

    // The intro always plays and restores time and camera, so the screen comes back.
    playSlowMotionShot(mod.playerPosition.x + mod.targetVelocity.x, mod.playerPosition.y + mod.targetVelocity.y,
                       mod.playerPosition.z + kIntroHintHeight, kIntroTimeScale, kIntroFadeInMs, kIntroHoldMs);

    // Without a helicopter the level is not running: no checkpoint, and "Error: 101" stays
    // on screen rather than an announcement of an attack that will not come.
    if (helicopterSpawned) {
        if (entityExists(playerVehicle()) && mod.checkpointEnabled != 0) saveCheckpoint();
        announceLevel();
    }
    scriptWait(0);
}

void placePlayerAtLevelStart() {
    const LevelStartPoint& start = currentStartPoint();
    // The player may change vehicles between the waits: each step asks the host afresh.
    if (!entityExists(playerVehicle())) {
        releaseEncounter();
        showFloatingMessage("Error: 105", kMessageFrames, true);
        return;
    }
    placeEntityNoOffset(playerVehicle(), start.x, start.y, start.z);
    scriptWait(0);
    setEntityHeading(playerVehicle(), start.heading);
    scriptWait(0);
    setVehicleOnGround(playerVehicle());
    scriptWait(0);
    setVehicleForwardSpeed(playerVehicle(), kStartSpeed);
    scriptWait(0);
    mod.targetVelocity = entityVelocity(mod.playerPed);
    scriptWait(0);
}

void spawnHelicopter() {
    const LevelParams& level = currentLevelParams();
    const HostHash model = hashOfName(level.heliModel);
    waitForModel(model);

    mod.heliVehicle = createVehicle(model, mod.playerPosition.x + mod.targetVelocity.x,
                                    mod.playerPosition.y + mod.targetVelocity.y,
                                    mod.playerPosition.z + kHeliHeightAbovePlayer, 0.0f);
    scriptWait(0);
    scriptWait(0);
    if (!entityExists(mod.heliVehicle)) {
        releaseEncounter();
        showFloatingMessage("Error: 101", kMessageFrames, true);
        return;
    }

    setUpHelicopter(mod.heliVehicle);
    scriptWait(0);
    setEntityHeading(mod.heliVehicle, entityHeading(mod.playerPed));
    scriptWait(0);
    setVehicleForwardSpeed(mod.heliVehicle, mod.playerSpeed * 1.5f + level.heliSpeedBonus);
    scriptWait(0);
    setLandingGear(mod.heliVehicle, kGearRetracted);
    spawnPilot();
    scriptWait(0);
}

void spawnPilot() {
    const HostHash model = hashOfName("s_m_y_swat_01");
    waitForModel(model);
    mod.heliPilot = createPedInVehicle(mod.heliVehicle, kPilotPedType, model, kDriverSeat);
    // A plain driver that nothing distracts, and neither it nor its helicopter can be
    // destroyed by the host: the plug-in keeps the helicopter's health itself.
    setPedFleeAttributes(mod.heliPilot, 0, false);
    setEntityInvincible(mod.heliPilot, true);
    setEntityInvincible(mod.heliVehicle, true);
    makeMissionEntity(mod.heliVehicle);
    setPedHearingRange(mod.heliPilot, 0.0f);
    setPedSeeingRange(mod.heliPilot, 0.0f);
}

void releaseEncounter() {
    if (entityExists(mod.heliPilot)) handEntityBack(&mod.heliPilot);
    if (entityExists(mod.heliVehicle)) handEntityBack(&mod.heliVehicle);
    mod.heliPilot = 0;
    mod.heliVehicle = 0;
    mod.encounterActive = false;
}

void endEncounter() {
    releaseEncounter();
    dropArmorShield();
}

void waitForModel(HostHash model) {
    requestModel(model);
    while (!modelLoaded(model)) scriptWait(0);
}

void playSlowMotionShot(float x, float y, float z, float timeScale, int32_t fadeInMs, uint32_t holdMs) {
    hintCameraAt(x, y, z);
    setCameraHintFov(kHintFov);
    setTimeScale(timeScale);
    if (fadeInMs != kNoFadeIn) fadeScreenIn(fadeInMs);
    scriptWait(holdMs);
    setTimeScale(1.0f);
    setCameraHintFov(1.0f);
}
