// Starting a level: the start point, the helicopter and its pilot, the intro and the
// announcement, and the ways a start goes wrong.
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "encounter_test.h"
#include "virtual_keys.h"

namespace {

using LevelStartTest = EncounterTest;

// The call just before the given index, of this hash: the level start's reading of the
// player once the vehicle stands at the start point.
const sim::LoggedCall& lastBefore(const std::vector<sim::LoggedCall>& calls, std::size_t before, uint64_t hash) {
    for (std::size_t index = before; index-- > 0;) {
        if (calls[index].hash == hash) return calls[index];
    }
    throw std::runtime_error("no such call before");
}

TEST_F(LevelStartTest, LevelOneFromTheMenuInAVehicle) {
    host.world().entities().putPlayerInVehicle();  // standing still where the player stands
    startLevelFromMenu(0);
    ASSERT_TRUE(mod.encounterActive);
    EXPECT_EQ(mod.menuOpen, 0);

    // The vehicle went to the start point, facing its heading, at forward speed 20.
    const std::vector<sim::LoggedCall> placed = callsOf(kSetEntityCoordsNoOffset);
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].intArg(0), playerVehicle().handle);
    EXPECT_EQ(placed[0].describe(), "setEntityCoordsNoOffset(" + std::to_string(playerVehicle().handle) +
                                        ", 2168.95, -555.323, 94.05, 0, 0, 0)");
    EXPECT_FLOAT_EQ(callsOf(kSetEntityHeading)[0].floatArg(1), 312.94f);
    EXPECT_FLOAT_EQ(callsOf(kSetVehicleForwardSpeed)[0].floatArg(1), 20.0f);
    EXPECT_EQ(playerVehicle().setOnGroundCalls, 1);

    // The helicopter: one second ahead of the player as read after the placement, 8 up.
    std::size_t created = 0;
    while (history[created].hash != kCreateVehicle) ++created;
    const sim::LoggedCall& position = lastBefore(history, created, kGetEntityCoords);
    const sim::LoggedCall& velocity = lastBefore(history, created, kGetEntityVelocity);
    const sim::LoggedCall& speed = lastBefore(history, created, kGetEntitySpeed);
    const sim::LoggedCall& create = history[created];
    EXPECT_EQ(create.arguments[0], sim::hashOfName("BUZZARD"));
    EXPECT_EQ(create.floatArg(1), position.floatResult(0) + velocity.floatResult(0));
    EXPECT_EQ(create.floatArg(2), position.floatResult(1) + velocity.floatResult(1));
    EXPECT_EQ(create.floatArg(3), position.floatResult(2) + 8.0f);
    EXPECT_NEAR(position.floatResult(0), 2168.954f, 2.0f);  // it has driven on a little
    EXPECT_EQ(create.floatArg(4), 0.0f);
    // Its forward speed from the speed after the placement (20), not the standing start (0).
    EXPECT_NEAR(speed.floatResult(), 20.0f, 1e-4f);
    const std::vector<sim::LoggedCall> speeds = callsOf(kSetVehicleForwardSpeed);
    ASSERT_EQ(speeds.size(), 2u);
    EXPECT_EQ(speeds[1].intArg(0), mod.heliVehicle);
    EXPECT_EQ(speeds[1].floatArg(1), speed.floatResult() * 1.5f + 10.0f);
    EXPECT_EQ(callsOf(kHelicopterSetup)[0].describe(), "helicopterSetup(" + std::to_string(mod.heliVehicle) + ", 0, 0, 3)");

    const sim::Entity& heli = *helicopter();
    EXPECT_TRUE(heli.invincible);
    EXPECT_TRUE(heli.missionEntity);
    EXPECT_EQ(heli.landingGear, 3);
    const sim::Entity& pilot = *host.world().entities().find(mod.heliPilot);
    EXPECT_EQ(pilot.vehicle, heli.handle);
    EXPECT_EQ(pilot.seat, sim::kDriverSeat);
    EXPECT_EQ(pilot.model, sim::hashOfName("s_m_y_swat_01"));
    EXPECT_EQ(pilot.pedType, 26);
    EXPECT_TRUE(pilot.invincible);
    EXPECT_EQ(pilot.fleeAttributes, 0);
    EXPECT_EQ(pilot.hearingRange, 0.0f);
    EXPECT_EQ(pilot.seeingRange, 0.0f);

    // The encounter's state.
    EXPECT_EQ(mod.heliHealth, 80.0f);
    EXPECT_EQ(mod.missileWeapon, sim::hashOfName("WEAPON_VEHICLE_ROCKET"));
    EXPECT_EQ(mod.checkpointSaved, 1);

    // The intro: faded out for the move, faded in slowly under slow motion and the hint.
    const sim::World& world = host.world();
    ASSERT_EQ(world.records().fades().size(), 2u);
    EXPECT_FALSE(world.records().fades()[0].fadeIn);
    EXPECT_EQ(world.records().fades()[0].durationMs, 200);
    EXPECT_TRUE(world.records().fades()[1].fadeIn);
    EXPECT_EQ(world.records().fades()[1].durationMs, 4000);
    ASSERT_EQ(world.records().timeScales().size(), 2u);
    EXPECT_EQ(world.records().timeScales()[0].value, 0.25f);
    EXPECT_EQ(world.records().timeScales()[1].value, 1.0f);
    EXPECT_EQ(world.records().timeScales()[1].frame - world.records().timeScales()[0].frame, 90);  // 1500 ms
    ASSERT_EQ(world.records().hintFovs().size(), 2u);
    EXPECT_EQ(world.records().hintFovs()[0].value, 20.0f);
    EXPECT_EQ(world.records().hintFovs()[1].value, 1.0f);
    ASSERT_EQ(world.records().cameraHints().size(), 1u);
    EXPECT_EQ(world.records().cameraHints()[0].point.z, position.floatResult(2) + 10.0f);
    EXPECT_EQ(world.records().cameraHints()[0].point.x, position.floatResult(0) + velocity.floatResult(0));
    EXPECT_EQ(std::count(world.records().cameraHints()[0].timings, world.records().cameraHints()[0].timings + 4, 10), 4);

    // The announcement rises from the next frame on.
    runFrame();
    const sim::ScreenText* announcement = host.screen().findText("You have been marked");
    ASSERT_NE(announcement, nullptr);
    EXPECT_EQ(announcement->text, "You have been marked by an insurgent helo! ~r~Take him down! ~w~(Level 1)");
    EXPECT_EQ(mod.messageTotalFrames, 140);
    EXPECT_TRUE(mod.messageRising);
}

