// The missile sequences and the counter-attack: the strike during a salvo's warning and its
// damage, the fire timetable, the salvo's aim and speed, the counter-attack's missile, the
// weapon's asset, and the armor shield a strike keeps.
#include <cmath>
#include <string>
#include <vector>

#include "encounter_test.h"

namespace {

using CounterAttackTest = EncounterTest;

// Three salvos survived, the prompt during the fourth's warning, a strike on its last frame
// (power 49: 58.8 at tier 1), the hit shown after the sequence; three more salvos and a
// second strike win Level 1, and the file holds the result.
TEST_F(CounterAttackTest, ThreeSalvosThenAStrikeLateInTheWarningUntilTheLevelIsWon) {
    host.world().combat().setHarmlessMissiles(true);
    startLevelOne();
    for (int32_t strike = 1; strike <= 2; ++strike) {
        SCOPED_TRACE(strike);
        for (int32_t survived = 1; survived <= 3; ++survived) {
            ASSERT_TRUE(runUntil([survived] { return mod.attacksSurvived == survived; }, 1000));
            EXPECT_EQ(mod.counterAttackSequence, 0);
        }
        ASSERT_TRUE(runUntilWarningAt(-1));
        EXPECT_EQ(mod.attackPower, 49.0f);
        EXPECT_STREQ(mod.messageText, "~r~ATTACK READY! (NUM9/A) POWER:");
        const float healthBefore = mod.heliHealth;
        const int64_t pressFrame = host.frame() + 1;
        const int32_t car = playerVehicle().handle;
        pressAttackKey();
        if (strike == 2) break;

        // The warning cue stops, the health drops at once, the message is blanked, and the
        // counter-attack's first missile leaves in the same frame.
        EXPECT_EQ(cuesThisFrame(kCuesStopped), 1);
        EXPECT_NEAR(mod.lastStrikeDamage, 58.8f, 1e-4f);
        EXPECT_EQ(mod.heliHealth, healthBefore - mod.lastStrikeDamage);
        EXPECT_EQ(mod.attacksSurvived, 0);
        EXPECT_EQ(mod.counterAttackSequence, 1);
        EXPECT_EQ(mod.missilesLaunched, 1);
        EXPECT_EQ(countThisFrame(kShootSingleBulletBetweenCoords), 1);
        EXPECT_STREQ(mod.messageText, "");
        EXPECT_EQ(mod.messageTotalFrames, 140);
        EXPECT_TRUE(mod.messageRising);
        // The checkpoint is the vehicle as the strike found it.
        const sim::LoggedCall* carPosition = nullptr;
        for (const sim::LoggedCall& call : host.calls()) {
            if (call.hash == kGetEntityCoords && call.intArg(0) == car && carPosition == nullptr) carPosition = &call;
        }
        ASSERT_NE(carPosition, nullptr);
        EXPECT_EQ(mod.checkpointPosition.x, carPosition->floatResult(0));
        EXPECT_EQ(mod.checkpointPosition.y, carPosition->floatResult(1));
        EXPECT_EQ(mod.checkpointVehicleModel, playerVehicle().model);
        EXPECT_NEAR(mod.checkpointSpeed, 20.0f, 1e-3f);

        ASSERT_TRUE(runUntilSequenceEnds());
        EXPECT_EQ(host.frame() - pressFrame, 101);  // 102 steps, 0 to 101
        EXPECT_EQ(hudLine("~r~Great hit! Damage: "), "~r~Great hit! Damage: 58");
        EXPECT_EQ(mod.attacksSurvived, 0);  // the replaced salvo does not count
    }

    // The second strike leaves no health: the won sequence runs in the same frame, and the
    // helicopter blows up 100 ms later.
    const int32_t heli = mod.heliVehicle;
    EXPECT_EQ(mod.heliHealth, 0.0f);
    ASSERT_TRUE(runUntilEncounterEnds());
    EXPECT_TRUE(host.world().entities().find(heli)->wrecked);
    EXPECT_EQ(host.world().combat().casualties().at(0).handle, heli);
    const uint32_t best = stored("high_score_0");
    EXPECT_GT(best, 0u);
    EXPECT_NE(std::string(mod.messageText).find("NEW HIGH SCORE: " + std::to_string(best)), std::string::npos);
    EXPECT_EQ(stored("open_levels"), 2u);
    EXPECT_EQ(stored("upgrade_points"), 3u);
    EXPECT_TRUE(host.world().entities().heldByScript().empty());
}

// Damage = power x 0.02 x 60 x weapon tier, in single precision; a strike without power
// does no damage and still runs its sequence.
TEST_F(CounterAttackTest, DamageGrowsWithPowerAndWeaponTier) {
    struct Case {
        float power;
        int32_t tier;
        float damage;
        const char* shown;
    };
    const Case cases[] = {
        {25.0f, 2, 60.0f, "60"},
        {49.0f, 1, 58.8f, "58"},
        {49.0f, 4, 235.2f, "235"},
        {0.0f, 3, 0.0f, "0"},
    };
    useReadyHarmlessMissiles();
    startLevelOne();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        mod.heliHealth = 500.0f;
        mod.attacksSurvived = 3;
        mod.counterAttackSequence = 0;
        mod.missileSequenceActive = 1;
        mod.missileSequenceFrame = -10;
        mod.attackPower = c.power;
        mod.upgradeLevels[kWeaponUpgrade] = c.tier;
        pressPadAttack();
        EXPECT_NEAR(mod.lastStrikeDamage, c.damage, 1e-4f);
        EXPECT_EQ(mod.heliHealth, 500.0f - mod.lastStrikeDamage);
        EXPECT_EQ(mod.counterAttackSequence, 1);
        ASSERT_TRUE(runUntilSequenceEnds());
        EXPECT_EQ(hudLine("~r~Great hit! Damage: "), std::string("~r~Great hit! Damage: ") + c.shown);
    }
}

