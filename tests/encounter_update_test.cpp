// One frame of a running encounter: the HUD, the health, the sight counter and the lost
// helicopter, the attack-ready prompt, the score, and the wrecked helicopter's replacement.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "encounter_test.h"

namespace {

class EncounterUpdateTest : public EncounterTest {
protected:
    // The rectangle drawn this frame at this centre and in this colour, or null.
    const sim::ScreenRect* rectAt(float y, sim::Rgba colour) const {
        for (const sim::ScreenRect& rect : host.screen().rects) {
            if (rect.x == 0.5f && rect.y == y && rect.colour == colour) return &rect;
        }
        return nullptr;
    }
};

const sim::Rgba kGreenBar{0, 255, 0, 180};
const sim::Rgba kRedBar{255, 0, 0, 180};
const sim::Rgba kGreyOverlay{150, 150, 150, 220};
const sim::Rgba kPowerBar{255, 0, 0, 255};

// No health left (none, negative, or not a number) takes the won branch in that frame, with
// a bar of no width; the least positive health keeps the encounter running.
TEST_F(EncounterUpdateTest, HealthAtZeroWinsAndATinyPositiveValueRuns) {
    struct Case {
        float health;
        bool running;
        float stored;
    };
    const float tiny = std::numeric_limits<float>::denorm_min();
    const Case cases[] = {
        {0.0f, false, 0.0f},
        {tiny, true, tiny},
        {-5.0f, false, 0.0f},
        {std::numeric_limits<float>::quiet_NaN(), false, 0.0f},
        {40.0f, true, 40.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.health);
        startLevelOne();
        const int32_t heli = mod.heliVehicle;
        mod.heliHealth = c.health;
        const std::size_t explosions = host.world().combat().explosions().size();
        runFrame();
        EXPECT_EQ(mod.heliHealth, c.stored);
        const sim::ScreenRect* bar = rectAt(0.03f, kGreenBar);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->width, c.stored / 80.0f * 0.15f);
        EXPECT_EQ(bar->height, 0.007f);
        // Won: the helicopter blows up after 100 ms, and the encounter ends after the
        // slow-motion shot, with the helicopter and its pilot handed back.
        runFrames(7);
        EXPECT_EQ(host.world().combat().explosions().size(), explosions + (c.running ? 0u : 1u));
        runFrames(250);
        EXPECT_EQ(mod.encounterActive, c.running);
        EXPECT_EQ(host.world().entities().find(heli)->handedBack, !c.running);
    }
}

// The gauge shows (350 - frames) x 0.0028571428 x 100 in single precision, truncated; the
// helicopter is lost on the frame the net count first exceeds 400.
TEST_F(EncounterUpdateTest, OutOfSightGaugeAndTheLostHelicopter) {
    startLevelOne();
    host.world().entities().setSight(sim::Sight::AlwaysBlocked);
    struct Case {
        int32_t frames;
        const char* shown;
    };
    const Case cases[] = {
        {0, "100"}, {140, "59"}, {175, "50"}, {245, "29"}, {350, "0"}, {353, "0"},
        {354, "-1"}, {356, "-1"}, {357, "-2"}, {398, "-13"}, {399, "-14"},
    };
    for (const Case& c : cases) {
        mod.outOfSightFrames = c.frames;
        runFrame();
        EXPECT_EQ(hudLine("~b~Out of sight: "), std::string("~b~Out of sight: ") + c.shown) << c.frames;
        EXPECT_EQ(mod.outOfSightFrames, c.frames + 1);
        const sim::ScreenRect* overlay = rectAt(0.03f, kGreyOverlay);
        ASSERT_NE(overlay, nullptr);
        EXPECT_EQ(overlay->width, 0.15f);
    }

    // A net count: frames with sight take frames without back, never below 0.
    mod.outOfSightFrames = 0;
    runFrames(10);
    host.world().entities().setSight(sim::Sight::AlwaysClear);
    runFrames(4);
    EXPECT_EQ(mod.outOfSightFrames, 6);
    EXPECT_TRUE(hudLine("~b~Out of sight: ").empty());
    EXPECT_EQ(rectAt(0.03f, kGreyOverlay), nullptr);
    runFrames(10);
    EXPECT_EQ(mod.outOfSightFrames, 0);

    // 400 frames out of sight keep the encounter; the 401st loses the helicopter.
    host.world().entities().setSight(sim::Sight::AlwaysBlocked);
    runFrames(400);
    EXPECT_TRUE(mod.encounterActive);
    EXPECT_EQ(mod.outOfSightFrames, 400);
    const int32_t heli = mod.heliVehicle;
    runFrame();
    EXPECT_EQ(hudLine("~b~Out of sight: "), "~b~Out of sight: -14");
    EXPECT_FALSE(mod.encounterActive);
    EXPECT_STREQ(mod.messageText, "You have lost the insurgent!");
    EXPECT_TRUE(host.world().entities().find(heli)->handedBack);
    EXPECT_TRUE(host.world().entities().heldByScript().empty());
}

