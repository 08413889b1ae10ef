// The helicopter's pursuit: its mission every step, the catch-up, the salvos on time with
// their warning, and the armor shield.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "encounter_test.h"
#include "runtime/text.h"

namespace {

using PursuitTest = EncounterTest;

// Every pursuit step gives the pilot its mission anew: 2.8 s ahead of the player, 30 up.
// The pilot flies there and the helicopter stays close; no step runs during a sequence.
TEST_F(PursuitTest, PilotIsSentAheadOfThePlayerEveryStep) {
    startLevelFromMenu(0);
    for (int frame = 0; frame < 200; ++frame) {
        runFrame();
        ASSERT_EQ(countThisFrame(kTaskHeliMission), 1);
        const sim::LoggedCall& mission = *lastThisFrame(kTaskHeliMission);
        const Vector3& p = mod.playerPosition;
        const Vector3& v = mod.targetVelocity;
        const std::string expected = "taskHeliMission(" + std::to_string(mod.heliPilot) + ", " +
                                     std::to_string(mod.heliVehicle) + ", 0, 0, ";
        ASSERT_EQ(mission.describe().substr(0, expected.size()), expected);
        EXPECT_EQ(mission.floatArg(4), p.x + v.x * 2.8f);
        EXPECT_EQ(mission.floatArg(5), p.y + v.y * 2.8f);
        EXPECT_EQ(mission.floatArg(6), p.z + 30.0f);
        EXPECT_EQ(mission.intArg(7), 4);
        EXPECT_EQ(mission.floatArg(8), 80.0f);
        EXPECT_EQ(mission.floatArg(9), 80.0f);
        EXPECT_EQ(mission.floatArg(10), 5.0f);
        EXPECT_EQ(mission.intArg(11), 10);
        EXPECT_EQ(mission.intArg(12), 10);
        EXPECT_EQ(mission.floatArg(13), 30.0f);
        EXPECT_EQ(mission.intArg(14), 4096);
        EXPECT_EQ(countThisFrame(kSetEntityCoords), 0) << "the pilot keeps up: no catch-up";
    }
    // The distance to the helicopter leaves the height out.
    const sim::LoggedCall* distance = lastThisFrame(kGetDistanceBetweenCoords);
    ASSERT_NE(distance, nullptr);
    EXPECT_EQ(distance->intArg(6), 0);
    EXPECT_EQ(mod.heliDistance, distance->floatResult());
    EXPECT_NEAR(mod.heliDistance, std::hypot(mod.heliPosition.x - mod.playerPosition.x,
                                             mod.heliPosition.y - mod.playerPosition.y), 1e-3f);
    EXPECT_LT(mod.heliDistance, 90.0f);
    EXPECT_GT(helicopter()->position.z, mod.playerPosition.z + 10.0f);

    mod.missileSequenceActive = 1;
    mod.missileSequenceFrame = -50;
    runFrame();
    EXPECT_EQ(countThisFrame(kTaskHeliMission), 0);
}

// With sight on every step, the first salvo comes on the step that takes the count past
// twice the level's interval: the 301st on Level 1, the 81st on Level 5. It warns with cue
// 101, runs its 152 steps without a pursuit step, and counts as survived.
TEST_F(PursuitTest, FirstSalvoComesOnTime) {
    struct Case {
        int32_t row;
        int salvoStep;
    };
    for (const Case c : {Case{0, 301}, Case{4, 81}}) {
        SCOPED_TRACE(c.row);
        if (mod.encounterActive) abandonEncounter();
        host.world().entities().setSight(sim::Sight::AlwaysClear);
        host.world().combat().weaponAsset("WEAPON_VEHICLE_ROCKET").loadFrames = 0;
        host.world().combat().setHarmlessMissiles(true);
        mod.upgradeLevels[kArmorUpgrade] = 1;
        startLevelFromMenu(c.row);
        int step = 1;  // the level start's frame ran the first
        while (mod.missileSequenceActive == 0 && step < 1000) {
            runFrame();
            ++step;
            if (mod.missileSequenceActive == 0) {
                EXPECT_EQ(cuesThisFrame(kSalvoWarningCue), 0) << step;
            }
        }
        EXPECT_EQ(step, c.salvoStep);
        EXPECT_EQ(cuesThisFrame(kSalvoWarningCue), 1);
        EXPECT_EQ(mod.missileSequenceFrame, -50);
        EXPECT_EQ(mod.counterAttackSequence, 0);
        EXPECT_EQ(mod.missilesLaunched, 0);

        int sequenceSteps = 0;
        while (mod.missileSequenceActive != 0 && sequenceSteps < 1000) {
            runFrame();
            ++sequenceSteps;
            EXPECT_EQ(countThisFrame(kTaskHeliMission), mod.missileSequenceActive ? 0 : 1);
        }
        EXPECT_EQ(sequenceSteps, 152);  // -49 to 101, then the step that ends it
        EXPECT_EQ(mod.missileSequenceFrame, 101);
        EXPECT_EQ(mod.attacksSurvived, 1);
        EXPECT_EQ(mod.heliSightFrames, 1);  // cleared at the end, then that frame's pursuit step
        EXPECT_EQ(hudLine("POWERUP"), "POWERUP: I");
    }
}

// A helicopter more than 90 units away is put back beside the player; seen there, it
// fires at once, unless the count is negative (just after a respawn). When the count also
// passes its mark in the same step, the cue plays twice and one salvo starts.
TEST_F(PursuitTest, CatchUpPutsTheHelicopterBackAndFires) {
    struct Case {
        int32_t sightFrames;
        int cues;
        int32_t sightFramesAfter;
        bool salvo;
    };
    const Case cases[] = {
        {0, 1, 1, true},
        {-50, 0, -49, false},
        {300, 2, 301, true},
        {-1, 0, 0, false},
    };
    startLevelFromMenu(0);
    host.world().entities().setSight(sim::Sight::AlwaysClear);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sightFrames);
        mod.missileSequenceActive = 0;
        mod.heliSightFrames = c.sightFrames;
        mod.upgradeLevels[kArmorUpgrade] = 1;
        sim::Entity& heli = *helicopter();
        host.world().entities().place(heli, player().position + sim::Vec3{91.0f, 0.0f, 0.0f});
        const uint32_t randomBefore = mod.randomState;
        runFrame();