// Only a salvo's warning (frames -149 to -1) with three salvos survived and the player in
// a vehicle, not down, takes a strike; anything else drops the request without a word.
TEST_F(CounterAttackTest, PressOutsideTheWarningDoesNothing) {
    struct Case {
        const char* what;
        int32_t frame;
        int32_t active;
        int32_t counterAttack;
        int32_t survived;
        bool inVehicle;
        bool down;
        bool strikes;
    };
    const Case cases[] = {
        {"warning", -10, 1, 0, 3, true, false, true},
        {"window start", -149, 1, 0, 3, true, false, true},
        {"window end", -1, 1, 0, 3, true, false, true},
        {"before the window", -150, 1, 0, 3, true, false, false},
        {"idle", 101, 0, 0, 3, true, false, false},
        {"firing", 0, 1, 0, 3, true, false, false},
        {"tail", 60, 1, 0, 3, true, false, false},
        {"counter-attack", 30, 1, 1, 3, true, false, false},
        {"two survived", -10, 1, 0, 2, true, false, false},
        {"on foot", -10, 1, 0, 3, false, false, false},
        {"down", -10, 1, 0, 3, true, true, false},
    };
    useReadyHarmlessMissiles();
    startLevelOne();
    const int32_t car = playerVehicle().handle;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.inVehicle) {
            host.world().entities().seat(player().handle, car, sim::kDriverSeat);
        } else {
            host.world().entities().leaveVehicle(player().handle);
        }
        runFrame();  // the dispatch sees the player as the last frame left it
        mod.heliHealth = 500.0f;
        mod.missileSequenceFrame = c.frame;
        mod.missileSequenceActive = c.active;
        mod.counterAttackSequence = c.counterAttack;
        mod.attacksSurvived = c.survived;
        mod.attackPower = 20.0f;
        mod.playerDown = c.down ? 1 : 0;
        if (c.down) mod.checkpointSaved = 0;  // after the dispatch's strike, the flag is only cleared
        pressPadAttack();
        EXPECT_EQ(mod.heliHealth < 500.0f, c.strikes);
        EXPECT_EQ(cuesThisFrame(kCuesStopped), c.strikes ? 1 : 0);
        if (!c.strikes) {
            EXPECT_EQ(mod.counterAttackSequence, c.counterAttack);
            EXPECT_EQ(mod.attacksSurvived, c.survived);
        }
        mod.missileSequenceActive = 0;
    }

    // No encounter: nothing, though the request is taken.
    abandonEncounter();
    mod.attacksSurvived = 3;
    mod.missileSequenceFrame = -10;
    mod.heliHealth = 500.0f;
    pressPadAttack();
    EXPECT_EQ(mod.heliHealth, 500.0f);
    EXPECT_EQ(mod.lastKeyTime, host.tick());
}