// The bar's states and labels, and the score line with its rate.
TEST_F(EncounterUpdateTest, HealthBarLabelsAndScore) {
    startLevelOne();
    struct Case {
        int32_t attacksSurvived;
        int32_t counterAttack;
        int32_t sequenceActive;
        sim::Rgba bar;
        const char* label;
    };
    const Case cases[] = {
        {0, 0, 0, kGreenBar, ""},
        {1, 0, 0, kGreenBar, "POWERUP: I"},
        {2, 0, 0, kGreenBar, "POWERUP: II"},
        {3, 0, 0, kGreenBar, "~r~POWERUP!"},
        {7, 0, 0, kGreenBar, "~r~POWERUP!"},
        {0, 1, 0, kRedBar, "~r~Great hit! Damage: 58"},
        {0, 1, 1, kGreenBar, ""},  // during the counter-attack's own sequence
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        mod.attacksSurvived = c.attacksSurvived;
        mod.counterAttackSequence = c.counterAttack;
        mod.missileSequenceActive = c.sequenceActive;
        mod.missileSequenceFrame = 10;
        mod.lastStrikeDamage = 58.8f;
        mod.heliHealth = 20.0f;
        runFrame();
        const sim::ScreenRect* bar = rectAt(0.03f, c.bar);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->width, 20.0f / 80.0f * 0.15f);
        const sim::ScreenText* label = nullptr;
        for (const sim::ScreenText& text : host.screen().texts) {
            if (text.y == 0.05f) label = &text;
        }
        EXPECT_EQ(label != nullptr ? label->text : "", c.label);
        if (label != nullptr) {
            EXPECT_EQ(label->style.colour.a, c.counterAttack ? 180 : 200);
        }
    }

    // The score line, then one frame's worth: speed x 0.0007 x (level + 1) x weapon tier,
    // only while fewer than three salvos are survived.
    struct ScoreCase {
        int32_t level;
        int32_t weapon;
        int32_t attacksSurvived;
    };
    const ScoreCase scoreCases[] = {{0, 1, 0}, {4, 3, 2}, {2, 4, 3}, {0, 1, 5}};
    for (const ScoreCase& c : scoreCases) {
        mod.counterAttackSequence = 0;
        mod.missileSequenceActive = 0;
        mod.currentLevel = c.level;
        mod.upgradeLevels[kWeaponUpgrade] = c.weapon;
        mod.attacksSurvived = c.attacksSurvived;
        mod.score = 1234.9f;
        runFrame();
        EXPECT_EQ(hudLine("SCORE: "), "SCORE: 1234");
        const sim::ScreenText* line = host.screen().findText("SCORE: ");
        EXPECT_EQ(line->x, 0.05f);
        EXPECT_EQ(line->y, 0.02f);
        EXPECT_EQ(line->style.colour.a, 200);
        ASSERT_NEAR(mod.playerSpeed, 20.0f, 1e-4f);
        const float rate = mod.playerSpeed * 0.0007f * static_cast<float>(c.level + 1) * static_cast<float>(c.weapon);
        const float expected = c.attacksSurvived < 3 ? 1234.9f + rate : 1234.9f;
        EXPECT_EQ(mod.score, expected) << c.level << " " << c.weapon << " " << c.attacksSurvived;
    }
}

// The prompt's four conditions: three salvos survived, a sequence frame from -154 to -1,
// no counter-attack as the last sequence, and the player in a vehicle.
TEST_F(EncounterUpdateTest, AttackPromptConditions) {
    struct Case {
        int32_t attacksSurvived;
        int32_t frame;
        int32_t counterAttack;
        bool inVehicle;
        bool prompt;
    };
    const Case cases[] = {
        {3, -1, 0, true, true},    {3, -154, 0, true, true},  {4, -20, 0, true, true},
        {2, -20, 0, true, false},  {3, 0, 0, true, false},    {3, -155, 0, true, false},
        {3, -20, 1, true, false},  {3, -20, 0, false, false},
    };
    startLevelOne();
    const int32_t car = playerVehicle().handle;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.attacksSurvived << " " << c.frame << " " << c.counterAttack << " "
                                        << c.inVehicle);
        if (c.inVehicle) {
            host.world().entities().seat(player().handle, car, sim::kDriverSeat);
        } else {
            host.world().entities().leaveVehicle(player().handle);
        }
        mod.missileSequenceActive = 0;  // the frame stands where it is set
        mod.missileSequenceFrame = c.frame;
        mod.attacksSurvived = c.attacksSurvived;
        mod.counterAttackSequence = c.counterAttack;
        mod.attackPower = 5.0f;
        runFrame();
        EXPECT_EQ(mod.attackPower, c.prompt ? 6.0f : 0.0f);
        EXPECT_EQ(rectAt(0.45f, kPowerBar) != nullptr, c.prompt);
    }
}