// The first checkpoint is the vehicle at the end of the intro, when the option is on; each
// level start clears the last one.
TEST_F(LevelStartTest, FirstCheckpointOnlyWithTheOption) {
    for (const int32_t enabled : {1, 0, 1}) {
        if (mod.encounterActive) abandonEncounter();
        startLevelFromMenu(0, [&] { mod.checkpointEnabled = enabled; });
        EXPECT_TRUE(mod.encounterActive);
        EXPECT_EQ(mod.checkpointSaved, enabled) << "option " << enabled;
    }
}

// An index past the last level plays the hidden last one, which keeps the best score it had
// (it has none of its own); a row with a stored best reads it (none is stored here: 0).
TEST_F(LevelStartTest, AnIndexPastTheLastLevelPlaysTheHiddenOne) {
    struct Case {
        int32_t level;
        int32_t row;
        const char* model;
        float health;
        sim::Vec3 start;
        float bestAfter;
        std::string announced;
    };
    const std::string hidden = "~w~(Level " + std::to_string(kLastLevel + 1) + ")";
    const Case cases[] = {
        {kLastLevel + 2, kLastLevel, "SAVAGE", 700.0f, {2302.969f, 3861.948f, 34.396f}, 1234.0f, hidden},
        {kLastLevel, kLastLevel, "SAVAGE", 700.0f, {2302.969f, 3861.948f, 34.396f}, 1234.0f, hidden},
        {4, 4, "SAVAGE", 700.0f, {2302.969f, 3861.948f, 34.396f}, 0.0f, "~w~(Level 5)"},
        {1, 1, "ANNIHILATOR", 140.0f, {-2042.4344f, 4471.1064f, 56.907f}, 0.0f, "~w~(Level 2)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        loadScriptStartingLevel(c.level);
        mod.levelHighScore = 1234.0f;
        finishLevelStart();
        EXPECT_EQ(mod.currentLevel, c.row);
        ASSERT_NE(helicopter(), nullptr);
        EXPECT_EQ(helicopter()->model, sim::hashOfName(c.model));
        EXPECT_EQ(mod.heliHealth, c.health);
        EXPECT_EQ(mod.levelHighScore, c.bestAfter);
        const std::vector<sim::LoggedCall> placed = callsOf(kSetEntityCoordsNoOffset);
        ASSERT_EQ(placed.size(), 1u);
        EXPECT_EQ(placed[0].floatArg(1), c.start.x);
        EXPECT_EQ(placed[0].floatArg(2), c.start.y);
        EXPECT_EQ(placed[0].floatArg(3), c.start.z);
        const std::string announcement = mod.messageText;
        EXPECT_EQ(announcement.substr(announcement.size() - c.announced.size()), c.announced);
    }
}

// The menu checked the vehicle, but it is gone by the time of the placement: "Error: 105",
// nothing is moved, and the level runs where the player stands.
TEST_F(LevelStartTest, VehicleGoneAfterTheFadeStartsTheLevelWhereThePlayerStands) {
    sim::Entity& car = host.world().entities().putPlayerInVehicle();
    host.world().entities().place(player(), {100.0f, 200.0f, 30.0f});
    host.world().entities().seat(player().handle, car.handle, sim::kDriverSeat);
    host.world().entities().place(car, {100.0f, 200.0f, 30.0f});
    host.pressFor1Frame(vk::F9);
    host.runFrames(sim::kKeyLockoutFrames);
    recording = true;
    host.setKey(vk::Numpad5, true);
    runFrame();
    host.setKey(vk::Numpad5, false);
    host.world().entities().remove(car.handle);  // during the 200 ms fade
    EXPECT_TRUE(runUntil([] { return std::string(mod.messageText) == "Error: 105"; }, 30));
    finishLevelStart();
    EXPECT_TRUE(callsOf(kSetEntityCoordsNoOffset).empty());
    EXPECT_TRUE(mod.encounterActive);
    EXPECT_EQ(mod.checkpointSaved, 0);  // no vehicle to record
    EXPECT_FLOAT_EQ(mod.playerPosition.x, 100.0f);
    ASSERT_NE(helicopter(), nullptr);
    EXPECT_NEAR(helicopter()->position.x, 100.0f, 5.0f);
    // A standing player on Level 1 gets a helicopter at forward speed 10.
    EXPECT_EQ(callsOf(kSetVehicleForwardSpeed).back().floatArg(1), 10.0f);
    EXPECT_NE(std::string(mod.messageText).find("(Level 1)"), std::string::npos);
}

// The host makes no helicopter: the intro still brings the screen back, but no checkpoint
// is recorded and no attack is announced; "Error: 101" stays and nothing is left held.
TEST_F(LevelStartTest, HelicopterThatCannotBeCreatedLeavesErrorOnScreen) {
    host.world().entities().model("BUZZARD").creationFails = true;
    startLevelFromMenu(0);
    EXPECT_FALSE(mod.encounterActive);
    EXPECT_EQ(mod.heliVehicle, 0);
    EXPECT_EQ(mod.heliPilot, 0);
    EXPECT_EQ(mod.checkpointSaved, 0);
    EXPECT_STREQ(mod.messageText, "Error: 101");
    const sim::World& world = host.world();
    ASSERT_EQ(world.records().fades().size(), 2u);
    EXPECT_TRUE(world.records().fades()[1].fadeIn);
    EXPECT_EQ(world.records().timeScale(), 1.0f);
    EXPECT_EQ(world.records().hintFovs().back().value, 1.0f);
    EXPECT_EQ(host.world().entities().model("s_m_y_swat_01").requestedFrame, -1);  // no pilot was made
    EXPECT_TRUE(world.entities().heldByScript().empty());

    runFrames(2);
    ASSERT_NE(host.screen().findText("Error: 101"), nullptr);
    EXPECT_EQ(host.screen().findText("You have been marked"), nullptr);
}

// A helicopter still held when a level starts is handed back, with its pilot, before the
// new ones are made; abandoning the level hands the new ones back too.
TEST_F(LevelStartTest, SecondLevelStartHandsBackTheOldHelicopterAndPilot) {
    startLevelFromMenu(0);
    const int32_t oldHeli = mod.heliVehicle;
    const int32_t oldPilot = mod.heliPilot;
    const std::size_t before = host.world().entities().ownership().size();
    mod.encounterActive = false;  // an encounter that ended without releasing its helicopter
    host.runFrames(sim::kKeyLockoutFrames);
    startLevelFromMenu(1);

    const std::vector<sim::OwnershipEvent> events(host.world().entities().ownership().begin() + static_cast<long>(before),
                                                  host.world().entities().ownership().end());
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].kind, sim::OwnershipEvent::HandedBack);
    EXPECT_EQ(events[0].handle, oldPilot);
    EXPECT_EQ(events[1].kind, sim::OwnershipEvent::HandedBack);
    EXPECT_EQ(events[1].handle, oldHeli);
    EXPECT_EQ(events[2].kind, sim::OwnershipEvent::Created);
    EXPECT_EQ(events[2].handle, mod.heliVehicle);
    EXPECT_EQ(events[3].handle, mod.heliPilot);
    EXPECT_EQ(host.world().entities().heldByScript(), (std::vector<int32_t>{mod.heliVehicle, mod.heliPilot}));

    abandonEncounter();
    EXPECT_FALSE(mod.encounterActive);
    EXPECT_TRUE(host.world().entities().heldByScript().empty());
}