// Without sight of the helicopter a ready strike only says so, static for 150 frames, on
// every frame the pad holds the request; the salvo and its counts stand. During the warning
// the attack-ready prompt, set later in the same frame, takes the one message over; after
// a press on the warning's last frame the complaint stays.
TEST_F(CounterAttackTest, StrikeWithoutSightSaysSo) {
    useReadyHarmlessMissiles();
    startLevelOne();
    mod.attacksSurvived = 3;
    startSalvoNextFrame(false);
    ASSERT_TRUE(runUntilWarningAt(-30));
    host.world().entities().setSight(sim::Sight::AlwaysBlocked);
    host.setPadControl(kPadFullyPressed);
    int complaints = 0;
    while (mod.missileSequenceFrame < 0) {
        runFrame();
        for (const sim::LoggedCall& call : host.calls()) complaints += call.textArg(0) == "Must ~r~have clear sight~w~ of the target!" ? 1 : 0;
        EXPECT_EQ(cuesThisFrame(kCuesStopped), 0);
    }
    host.setPadControl(0);
    EXPECT_EQ(complaints, 0);
    EXPECT_STREQ(mod.messageText, "Must ~r~have clear sight~w~ of the target!");
    EXPECT_EQ(mod.messageTotalFrames, 150);
    EXPECT_FALSE(mod.messageRising);
    EXPECT_EQ(mod.counterAttackSequence, 0);
    EXPECT_EQ(mod.attacksSurvived, 3);
    EXPECT_EQ(mod.heliHealth, 80.0f);
    runFrame();
    EXPECT_NE(host.screen().findText("Must ~r~have clear sight~w~ of the target!"), nullptr);
    ASSERT_TRUE(runUntilSequenceEnds());
    EXPECT_EQ(mod.attacksSurvived, 4);
}

// Missiles leave on steps 0, 20, 30, 35 and 40. A salvo marks each aim point so far on
// every frame and never plays the hit; a counter-attack marks nothing, and plays cue 102
// and shoves the helicopter exactly 50 steps after its launch.
TEST_F(CounterAttackTest, FireTimetableMarkersAndTheHit) {
    useReadyHarmlessMissiles();
    startLevelOne();
    startSalvoNextFrame(false);
    runFrame();
    ASSERT_EQ(mod.missileSequenceFrame, -50);
    std::vector<int32_t> fired;
    while (mod.missileSequenceActive != 0) {
        const int32_t step = mod.missileSequenceFrame;
        runFrame();
        if (countThisFrame(kShootSingleBulletBetweenCoords) == 1) fired.push_back(step);
        EXPECT_EQ(host.world().records().markers().size(), fired.size()) << step;
        EXPECT_EQ(cuesThisFrame(kHitCue), 0);
        ASSERT_LT(step, 200);
    }
    EXPECT_EQ(fired, (std::vector<int32_t>{0, 20, 30, 35, 40}));

    // Each marker is drawn where its missile is aimed: type 2, turned over, green, facing
    // the camera, no texture.
    startSalvoNextFrame(false);
    ASSERT_TRUE(runUntil([] { return mod.missilesLaunched == 2; }));
    runFrame();
    ASSERT_EQ(countThisFrame(kDrawMarker), 2);
    const sim::LoggedCall& marker = *lastThisFrame(kDrawMarker);
    EXPECT_EQ(marker.floatArg(1), mod.missileTargets[1].x);
    EXPECT_EQ(marker.floatArg(2), mod.missileTargets[1].y);
    EXPECT_EQ(marker.floatArg(3), mod.missileTargets[1].z);
    const std::string position = marker.describe().substr(marker.describe().find(", ") + 2);
    EXPECT_EQ(marker.describe(), "drawMarker(2, " + position.substr(0, position.find(", 0, 0, 0")) +
                                     ", 0, 0, 0, 180, 0, 0, 1, 1, 1, 100, 200, 100, 200, 0, 1, 2, 0, \"\", \"\", 0)");
    const sim::Marker& drawn = host.world().records().markers()[1];
    EXPECT_EQ(drawn.position.x, mod.missileTargets[1].x);
    EXPECT_FALSE(drawn.textured);
    ASSERT_TRUE(runUntilSequenceEnds());

    // A counter-attack.
    mod.attacksSurvived = 3;
    startSalvoNextFrame(false);
    ASSERT_TRUE(runUntilWarningAt(-5));
    const int64_t launchFrame = host.frame() + 1;
    pressPadAttack();
    std::vector<int64_t> counterFired = {countThisFrame(kShootSingleBulletBetweenCoords) == 1 ? 0 : -1};
    int64_t hitFrame = -1;
    while (mod.missileSequenceActive != 0) {
        runFrame();
        EXPECT_TRUE(host.world().records().markers().empty());
        if (countThisFrame(kShootSingleBulletBetweenCoords) == 1) counterFired.push_back(host.frame() - launchFrame);
        if (cuesThisFrame(kHitCue) == 1) {
            hitFrame = host.frame() - launchFrame;
            const sim::LoggedCall* shove = lastThisFrame(kApplyForceToEntity);
            ASSERT_NE(shove, nullptr);
            EXPECT_EQ(shove->describe(), "applyForceToEntity(" + std::to_string(mod.heliVehicle) +
                                             ", 1, 15, 15, 20, 20, 50, 20, 1, 1, 1, 1, 1, 1)");
        }
        ASSERT_LT(host.frame() - launchFrame, 200);
    }
    EXPECT_EQ(counterFired, (std::vector<int64_t>{0, 20, 30, 35, 40}));
    EXPECT_EQ(hitFrame, 50);
    EXPECT_EQ(host.frame() - launchFrame, 101);
    EXPECT_EQ(host.world().combat().forces().size(), 1u);
}