// With three salvos survived, a salvo's warning shows the prompt and charges the power,
// but only for a player in a vehicle; one who gets in during the warning starts from 0.
TEST_F(EncounterUpdateTest, AttackPromptNeedsAVehicle) {
    struct Case {
        int enterAfterFrames;  // frames of the warning on foot; -1: in the vehicle throughout
        int promptFrames;
        float maxPower;
    };
    const Case cases[] = {{-1, 49, 49.0f}, {60, 0, 0.0f}, {20, 29, 29.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.enterAfterFrames);
        startLevelOne();
        const int32_t car = playerVehicle().handle;
        if (c.enterAfterFrames >= 0) host.world().entities().leaveVehicle(player().handle);
        mod.attacksSurvived = 3;
        mod.heliSightFrames = 300;
        runFrame();  // the pursuit starts the salvo's 50-frame warning
        ASSERT_EQ(mod.missileSequenceFrame, -50);
        int prompts = 0;
        float maxPower = 0.0f;
        for (int frame = 0; frame < 60; ++frame) {
            if (frame == c.enterAfterFrames) host.world().entities().seat(player().handle, car, sim::kDriverSeat);
            runFrame();
            // The power bar comes with the prompt, which is set anew for one frame each time.
            if (const sim::ScreenRect* bar = rectAt(0.45f, kPowerBar)) {
                ++prompts;
                EXPECT_EQ(mod.attackPower, static_cast<float>(prompts));
                EXPECT_EQ(bar->width, mod.attackPower * 0.02f * 0.1f);
                EXPECT_EQ(bar->height, 0.007f);
                EXPECT_STREQ(mod.messageText, "~r~ATTACK READY! (NUM9/A) POWER:");
                EXPECT_EQ(mod.messageFramesLeft, 1);
                EXPECT_FALSE(mod.messageRising);
            } else {
                EXPECT_EQ(mod.attackPower, 0.0f);
            }
            maxPower = std::max(maxPower, mod.attackPower);
        }
        EXPECT_EQ(prompts, c.promptFrames);
        EXPECT_EQ(maxPower, c.maxPower);
        EXPECT_EQ(mod.attackPower, 0.0f);  // the salvo fired: the prompt is gone
    }
}

// A wrecked helicopter is replaced beside the player, keeping the health, the score and
// the counters; a replacement the host cannot make ends the encounter with "Error: 101".
TEST_F(EncounterUpdateTest, WreckedHelicopterIsReplaced) {
    startLevelOne();
    runFrames(100);
    mod.heliHealth = 55.0f;
    mod.attacksSurvived = 2;
    mod.outOfSightFrames = 7;
    const float score = mod.score;
    ASSERT_GT(score, 1.0f);
    const int32_t oldHeli = mod.heliVehicle;
    const int32_t oldPilot = mod.heliPilot;
    host.world().entities().wreck(oldHeli);
    runFrame();
    const sim::Vec3 at = player().position;
    const sim::Vec3 velocity = player().velocity;
    ASSERT_TRUE(runUntil([] { return mod.heliPilot != 0; }, 100));
    runFrames(3);

    EXPECT_TRUE(mod.encounterActive);
    EXPECT_NE(mod.heliVehicle, oldHeli);
    EXPECT_TRUE(host.world().entities().find(oldHeli)->handedBack);
    EXPECT_TRUE(host.world().entities().find(oldPilot)->handedBack);
    EXPECT_EQ(host.world().entities().heldByScript(), (std::vector<int32_t>{mod.heliVehicle, mod.heliPilot}));
    const sim::Entity& created = *helicopter();
    EXPECT_NEAR(created.position.y, at.y + velocity.y, 30.0f);  // it has flown on since
    EXPECT_EQ(mod.heliHealth, 55.0f);
    EXPECT_EQ(mod.attacksSurvived, 2);
    EXPECT_GE(mod.score, score);
    EXPECT_LT(mod.score, score + 1.0f);
    EXPECT_LE(mod.outOfSightFrames, 7);

    // Now the host cannot make another, on the frame the count would lose the helicopter:
    // the error is what the player reads, not a lost helicopter.
    host.world().entities().model("BUZZARD").creationFails = true;
    host.world().entities().setSight(sim::Sight::AlwaysBlocked);
    mod.outOfSightFrames = 400;
    host.world().entities().wreck(mod.heliVehicle);
    ASSERT_TRUE(runUntil([] { return !mod.encounterActive; }, 100));
    runFrames(3);
    EXPECT_STREQ(mod.messageText, "Error: 101");
    EXPECT_EQ(mod.outOfSightFrames, 400);
    EXPECT_TRUE(host.world().entities().heldByScript().empty());
}

}  // namespace
