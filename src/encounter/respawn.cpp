#include "encounter/respawn.h"

#include "encounter/current_level.h"
#include "encounter/level_start.h"
#include "encounter/levels.h"
#include "runtime/messages.h"
#include "runtime/mod_state.h"
#include "runtime/natives.h"
#include "seam.h"

namespace {

constexpr int32_t kBlackoutFadeMs = 10;
constexpr uint32_t kControlPollMs = 500;
constexpr float kPlayerDropHeight = 5.0f;
constexpr int32_t kDriverSeat = -1;
constexpr float kHeliLeadSeconds = 0.2f;
constexpr float kHeliHeightAtCheckpoint = 10.0f;
constexpr float kHeliHeightAtPlayer = 20.0f;
constexpr int32_t kSightFramesAfterRespawn = -50;  // 50 more steps in sight before the next salvo
constexpr float kRespawnHintHeight = 10.0f;
constexpr float kRespawnTimeScale = 0.5f;
constexpr int32_t kRespawnFadeInMs = 7000;
constexpr uint32_t kRespawnShotMs = 2000;

// The player's putting back, once alive and under control, in one call: at the checkpoint
// in a new vehicle of its model, with the helicopter brought back; p and v are the
// player's position and velocity as sampled at the start of this frame, before the move.
void respawnPlayer() {
    const Vector3 c = mod.checkpointPosition;
    const Vector3 p = mod.playerPosition;
    const Vector3 v = mod.targetVelocity;

    showFloatingMessage("Respawned, you can press F9 to exit...", kRespawnMessageFrames, true);
    mod.playerDown = 0;
    placeEntity(mod.playerPed, c.x, c.y, c.z + kPlayerDropHeight, 1, 1, 1, 0);
    waitForModel(mod.checkpointVehicleModel);
    HostHandle vehicle = createVehicle(mod.checkpointVehicleModel, c.x, c.y, c.z, 0.0f);
    scriptWait(0);
    putPedIntoVehicle(mod.playerPed, vehicle, kDriverSeat);
    setEntityHeading(vehicle, mod.checkpointHeading);
    scriptWait(0);
    setVehicleForwardSpeed(vehicle, mod.checkpointSpeed);
    scriptWait(0);

    placeEntity(mod.heliVehicle, c.x + v.x * kHeliLeadSeconds, c.y + v.y * kHeliLeadSeconds,
                c.z + v.z + kHeliHeightAtCheckpoint, 0, 0, 0, 1);
    scriptWait(0);
    setEntityHeading(mod.heliVehicle, entityHeading(mod.playerPed));
    scriptWait(0);
    setVehicleForwardSpeed(mod.heliVehicle, mod.playerSpeed * 2.0f + 15.0f);
    scriptWait(0);
    switchEngineOn(vehicle);
    scriptWait(0);
    setVehicleOnGround(vehicle);
    scriptWait(0);
    setCameraHeading(0.0f);
    setCameraPitch(0.0f, 1.0f);
    scriptWait(0);

    // The pursuit's catch-up placement, from where the player was.
    placeEntity(mod.heliVehicle, p.x + v.x * kHeliLeadSeconds, p.y + v.y * kHeliLeadSeconds,
                p.z + v.z + kHeliHeightAtPlayer, 0, 0, 0, 1);
    setEntityHeading(mod.heliVehicle, entityHeading(mod.playerPed));
    setVehicleForwardSpeed(mod.heliVehicle, mod.playerSpeed * 1.2f + currentLevelParams().heliSpeedBonus);
    scriptWait(0);

    mod.heliSightFrames = kSightFramesAfterRespawn;
    mod.attacksSurvived = 0;
    mod.missileSequenceActive = 0;
    mod.score = mod.score * 0.5f;
    playSlowMotionShot(p.x + v.x, p.y + v.y, p.z + kRespawnHintHeight, kRespawnTimeScale, kRespawnFadeInMs,
                       kRespawnShotMs);
    // The player drives the new vehicle away: it is the host's from now on, like any other,
    // rather than one more vehicle held for good at every death.
    if (entityExists(vehicle)) handEntityBack(&vehicle);
}

}  // namespace

void saveCheckpoint() {
    const HostHandle vehicle = vehiclePedIsUsing(mod.playerPed);
    mod.checkpointVehicleModel = entityModel(vehicle);
    mod.checkpointPosition = entityPosition(vehicle);
    mod.checkpointHeading = entityHeading(vehicle);
    mod.checkpointSpeed = entitySpeed(vehicle);
    mod.checkpointSaved = 1;
}

void respawnAtCheckpoint() {
    // A stray flag: without a checkpoint there is nowhere to go back to.
    if (mod.checkpointSaved == 0) {
        mod.playerDown = 0;
        return;
    }
    // Waiting for the host to revive the player, then for control: a black screen meanwhile.
    if (entityDead(mod.playerPed)) return;
    fadeScreenOut(kBlackoutFadeMs);
    if (!entityExists(mod.playerPed)) return;
    scriptWait(kControlPollMs);
    if (!playerControlOn(playerIndex())) return;
    respawnPlayer();
}