// A salvo's missile leaves from the helicopter's offset (0.2, 0, 0.1) for a point ahead of
// the player: on x and y the player's velocity times a lead within the level's range, drawn
// apart for each; 1 up plus the vertical velocity. It flies at 200 to 2200: unheld, it comes
// to its aim 8.2 times as fast as the player, up to the level's jitter slower.
TEST_F(CounterAttackTest, SalvoAimAndSpeed) {
    useReadyHarmlessMissiles();
    struct Case {
        const char* what;
        int32_t row;
        sim::Vec3 velocity;
        bool nanSpeed;
        float heldTo;  // 0: within the range
    };
    struct Range {
        float shortestLead, longestLead;  // seconds of the player's velocity
        float slowestPace;                // the jitter's most: 9 % slower on Level 1, none on Level 5
    };
    const Range levelOne{0.30f, 4.79f, 8.2f * 0.91f};
    const Range levelFive{0.97f, 1.98f, 8.2f};
    const Case cases[] = {
        {"driving, Level 1", 0, {14.0f, -9.0f, 0.0f}, false, 0.0f},
        {"driving, Level 5: no jitter", 4, {3.0f, 12.0f, 0.5f}, false, 0.0f},
        {"standing", 0, {0.0f, 0.0f, 0.0f}, false, 200.0f},
        {"falling onto its aim: infinite", 0, {0.0f, 0.0f, -1.0f}, false, 2200.0f},
        {"falling near its aim: too fast", 0, {0.0f, 0.0f, -0.999f}, false, 2200.0f},
        {"a speed not a number", 0, {14.0f, -9.0f, 0.0f}, true, 200.0f},
    };
    int unheld = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Range& range = c.row == 0 ? levelOne : levelFive;
        if (mod.encounterActive) abandonEncounter();
        host.world().entities().setSight(sim::Sight::AlwaysClear);
        startLevelFromMenu(c.row);
        host.world().entities().setSpeedsNotANumber(c.nanSpeed);
        int leadsApart = 0;
        for (int launch = 0; launch < 5; ++launch) {
            playerVehicle().velocity = c.velocity;
            runFrame();  // the dispatch samples the player at this velocity
            mod.missileSequenceActive = 1;
            mod.counterAttackSequence = 0;
            mod.missileSequenceFrame = 0;
            mod.missilesLaunched = launch;
            recording = true;
            history.clear();
            runFrame();
            recording = false;

            const sim::LoggedCall offset = callsOf(kGetOffsetFromEntityInWorldCoords).at(0);
            EXPECT_EQ(offset.describe(), "getOffsetFromEntityInWorldCoords(" + std::to_string(mod.heliVehicle) + ", 0.2, 0, 0.1)");
            const sim::LoggedCall base = callsOf(kGetEntityCoords).back();  // the player's, read for the aim
            const sim::LoggedCall velocity = callsOf(kGetEntityVelocity).back();
            ASSERT_EQ(base.intArg(0), player().handle);
            const sim::LoggedCall fire = callsOf(kShootSingleBulletBetweenCoords).at(0);
            EXPECT_EQ(fire.floatArg(0), offset.floatResult(0));
            EXPECT_EQ(fire.floatArg(1), offset.floatResult(1));
            EXPECT_EQ(fire.floatArg(2), offset.floatResult(2));

            // The aim, and its marker.
            float leads[2] = {};
            for (int axis = 0; axis < 2; ++axis) {
                if (velocity.floatResult(axis) == 0.0f) continue;
                leads[axis] = (fire.floatArg(3 + axis) - base.floatResult(axis)) / velocity.floatResult(axis);
                EXPECT_GE(leads[axis], range.shortestLead - 1e-4f);
                EXPECT_LE(leads[axis], range.longestLead + 1e-4f);
            }
            leadsApart += std::abs(leads[0] - leads[1]) > 0.005f ? 1 : 0;
            EXPECT_FLOAT_EQ(fire.floatArg(5), base.floatResult(2) + velocity.floatResult(2) + 1.0f);
            EXPECT_EQ(mod.missileTargets[launch].x, fire.floatArg(3));
            EXPECT_EQ(mod.missileTargets[launch].y, fire.floatArg(4));
            EXPECT_EQ(mod.missileTargets[launch].z, fire.floatArg(5));

            // The speed.
            const float speed = fire.floatArg(12);
            EXPECT_GE(speed, 200.0f);
            EXPECT_LE(speed, 2200.0f);
            if (c.heldTo != 0.0f) {
                EXPECT_EQ(speed, c.heldTo);
            } else if (speed > 200.0f && speed < 2200.0f) {
                ++unheld;
                const std::vector<sim::LoggedCall> distances = callsOf(kGetDistanceBetweenCoords);
                EXPECT_EQ(distances.at(0).intArg(6), 1);  // with height
                const float fromLaunch = distances.at(0).floatResult();
                const float fromPlayer = distances.at(1).floatResult();
                const float playerSpeed = callsOf(kGetEntitySpeed).back().floatResult();
                const float pace = speed / fromLaunch / (playerSpeed / fromPlayer);
                EXPECT_GE(pace, range.slowestPace * 0.9999f);
                EXPECT_LE(pace, 8.2f * 1.0001f);
            }
            // Damage 250, the switch on, the rocket, the pilot as owner, audible, visible.
            EXPECT_EQ(fire.intArg(6), 250);
            EXPECT_EQ(fire.intArg(7), 1);
            EXPECT_EQ(fire.arguments[8], sim::hashOfName("WEAPON_VEHICLE_ROCKET"));
            EXPECT_EQ(fire.intArg(9), mod.heliPilot);
            EXPECT_EQ(fire.intArg(10), 1);
            EXPECT_EQ(fire.intArg(11), 0);
        }
        if (c.velocity.x != 0.0f && c.velocity.y != 0.0f) {
            EXPECT_GT(leadsApart, 0);
        }
        host.world().entities().setSpeedsNotANumber(false);
    }
    EXPECT_GE(unheld, 3);  // the driving cases' speeds mostly lie within the range
}

