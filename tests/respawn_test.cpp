// Death and the checkpoint: the checkpoint recorded, a salvo that kills, the wait for the
// host's revival and for control, the respawn in one call, and leaving while down.
#include <string>
#include <vector>

#include "encounter_test.h"
#include "runtime/text.h"
#include "virtual_keys.h"

namespace {

const uint64_t kSetPedIntoVehicle = sim::nativeHash("setPedIntoVehicle");
const uint64_t kSetVehicleEngineOn = sim::nativeHash("setVehicleEngineOn");
const uint64_t kSetVehicleOnGroundProperly = sim::nativeHash("setVehicleOnGroundProperly");

class RespawnTest : public EncounterTest {
protected:
    // The player dies in its vehicle, as when a missile destroys it.
    void destroyPlayersVehicle() {
        host.world().combat().destroyVehicle(playerVehicle().handle);
        ASSERT_TRUE(player().dead);
    }
    // Runs until the respawn's slow-motion shot has ended; the encounter resumes next frame.
    bool runUntilRespawned(int maxFrames = 2000) {
        const std::size_t fovs = host.world().records().hintFovs().size();
        return runUntil([&] { return host.world().records().hintFovs().size() >= fovs + 2; }, maxFrames);
    }
};

// The checkpoint is the vehicle the player uses: its model, position, heading and speed, at
// the end of the intro; the level start records it when the option is on.
TEST_F(RespawnTest, CheckpointRecordsTheVehicle) {
    startLevelOne();
    EXPECT_EQ(mod.checkpointSaved, 1);
    EXPECT_EQ(mod.checkpointVehicleModel, sim::hashOfName("SIM_CAR"));
    EXPECT_FLOAT_EQ(mod.checkpointHeading, 312.94f);
    EXPECT_NEAR(mod.checkpointSpeed, 20.0f, 1e-3f);
    EXPECT_NEAR(mod.checkpointPosition.x, 2168.954f, 40.0f);
    EXPECT_NEAR(mod.checkpointPosition.y, -555.323f, 40.0f);
    EXPECT_EQ(mod.checkpointPosition.z, 94.05f);
}

// With check_point_enabled 0 no checkpoint is recorded, neither at the start nor at a
// strike, and a death ends the level with no word.
TEST_F(RespawnTest, WithoutCheckpointsADeathEndsTheLevel) {
    writeSettings("[Rotorstrike]\r\ncheck_point_enabled=0\r\n");
    useReadyHarmlessMissiles();
    host.world().combat().setRevivalDelay(sim::kNever);
    startLevelOne();
    EXPECT_EQ(mod.checkpointEnabled, 0);
    EXPECT_EQ(mod.checkpointSaved, 0);
    mod.attacksSurvived = 3;
    startSalvoNextFrame(false);
    ASSERT_TRUE(runUntilWarningAt(-2));
    pressPadAttack();
    ASSERT_EQ(mod.counterAttackSequence, 1);
    EXPECT_EQ(mod.checkpointSaved, 0);
    ASSERT_TRUE(runUntilSequenceEnds());

    const int32_t heli = mod.heliVehicle;
    copyText(mod.messageText, "before");
    destroyPlayersVehicle();
    runFrame();
    EXPECT_FALSE(mod.encounterActive);
    EXPECT_EQ(mod.playerDown, 1);
    EXPECT_STREQ(mod.messageText, "before");
    EXPECT_TRUE(host.world().entities().find(heli)->handedBack);
    runFrames(60);
    for (const sim::FadeEvent& fade : host.world().records().fades()) EXPECT_NE(fade.durationMs, 10);  // no black screen
}

// A salvo's missiles destroy a standing player's vehicle, and the player with it; under the
// armor shield the player sits it out.
TEST_F(RespawnTest, SalvoDestroysAStandingPlayerUnlessShielded) {
    host.world().combat().setRevivalDelay(sim::kNever);
    for (const bool shielded : {false, true}) {
        SCOPED_TRACE(shielded);
        if (mod.encounterActive) abandonEncounter();
        player().dead = false;
        host.world().entities().leaveVehicle(player().handle);  // a fresh car for each case
        startLevelOne();
        sim::Entity& car = playerVehicle();
        host.world().entities().setForwardSpeed(car, 0.0f);
        runFrames(120);  // the helicopter settles over the player
        startSalvoNextFrame(shielded);
        ASSERT_TRUE(runUntil([] { return mod.playerDown != 0 || (mod.missileSequenceFrame > 0 && mod.missileSequenceActive == 0); }, 400));
        EXPECT_EQ(car.wrecked, !shielded);
        EXPECT_EQ(player().dead, !shielded);
        EXPECT_EQ(mod.playerDown, shielded ? 0 : 1);
        if (shielded) {
            EXPECT_EQ(mod.attacksSurvived, 1);
            EXPECT_FALSE(car.invincible);
        } else {
            EXPECT_STREQ(mod.messageText, "You have died...respawning in 15 seconds");
            ASSERT_FALSE(host.world().combat().casualties().empty());
            EXPECT_EQ(host.world().combat().casualties().front().handle, car.handle);
            EXPECT_NE(host.world().combat().casualties().front().projectile, 0);
        }
        EXPECT_GE(host.world().combat().explosions().size(), 1u);
        // The salvo's last missiles land before the next case.
        ASSERT_TRUE(runUntil([&] { return !host.world().combat().projectiles().back().flying; }, 400));
    }
}

// A death with a checkpoint: nothing while the host shows the death; once revived, a
// 10 ms fade-out and a 500 ms wait per frame until the player is under control; then, in
// one call, the player in a new vehicle of the checkpoint's model at the checkpoint, the
// helicopter brought back, the score halved, the power-ups gone, and a slow fade-in. The
// next Level 1 salvo needs 351 steps in sight.
TEST_F(RespawnTest, DeathWithACheckpointRespawnsThere) {
    host.world().combat().setRevivalDelay(120);
    host.world().combat().setControlDelay(100);
    startLevelOne();
    const Vector3 checkpoint = mod.checkpointPosition;
    const float checkpointHeading = mod.checkpointHeading;
    const float checkpointSpeed = mod.checkpointSpeed;
    runFrames(100);
    mod.attacksSurvived = 2;
    const int32_t oldCar = playerVehicle().handle;
    const sim::Vec3 revivedAt = playerVehicle().position + sim::Vec3{30.0f, 10.0f, 0.0f};
    host.world().combat().setRevivalPoint(revivedAt);
    destroyPlayersVehicle();
    runFrame();
    ASSERT_EQ(mod.playerDown, 1);
    const float score = mod.score;
    EXPECT_STREQ(mod.messageText, "You have died...respawning in 15 seconds");

    // Waiting for revival: each frame only asks whether the player is dead.
    const std::size_t fadesBefore = host.world().records().fades().size();
    for (int frame = 0; frame < 118; ++frame) {
        runFrame();
        ASSERT_EQ(countThisFrame(kIsEntityDead), 1) << frame;
        ASSERT_EQ(countThisFrame(kTaskHeliMission), 0);
        ASSERT_EQ(host.screen().findText("SCORE: "), nullptr);
    }
    EXPECT_EQ(host.world().records().fades().size(), fadesBefore);
    EXPECT_EQ(mod.playerDown, 1);

    // Waiting for control: a fade-out and half a second each time.
    recording = true;
    history.clear();
    ASSERT_TRUE(runUntil([] { return mod.playerDown == 0; }, 400));
    std::vector<int64_t> fadeOutFrames;
    for (const sim::FadeEvent& fade : host.world().records().fades()) {
        if (!fade.fadeIn && fade.durationMs == 10) fadeOutFrames.push_back(fade.frame);
    }
    ASSERT_GE(fadeOutFrames.size(), 4u);
    for (std::size_t index = 1; index < fadeOutFrames.size(); ++index) {
        EXPECT_EQ(fadeOutFrames[index] - fadeOutFrames[index - 1], 31);  // 500 ms, then the next frame
    }
    EXPECT_EQ(callsOf(kIsPlayerControlOn).size(), fadeOutFrames.size());
    EXPECT_STREQ(mod.messageText, "Respawned, you can press F9 to exit...");
    EXPECT_EQ(mod.messageTotalFrames, 70);

    ASSERT_TRUE(runUntilRespawned());
    recording = false;

    // The new vehicle: of the checkpoint's model, at the checkpoint, the player at its wheel,
    // at the checkpoint's heading and speed, engine on, set on the ground.
    const sim::LoggedCall created = callsOf(kCreateVehicle).at(0);
    EXPECT_EQ(created.arguments[0], sim::hashOfName("SIM_CAR"));
    EXPECT_EQ(created.floatArg(1), checkpoint.x);
    EXPECT_EQ(created.floatArg(2), checkpoint.y);
    EXPECT_EQ(created.floatArg(3), checkpoint.z);
    EXPECT_EQ(created.floatArg(4), 0.0f);
    const int32_t newCar = created.intResult();
    ASSERT_NE(newCar, oldCar);
    EXPECT_EQ(host.world().entities().vehicleOf(player().handle), newCar);
    EXPECT_EQ(callsOf(kSetPedIntoVehicle).at(0).describe(),
              "setPedIntoVehicle(" + std::to_string(player().handle) + ", " + std::to_string(newCar) + ", -1)");
    const sim::LoggedCall placed = callsOf(kSetEntityCoords).at(0);
    EXPECT_EQ(placed.describe().substr(placed.describe().rfind(", 1, 1, 1, 0)")), ", 1, 1, 1, 0)");
    EXPECT_EQ(placed.floatArg(3), checkpoint.z + 5.0f);
    EXPECT_EQ(callsOf(kSetEntityHeading).at(0).floatArg(1), checkpointHeading);
    EXPECT_EQ(callsOf(kSetVehicleForwardSpeed).at(0).floatArg(1), checkpointSpeed);
    const sim::Entity& car = *host.world().entities().find(newCar);
    EXPECT_TRUE(car.engineOn);
    EXPECT_EQ(car.setOnGroundCalls, 1);
    EXPECT_EQ(callsOf(kSetVehicleEngineOn).at(0).describe(), "setVehicleEngineOn(" + std::to_string(newCar) + ", 1, 1, 0)");

    // The helicopter twice: beside the checkpoint, then as the pursuit's catch-up would put
    // it beside where the player was revived (standing: no velocity).
    std::vector<sim::LoggedCall> heliPlaced;
    for (const sim::LoggedCall& call : callsOf(kSetEntityCoords)) {
        if (call.intArg(0) == mod.heliVehicle) heliPlaced.push_back(call);
    }
    ASSERT_EQ(heliPlaced.size(), 2u);
    EXPECT_EQ(heliPlaced[0].floatArg(1), checkpoint.x);
    EXPECT_EQ(heliPlaced[0].floatArg(2), checkpoint.y);
    EXPECT_EQ(heliPlaced[0].floatArg(3), checkpoint.z + 10.0f);
    EXPECT_EQ(heliPlaced[1].floatArg(1), revivedAt.x);
    EXPECT_EQ(heliPlaced[1].floatArg(2), revivedAt.y);
    EXPECT_EQ(heliPlaced[1].floatArg(3), revivedAt.z + 20.0f);
    for (const sim::LoggedCall& call : heliPlaced) {
        EXPECT_EQ(std::vector<int32_t>({call.intArg(4), call.intArg(5), call.intArg(6), call.intArg(7)}),
                  (std::vector<int32_t>{0, 0, 0, 1}));
    }
    const std::vector<sim::LoggedCall> speeds = callsOf(kSetVehicleForwardSpeed);
    ASSERT_EQ(speeds.size(), 3u);
    EXPECT_EQ(speeds[1].floatArg(1), 15.0f);  // standing: 0 x 2 + 15
    EXPECT_EQ(speeds[2].floatArg(1), 10.0f);  // 0 x 1.2 + Level 1's bonus
    // The camera behind the player, once, between setting the vehicle down and the last placement.
    std::vector<uint64_t> order;
    for (const sim::LoggedCall& call : history) {
        if (call.hash == kSetVehicleOnGroundProperly || call.hash == kSetCameraHeading || call.hash == kSetCameraPitch ||
            (call.hash == kSetEntityCoords && call.intArg(0) == mod.heliVehicle)) {
            order.push_back(call.hash);
        }
    }
    EXPECT_EQ(order, (std::vector<uint64_t>{kSetEntityCoords, kSetVehicleOnGroundProperly, kSetCameraHeading,
                                            kSetCameraPitch, kSetEntityCoords}));
    EXPECT_EQ(callsOf(kSetCameraHeading).at(0).describe(), "setGameplayCamRelativeHeading(0)");
    EXPECT_EQ(callsOf(kSetCameraPitch).at(0).describe(), "setGameplayCamRelativePitch(0, 1)");

    // The encounter's state, and the slow intro toward where the player was.
    EXPECT_EQ(mod.heliSightFrames, -50);
    EXPECT_EQ(mod.attacksSurvived, 0);
    EXPECT_EQ(mod.missileSequenceActive, 0);
    EXPECT_EQ(mod.score, score * 0.5f);
    const sim::World& world = host.world();
    EXPECT_TRUE(world.records().fades().back().fadeIn);
    EXPECT_EQ(world.records().fades().back().durationMs, 7000);
    const std::vector<sim::ValueEvent>& scales = world.records().timeScales();
    EXPECT_EQ(scales[scales.size() - 2].value, 0.5f);
    EXPECT_EQ(scales.back().value, 1.0f);
    EXPECT_EQ(scales.back().frame - scales[scales.size() - 2].frame, 120);
    EXPECT_EQ(world.records().hintFovs()[world.records().hintFovs().size() - 2].value, 20.0f);
    EXPECT_EQ(world.records().hintFovs().back().value, 1.0f);
    EXPECT_EQ(world.records().cameraHints().back().point.x, revivedAt.x);
    EXPECT_EQ(world.records().cameraHints().back().point.z, revivedAt.z + 10.0f);
    // The player drives the new vehicle away: the plug-in does not hold it.
    EXPECT_EQ(world.entities().heldByScript(), (std::vector<int32_t>{mod.heliVehicle, mod.heliPilot}));

    // 50 more steps in sight than usual before the next salvo.
    int steps = 0;
    while (mod.missileSequenceActive == 0 && steps < 1000) {
        runFrame();
        ++steps;
    }
    EXPECT_EQ(steps, 351);
    EXPECT_EQ(mod.missileSequenceFrame, -50);
}

// Every death returns to the same checkpoint until a strike records another; each respawn
// halves the score.
TEST_F(RespawnTest, TwoDeathsReturnToTheSameCheckpoint) {
    host.world().combat().setRevivalDelay(30);
    host.world().combat().setControlDelay(0);
    startLevelOne();
    const Vector3 checkpoint = mod.checkpointPosition;
    for (int death = 0; death < 2; ++death) {
        SCOPED_TRACE(death);
        runFrames(150);
        destroyPlayersVehicle();
        runFrame();
        const float score = mod.score;
        recording = true;
        history.clear();
        ASSERT_TRUE(runUntilRespawned());
        recording = false;
        const sim::LoggedCall created = callsOf(kCreateVehicle).at(0);
        EXPECT_EQ(created.floatArg(1), checkpoint.x);
        EXPECT_EQ(created.floatArg(2), checkpoint.y);
        EXPECT_EQ(mod.score, score * 0.5f);
        EXPECT_TRUE(mod.encounterActive);
        EXPECT_EQ(mod.checkpointPosition.x, checkpoint.x);
        runFrame();
        EXPECT_NE(host.screen().findText("SCORE: "), nullptr);  // the encounter goes on
    }
    EXPECT_EQ(host.world().entities().heldByScript(), (std::vector<int32_t>{mod.heliVehicle, mod.heliPilot}));
}

// A stray flag (down without a checkpoint) is cleared at once, and the encounter goes on.
TEST_F(RespawnTest, StrayFlagIsCleared) {
    startLevelOne();
    mod.playerDown = 1;
    mod.checkpointSaved = 0;
    const std::size_t fades = host.world().records().fades().size();
    runFrame();
    EXPECT_EQ(mod.playerDown, 0);
    EXPECT_EQ(host.world().records().fades().size(), fades);
    EXPECT_EQ(host.screen().findText("SCORE: "), nullptr);  // the respawn had the frame
    runFrame();
    EXPECT_NE(host.screen().findText("SCORE: "), nullptr);
}

// Leaving with the menu key while the respawn waits for control ends the encounter and
// fades the screen back in (1000 ms): nothing else would.
TEST_F(RespawnTest, LeavingDuringTheRespawnFadesTheScreenBackIn) {
    host.world().combat().setRevivalDelay(10);
    host.world().combat().setControlDelay(sim::kNever);
    startLevelOne();
    destroyPlayersVehicle();
    ASSERT_TRUE(runUntil([&] {
        int blackouts = 0;
        for (const sim::FadeEvent& fade : host.world().records().fades()) blackouts += fade.durationMs == 10 ? 1 : 0;
        return blackouts >= 3;
    }, 400));
    host.runFrames(sim::kKeyLockoutFrames);
    host.setKey(vk::F9, true);
    ASSERT_TRUE(runUntilEncounterEnds(100));
    host.setKey(vk::F9, false);
    EXPECT_STREQ(mod.messageText, "The insurgent seems to be leaving...");
    EXPECT_TRUE(host.world().records().fades().back().fadeIn);
    EXPECT_EQ(host.world().records().fades().back().durationMs, 1000);
    EXPECT_TRUE(host.world().entities().heldByScript().empty());
    const std::size_t fades = host.world().records().fades().size();
    runFrames(100);
    EXPECT_EQ(host.world().records().fades().size(), fades);
}

}  // namespace