        const sim::LoggedCall* put = lastThisFrame(kSetEntityCoords);
        ASSERT_NE(put, nullptr);
        const Vector3& p = mod.playerPosition;
        const Vector3& v = mod.targetVelocity;
        EXPECT_EQ(put->intArg(0), heli.handle);
        EXPECT_EQ(put->floatArg(1), p.x + v.x * 0.2f);
        EXPECT_EQ(put->floatArg(2), p.y + v.y * 0.2f);
        EXPECT_EQ(put->floatArg(3), p.z + v.z + 20.0f);
        EXPECT_EQ(std::vector<int32_t>({put->intArg(4), put->intArg(5), put->intArg(6), put->intArg(7)}),
                  (std::vector<int32_t>{0, 0, 0, 1}));
        const sim::LoggedCall* speed = lastThisFrame(kSetVehicleForwardSpeed);
        ASSERT_NE(speed, nullptr);
        EXPECT_EQ(speed->floatArg(1), mod.playerSpeed * 1.2f + 10.0f);
        EXPECT_FLOAT_EQ(lastThisFrame(kSetEntityHeading)->floatArg(1), player().heading);

        EXPECT_EQ(cuesThisFrame(kSalvoWarningCue), c.cues);
        EXPECT_EQ(mod.heliSightFrames, c.sightFramesAfter);
        EXPECT_EQ(mod.missileSequenceActive, c.salvo ? 1 : 0);
        // One salvo, one roll for the shield.
        EXPECT_EQ(mod.randomState, c.salvo ? randomBefore * 214013u + 2531011u : randomBefore);
        if (c.salvo) {
            EXPECT_EQ(mod.missileSequenceFrame, -50);
        }
    }
}