// The counter-attack's missile leaves from ahead of and above the player by the size of
// the helicopter's model, at the helicopter's position plus its velocity, at speed 1000;
// its aim is not kept.
TEST_F(CounterAttackTest, CounterAttackMissileAimsAtTheHelicopter) {
    useReadyHarmlessMissiles();
    startLevelOne();
    mod.missileTargets[0] = Vector3{};
    mod.attacksSurvived = 3;
    mod.missileSequenceActive = 1;
    mod.missileSequenceFrame = -3;
    recording = true;
    pressPadAttack();
    recording = false;
    const sim::LoggedCall dimensions = callsOf(kGetModelDimensions).at(0);
    EXPECT_EQ(dimensions.arguments[0], sim::hashOfName("BUZZARD"));
    const sim::LoggedCall offset = callsOf(kGetOffsetFromEntityInWorldCoords).at(0);
    EXPECT_EQ(offset.describe(), "getOffsetFromEntityInWorldCoords(" + std::to_string(player().handle) + ", 0, 6.8, 0.8)");
    const sim::LoggedCall velocity = callsOf(kGetEntityVelocity).back();
    const sim::LoggedCall position = callsOf(kGetEntityCoords).back();
    EXPECT_EQ(velocity.intArg(0), mod.heliVehicle);
    EXPECT_EQ(position.intArg(0), mod.heliVehicle);
    const sim::LoggedCall fire = callsOf(kShootSingleBulletBetweenCoords).at(0);
    EXPECT_EQ(fire.floatArg(0), offset.floatResult(0));
    EXPECT_EQ(fire.floatArg(2), offset.floatResult(2));
    EXPECT_EQ(fire.floatArg(3), position.floatResult(0) + velocity.floatResult(0));
    EXPECT_EQ(fire.floatArg(4), position.floatResult(1) + velocity.floatResult(1));
    EXPECT_EQ(fire.floatArg(5), position.floatResult(2) + velocity.floatResult(2));
    EXPECT_EQ(fire.intArg(6), 250);
    EXPECT_EQ(fire.intArg(9), mod.heliPilot);
    EXPECT_EQ(fire.floatArg(12), 1000.0f);
    EXPECT_EQ(mod.targetVelocity.x, velocity.floatResult(0));
    EXPECT_EQ(mod.missileTargets[0].x, 0.0f);
    const sim::Projectile& missile = host.world().combat().projectiles().back();
    EXPECT_EQ(missile.owner, mod.heliPilot);
    EXPECT_EQ(missile.weapon, mod.missileWeapon);
}