// Models stream in their own time: the level start asks once and then polls every frame,
// for as long as it takes, and nothing else of the plug-in runs meanwhile.
TEST_F(LevelStartTest, ModelsArePolledEveryFrameWithoutLimit) {
    host.world().entities().model("BUZZARD").loadFrames = sim::kNeverLoads;
    host.world().entities().putPlayerInVehicle();
    host.pressFor1Frame(vk::F9);
    host.tapKey(vk::Numpad5);
    host.runFrames(100);
    for (int frame = 0; frame < 5; ++frame) {
        host.runFrame();
        EXPECT_EQ(countThisFrame(kHasModelLoaded), 1);
        EXPECT_EQ(host.calls().size(), 1u);  // the poll alone: no key, no HUD
    }
    EXPECT_EQ(mod.heliVehicle, 0);

    // Once the model comes, the start goes on; the pilot's model takes 5 frames more.
    host.world().entities().model("BUZZARD").loadFrames = 0;
    host.world().entities().model("s_m_y_swat_01").loadFrames = 5;
    recording = true;
    finishLevelStart();
    EXPECT_TRUE(mod.encounterActive);
    EXPECT_NE(mod.heliPilot, 0);
    EXPECT_EQ(callsOf(kRequestModel).size(), 1u);  // the pilot's; the helicopter's came before
}

}  // namespace