// At a salvo's start the shield comes up when the draw mod 40 is below 4 x the armor tier:
// 10 % per tier. It makes the vehicle invincible for the salvo and drops at its end.
TEST_F(PursuitTest, ArmorShieldChancesByTier) {
    startLevelFromMenu(0);
    host.world().entities().setSight(sim::Sight::AlwaysClear);
    const int32_t car = playerVehicle().handle;
    for (int32_t tier = 1; tier <= 4; ++tier) {
        for (const int32_t remainder : {0, 3, 4, 7, 8, 11, 12, 15, 16, 39}) {
            SCOPED_TRACE(testing::Message() << "tier " << tier << ", draw mod 40 = " << remainder);
            const bool shielded = remainder < tier * 4;
            mod.upgradeLevels[kArmorUpgrade] = tier;
            mod.heliSightFrames = 300;
            mod.randomState = stateDrawing(remainder);
            copyText(mod.messageText, "");
            runFrame();
            ASSERT_EQ(mod.missileSequenceActive, 1);
            EXPECT_EQ(mod.armorShieldActive, shielded ? 1 : 0);
            EXPECT_EQ(host.world().entities().find(car)->invincible, shielded);
            EXPECT_EQ(std::string(mod.messageText), shielded ? "~b~ARMOR ACTIVE" : "");
            if (shielded) {
                EXPECT_EQ(mod.messageTotalFrames, 120);
                EXPECT_TRUE(mod.messageRising);
            }
            ASSERT_TRUE(runUntil([] { return mod.missileSequenceActive == 0; }, 200));
            EXPECT_EQ(mod.armorShieldActive, 0);
            EXPECT_FALSE(host.world().entities().find(car)->invincible);
        }
    }
}

// The shield drops from the vehicle the player uses when the salvo ends, and then from every
// other vehicle it made invincible that still exists: one the player left during the salvo
// must not stay indestructible. A player on foot gets the message all the same.
TEST_F(PursuitTest, ShieldDropsFromEveryVehicleItMadeInvincible) {
    startLevelFromMenu(0);
    host.world().entities().setSight(sim::Sight::AlwaysClear);
    const int32_t firstCar = playerVehicle().handle;
    mod.upgradeLevels[kArmorUpgrade] = 4;
    mod.heliSightFrames = 300;
    mod.randomState = stateDrawing(0);
    runFrame();
    ASSERT_TRUE(host.world().entities().find(firstCar)->invincible);
    sim::Entity& secondCar = host.world().entities().putPlayerInVehicle();
    ASSERT_TRUE(runUntil([] { return mod.missileSequenceActive == 0; }, 200));
    const std::string first = std::to_string(firstCar), second = std::to_string(secondCar.handle);
    const std::vector<std::string> calls = describeCalls();
    const auto dropped = std::find(calls.begin(), calls.end(), "setEntityInvincible(" + second + ", 0)");
    ASSERT_GE(std::distance(dropped, calls.end()), 3);
    EXPECT_EQ(std::vector<std::string>(dropped, dropped + 3), (std::vector<std::string>{"setEntityInvincible(" + second + ", 0)", "doesEntityExist(" + first + ")",
                                              "setEntityInvincible(" + first + ", 0)"}));
    EXPECT_FALSE(host.world().entities().find(firstCar)->invincible);
    EXPECT_FALSE(secondCar.invincible);
    EXPECT_EQ(mod.armorShieldActive, 0);

    host.world().entities().leaveVehicle(player().handle);
    mod.heliSightFrames = 300;
    mod.randomState = stateDrawing(0);
    runFrame();
    EXPECT_EQ(mod.missileSequenceActive, 1);
    EXPECT_EQ(mod.armorShieldActive, 1);
    EXPECT_STREQ(mod.messageText, "~b~ARMOR ACTIVE");
    EXPECT_FALSE(secondCar.invincible);
}

}  // namespace