// The first missile waits for the weapon's asset: asked for once (31, 0), then polled
// every frame with nothing else of the plug-in running, for as long as it takes. Once
// loaded, it is not asked for again.
TEST_F(CounterAttackTest, WeaponAssetIsWaitedFor) {
    host.world().combat().setHarmlessMissiles(true);
    sim::WeaponAsset& rocket = host.world().combat().weaponAsset("WEAPON_VEHICLE_ROCKET");
    rocket.loadFrames = sim::kNeverLoads;
    startLevelOne();
    startSalvoNextFrame(false);
    ASSERT_TRUE(runUntilWarningAt(-1));
    runFrame();
    runFrame();  // the step at 0: the asset is requested
    EXPECT_EQ(rocket.requests, 1);
    EXPECT_EQ(rocket.requestFlags[0], 31);
    EXPECT_EQ(rocket.requestFlags[1], 0);
    for (int frame = 0; frame < 200; ++frame) {
        runFrame();
        ASSERT_EQ(host.calls().size(), 1u);
        EXPECT_EQ(host.calls()[0].hash, kHasWeaponAssetLoaded);
    }
    EXPECT_EQ(mod.missileSequenceFrame, 0);
    EXPECT_TRUE(host.world().combat().projectiles().empty());

    rocket.loadFrames = 0;
    runFrame();
    EXPECT_EQ(host.world().combat().projectiles().size(), 1u);
    EXPECT_EQ(mod.missileSequenceFrame, 1);
    ASSERT_TRUE(runUntilSequenceEnds());
    EXPECT_EQ(host.world().combat().projectiles().size(), 5u);
    EXPECT_EQ(rocket.requests, 1);
}

// A strike during a shielded salvo keeps the shield until the counter-attack's sequence
// ends; then the vehicle is vulnerable again.
TEST_F(CounterAttackTest, StrikeKeepsTheSalvosShieldUntilItsEnd) {
    useReadyHarmlessMissiles();
    startLevelOne();
    mod.attacksSurvived = 3;
    startSalvoNextFrame(true);
    ASSERT_TRUE(runUntilWarningAt(-20));
    ASSERT_EQ(mod.armorShieldActive, 1);
    sim::Entity& car = playerVehicle();
    ASSERT_TRUE(car.invincible);
    pressPadAttack();
    ASSERT_EQ(mod.counterAttackSequence, 1);
    runFrames(50);
    EXPECT_TRUE(car.invincible);
    ASSERT_TRUE(runUntilSequenceEnds());
    EXPECT_FALSE(car.invincible);
    EXPECT_EQ(mod.armorShieldActive, 0);
    EXPECT_EQ(mod.attacksSurvived, 0);
}

}  // namespace
