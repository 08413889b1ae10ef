// The ways a level ends: won (the wreck in slow motion, the result, the high score, the
// points, the unlock), the death test, and the armor shield at every end.
#include <string>
#include <vector>

#include "added_rows.h"
#include "encounter_test.h"
#include "runtime/text.h"

namespace {

class LevelOutcomeTest : public EncounterTest {
protected:
    // Wins the running level with this score: no score accrues in the frame of the win (as
    // with three salvos survived), and the won sequence runs to its end. Returns the
    // notifications posted meanwhile.
    std::vector<std::string> winWithScore(float score) {
        mod.attacksSurvived = 3;
        mod.score = score;
        mod.heliHealth = 0.0f;
        std::vector<std::string> notifications;
        for (int frame = 0; frame < 400 && mod.encounterActive; ++frame) {
            runFrame();
            for (const sim::Notification& notification : host.screen().notifications) notifications.push_back(notification.text);
        }
        return notifications;
    }
};

// The result against the best as read at the level's start (a tie is a new best), the
// points announced and granted below 22, the notifications by level, the unlock only
// upward and only up to the last listed level, and the settings file read back at the end.
TEST_F(LevelOutcomeTest, WinsAndWhatTheFileHolds) {
    struct Case {
        const char* what;
        int32_t row;
        std::string file;
        float score;
        std::string result;
        std::vector<std::string> notifications;
        const char* bestKey;
        uint32_t best;   // 4294967295: absent
        uint32_t points;
        uint32_t openLevels;
        int writes;
        int32_t highestAfter;
    };
    constexpr uint32_t kAbsent = 4294967295u;
    // Level 5 is the last listed level: its win opens none. A listed level added after it is
    // opened by Level 5's win, and the last listed level's win is the last case.
    const bool level5Last = kAddedListedLevels == 0;
    const std::string level5Opens = level5Last ? "(All levels complete!)" : "(Level 6 is available!)";
    const uint32_t openAfterLevel5 = level5Last ? 5 : 6;
    const int32_t highestAfterLevel5 = level5Last ? 4 : 5;
    const int level5Unlock = level5Last ? 0 : 1;  // the write of open_levels
    std::vector<Case> cases = {
        {"Level 1, a first best", 0, "", 123.7f,
         "~g~Success! -- NEW HIGH SCORE: 123 -- Last score: 0 -- (Level 2 is available!)",
         {"~g~3 upgrade points are available!"}, "high_score_0", 123, 3, 2, 5, 1},
        {"Level 1, below the best", 0, "high_score_0=500\r\n", 200.5f,
         "~g~Success! -- Score: 200 -- Highest: 500 -- (Level 2 is available!)",
         {"~g~3 upgrade points are available!"}, "high_score_0", 500, 3, 2, 4, 1},
        {"Level 1, a tie is a new best", 0, "high_score_0=0200\r\n", 200.9f,
         "~g~Success! -- NEW HIGH SCORE: 200 -- Last score: 200 -- (Level 2 is available!)",
         {"~g~3 upgrade points are available!"}, "high_score_0", 200, 3, 2, 5, 1},
        {"Level 1, 0 with no best stored", 0, "", 0.0f,
         "~g~Success! -- NEW HIGH SCORE: 0 -- Last score: 0 -- (Level 2 is available!)",
         {"~g~3 upgrade points are available!"}, "high_score_0", 0, 3, 2, 5, 1},
        {"Level 1 with 22 points", 0, "upgrade_points=22\r\nhigh_score_0=900\r\n", 10.0f,
         "~g~Success! -- Score: 10 -- Highest: 900 -- (Level 2 is available!)",
         {"~g~3 upgrade points are available!"}, "high_score_0", 900, 22, 2, 4, 1},
        {"Level 2", 1, "open_levels=2\r\n", 50.0f,
         "~g~Success! -- NEW HIGH SCORE: 50 -- Last score: 0 -- (Level 3 is available!)",
         {"~g~4 upgrade points are available!", "You should upgrade your WEAPON in the menu!",
          "Next level won't be as easy!"},
         "high_score_1", 50, 4, 3, 5, 2},
        {"Level 2 replayed below the highest", 1, "open_levels=4\r\nhigh_score_1=80\r\n", 50.0f,
         "~g~Success! -- Score: 50 -- Highest: 80 -- (Level 3 is available!)",
         {"~g~4 upgrade points are available!", "You should upgrade your WEAPON in the menu!",
          "Next level won't be as easy!"},
         "high_score_1", 80, 4, 4, 3, 3},
        {"Level 3", 2, "open_levels=3\r\nweapon=2\r\n", 70.0f,
         "~g~Success! -- NEW HIGH SCORE: 70 -- Last score: 0 -- (Level 4 is available!)",
         {"~g~5 upgrade points are available!", "Next level won't be as easy!"}, "high_score_2", 70, 5, 4, 5, 3},
        {"Level 4", 3, "open_levels=4\r\nweapon=2\r\n", 70.0f,
         "~g~Success! -- NEW HIGH SCORE: 70 -- Last score: 0 -- (Level 5 is available!)",
         {"~g~6 upgrade points are available!"}, "high_score_3", 70, 6, 5, 5, 4},
        {"Level 5 from 21 points", 4, "open_levels=5\r\nweapon=2\r\nupgrade_points=21\r\n", 300.0f,
         "~g~Success! -- NEW HIGH SCORE: 300 -- Last score: 0 -- " + level5Opens,
         {"~g~7 upgrade points are available!", "~g~Good job! You've successfully repelled the attacks!",
          "Oh-oh, looks like HQ is planning to send 2 helo next time."},
         "high_score_4", 300, 28, openAfterLevel5, 4 + level5Unlock, highestAfterLevel5},
        {"Level 5 below the best", 4, "open_levels=5\r\nweapon=2\r\nhigh_score_4=999\r\n", 300.0f,
         "~g~Success! -- Score: 300 -- Highest: 999 -- " + level5Opens,
         {"~g~7 upgrade points are available!", "~g~Good job! You've successfully repelled the attacks!",
          "Oh-oh, looks like HQ is planning to send 2 helo next time."},
         "high_score_4", 999, 7, openAfterLevel5, 3 + level5Unlock, highestAfterLevel5},
        // The hidden level keeps no best: nothing to compare with. Its award is 8 points, one
        // more for each level added before it.
        {"the hidden level", kLastLevel, "open_levels=" + std::to_string(kLevelCount) + "\r\nweapon=2\r\n", 400.0f,
         "~g~Success! -- Score: 400 -- (All levels complete!)",
         {"~g~" + std::to_string(8 + kAddedListedLevels) + " upgrade points are available!"},
         bestScoreKey(kLastListedLevel), kAbsent, 8u + kAddedListedLevels, kLevelCount, 3, kLastLevel},
    };
    if (!level5Last) {
        // Its award, Level 5's 7 points and one more for each level after Level 5 up to it, and
        // its own notices.
        const uint32_t award = 7u + kAddedListedLevels;
        std::vector<std::string> notices = {"~g~" + std::to_string(award) + " upgrade points are available!"};
        for (const char* notice : levelTable[kLastListedLevel].wonNotices) {
            if (notice != nullptr) notices.push_back(notice);
        }
        cases.push_back({"the last listed level", kLastListedLevel,
                         "open_levels=" + std::to_string(kListedLevels) + "\r\nweapon=2\r\n", 300.0f,
                         "~g~Success! -- NEW HIGH SCORE: 300 -- Last score: 0 -- (All levels complete!)", notices,
                         bestScoreKey(kLastListedLevel), 300, award, kListedLevels, 4, kLastListedLevel});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (mod.encounterActive) abandonEncounter();
        writeSettings(std::string("[Rotorstrike]\r\n") + c.file);
        host.runFrames(sim::kKeyLockoutFrames);
        startLevelFromMenu(c.row);
        ASSERT_TRUE(mod.encounterActive);
        const int writesBefore = host.gameFolder().writes();
        const std::vector<std::string> notifications = winWithScore(c.score);
        ASSERT_FALSE(mod.encounterActive);
        EXPECT_EQ(std::string(mod.messageText), c.result);
        EXPECT_EQ(mod.messageTotalFrames, 350);
        EXPECT_TRUE(mod.messageRising);
        EXPECT_EQ(notifications, c.notifications);
        EXPECT_EQ(stored(c.bestKey), c.best);
        EXPECT_EQ(stored("upgrade_points"), c.points);
        EXPECT_EQ(stored("open_levels"), c.openLevels);
        EXPECT_EQ(host.gameFolder().writes() - writesBefore, c.writes + kAddedUpgrades);  // each tier's key
        EXPECT_EQ(mod.currentLevel, c.row + 1);
        EXPECT_EQ(mod.highestOpenLevel, c.highestAfter);
        EXPECT_EQ(mod.upgradePoints, static_cast<int32_t>(c.points));
        EXPECT_TRUE(host.world().entities().heldByScript().empty());
        // A tie is written too: the stored text becomes the plain decimal.
        if (c.file == "high_score_0=0200\r\n") {
            EXPECT_NE(settings().find("high_score_0=200\r\n"), std::string::npos);
        }
    }
}

// A best the file could not give is read again at the end, or not compared with and never
// overwritten (a listed level's best not recorded is reported); what the result promised and
// the file did not get is reported, once, after the level's notifications; a failed write of
// an unchanged value loses nothing. A module whose every load found the file locked loads it
// again at the win: free by then, the win counts as any other.
TEST_F(LevelOutcomeTest, ProgressTheFileDidNotGetIsReported) {
    constexpr uint32_t kAbsent = 4294967295u;
    const struct {
        const char* what;
        const char* file;
        bool lockedAtStart, lockedAtWin;
        bool freshModule;  // loaded while the file was locked
        int failAfter, failCount;  // at the win, writes that succeed, then writes that fail
        float score;
        const char* result;
        bool reported;
        uint32_t best, points, openLevels;
    } cases[] = {
        {"the best read again at the end", "high_score_0=500\r\n", true, false, false, 0, 0, 600.0f,
         "~g~Success! -- NEW HIGH SCORE: 600 -- Last score: 500 -- (Level 2 is available!)", false, 600, 3, 2},
        {"the best never read", "high_score_0=500\r\n", true, true, false, 0, 0, 100.0f,
         "~g~Success! -- Score: 100 -- (Level 2 is available!)", true, 500, kAbsent, kAbsent},
        {"the best's write fails", "high_score_0=500\r\n", false, false, false, 0, 1, 600.0f,
         "~g~Success! -- NEW HIGH SCORE: 600 -- Last score: 500 -- (Level 2 is available!)", true, 500, 3, 2},
        {"the unlock's write fails", "", false, false, false, 4 + kAddedUpgrades, 1, 50.0f,
         "~g~Success! -- NEW HIGH SCORE: 50 -- Last score: 0 -- (Level 2 is available!)", true, 50, 3, kAbsent},
        {"every write fails, nothing changes", "upgrade_points=22\r\nopen_levels=3\r\nhigh_score_0=50\r\n", false,
         false, false, 0, 10, 50.0f, "~g~Success! -- NEW HIGH SCORE: 50 -- Last score: 50 -- (Level 2 is available!)", false, 50,
         22, 3},
        {"the best not read, nothing else to write", "upgrade_points=22\r\nopen_levels=3\r\nhigh_score_0=50\r\n", true,
         true, false, 0, 0, 60.0f, "~g~Success! -- Score: 60 -- (Level 2 is available!)", true, 50, 22, 3},
        {"a locked start, the file free at the win", "high_score_0=500\r\nupgrade_points=1\r\n", true, false, true, 0,
         0, 600.0f, "~g~Success! -- NEW HIGH SCORE: 600 -- Last score: 500 -- (Level 2 is available!)", false, 600, 4, 2},
        {"a locked start, still locked at the win", "high_score_0=500\r\nupgrade_points=1\r\n", true, true, true, 0, 0,
         600.0f, "~g~Success! -- Score: 600 -- (Level 2 is available!)", true, 500, 1, kAbsent},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (mod.encounterActive) abandonEncounter();
        writeSettings(std::string("[Rotorstrike]\r\n") + c.file);
        host.runFrames(sim::kKeyLockoutFrames);
        if (c.lockedAtStart) host.gameFolder().lock();
        if (c.freshModule) host.load();
        startLevelFromMenu(0);
        if (!c.lockedAtWin) host.gameFolder().unlock();
        host.gameFolder().failNextWrites(c.failCount, c.failAfter);
        const std::vector<std::string> notifications = winWithScore(c.score);
        host.gameFolder().failNextWrites(0);
        host.gameFolder().unlock();
        EXPECT_STREQ(mod.messageText, c.result);
        EXPECT_EQ(notifications.back() == kUnsaved, c.reported);
        EXPECT_EQ(stored("high_score_0"), c.best);
        EXPECT_EQ(stored("upgrade_points"), c.points);
        EXPECT_EQ(stored("open_levels"), c.openLevels);
    }
}

// The won sequence: 100 ms after the frame the health gave out the helicopter is made
// vulnerable and blown up, the camera is hinted at the wreck under slow motion (0.35) for
// 4000 ms, and only then is the encounter released; nothing of the plug-in runs meanwhile.
TEST_F(LevelOutcomeTest, WreckInSlowMotion) {
    startLevelOne();
    const int32_t heli = mod.heliVehicle;
    const int32_t pilot = mod.heliPilot;
    mod.heliHealth = 0.0f;
    runFrame();
    const int64_t wonFrame = host.frame();
    recording = true;
    history.clear();
    runFrames(6);
    const std::vector<uint64_t> wreck = {kSetEntityInvincible, kExplodeVehicle, kGetEntityCoords, kSetGameplayCoordHint,
                                         kSetGameplayHintFov, kSetTimeScale};
    ASSERT_EQ(callHashes(), wreck);
    EXPECT_EQ(describeCalls()[0], "setEntityInvincible(" + std::to_string(heli) + ", 0)");
    EXPECT_EQ(describeCalls()[1], "explodeVehicle(" + std::to_string(heli) + ", 1, 0)");
    EXPECT_TRUE(host.world().entities().find(heli)->wrecked);
    EXPECT_FALSE(host.world().entities().find(pilot)->dead);  // the pilot stays invincible
    const sim::CameraHint& hint = host.world().records().cameraHints().back();
    EXPECT_EQ(hint.point.x, mod.heliPosition.x);
    EXPECT_EQ(hint.point.z, mod.heliPosition.z);
    EXPECT_EQ(hint.point.x, host.world().combat().explosions().back().position.x);
    EXPECT_EQ(std::vector<int32_t>(hint.timings, hint.timings + 4), (std::vector<int32_t>{10, 10, 10, 10}));
    EXPECT_EQ(host.world().records().timeScale(), 0.35f);
    EXPECT_EQ(host.world().records().hintFovs().back().value, 20.0f);
    EXPECT_EQ(host.world().records().timeScales().back().frame, wonFrame + 6);

    for (int frame = 0; frame < 239; ++frame) {
        runFrame();
        ASSERT_TRUE(host.calls().empty()) << frame;
    }
    ASSERT_TRUE(mod.encounterActive);
    const std::size_t fades = host.world().records().fades().size();
    runFrame();
    EXPECT_FALSE(mod.encounterActive);
    EXPECT_EQ(host.world().records().timeScale(), 1.0f);
    EXPECT_EQ(host.world().records().timeScales().back().frame, wonFrame + 246);
    EXPECT_EQ(host.world().records().hintFovs().back().value, 1.0f);
    EXPECT_EQ(host.world().records().fades().size(), fades);
    EXPECT_TRUE(host.world().entities().find(heli)->handedBack);
    EXPECT_TRUE(host.world().entities().find(pilot)->handedBack);
}

// A speed that is not a number adds nothing to the score, so a win below the stored best
// keeps the best (a NaN score would have been stored as 0).
TEST_F(LevelOutcomeTest, SpeedNotANumberLeavesTheScoreAndTheBest) {
    writeSettings("[Rotorstrike]\r\nhigh_score_0=500\r\n");
    startLevelOne();
    runFrames(30);
    const float score = mod.score;
    ASSERT_GT(score, 0.0f);
    host.world().entities().setSpeedsNotANumber(true);
    runFrames(30);
    EXPECT_EQ(mod.score, score);
    EXPECT_EQ(hudLine("SCORE: "), "SCORE: " + std::to_string(static_cast<int32_t>(score)));
    mod.heliHealth = 0.0f;
    ASSERT_TRUE(runUntilEncounterEnds());
    EXPECT_EQ(stored("high_score_0"), 500u);
    EXPECT_EQ(std::string(mod.messageText).substr(0, 22), "~g~Success! -- Score: ");
}

// The death test: dead, or else arrested (asked only then, of the player's index); with a
// checkpoint the encounter stays for the respawn, without one it ends with no word.
TEST_F(LevelOutcomeTest, DeathTest) {
    struct Case {
        const char* what;
        bool dead;
        bool arrested;
        int32_t checkpoint;
        bool down;
        int arrestTests;
    };
    const Case cases[] = {
        {"dead, checkpoint", true, false, 1, true, 0},
        {"arrested, checkpoint", false, true, 1, true, 1},
        {"alive", false, false, 1, false, 1},
        {"dead, no checkpoint", true, false, 0, true, 0},
        {"arrested, no checkpoint", false, true, 0, true, 1},
    };
    host.world().combat().setRevivalDelay(sim::kNever);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        startLevelOne();
        const int32_t heli = mod.heliVehicle;
        mod.checkpointSaved = c.checkpoint;
        copyText(mod.messageText, "before");
        if (c.dead) host.world().combat().kill(player().handle);
        if (c.arrested) host.world().combat().arrest(1);
        runFrame();
        EXPECT_EQ(countThisFrame(kIsPlayerBeingArrested), c.arrestTests);
        if (const sim::LoggedCall* test = lastThisFrame(kIsPlayerBeingArrested)) {
            EXPECT_EQ(test->describe(), "isPlayerBeingArrested(0, 1)");
        }
        EXPECT_EQ(mod.playerDown, c.down ? 1 : 0);
        const bool respawns = c.down && c.checkpoint != 0;
        EXPECT_EQ(mod.encounterActive, !c.down || respawns);
        EXPECT_STREQ(mod.messageText, respawns ? "You have died...respawning in 15 seconds" : "before");
        if (respawns) {
            EXPECT_EQ(mod.messageTotalFrames, 150);
            EXPECT_TRUE(mod.messageRising);
        }
        EXPECT_EQ(host.world().entities().find(heli)->handedBack, c.down && !respawns);
        // Back to a living player, out of the respawn, for the next case.
        player().dead = false;
        mod.playerDown = 0;
    }
}

// The lost helicopter ends the encounter; a death in that same frame promises no respawn.
TEST_F(LevelOutcomeTest, NoRespawnPromisedAfterTheHelicopterIsLost) {
    host.world().combat().setRevivalDelay(sim::kNever);
    startLevelOne();
    host.world().entities().setSight(sim::Sight::AlwaysBlocked);
    mod.outOfSightFrames = 400;
    host.world().combat().kill(player().handle);
    runFrame();
    EXPECT_FALSE(mod.encounterActive);
    EXPECT_STREQ(mod.messageText, "You have lost the insurgent!");
    EXPECT_EQ(mod.playerDown, 0);
    EXPECT_EQ(countThisFrame(kIsEntityDead), 0);
    runFrames(5);
    EXPECT_EQ(mod.playerDown, 0);
    EXPECT_NE(host.screen().findText("You have lost the insurgent!"), nullptr);
}

// The armor shield drops only when a sequence ends; every other end of an encounter, and a
// level start, lowers it too, so that no vehicle stays invincible in free roam.
TEST_F(LevelOutcomeTest, EveryEndLowersTheShield) {
    const char* ends[] = {"won", "lost", "abandoned", "death without checkpoint", "failed replacement", "level start"};
    useReadyHarmlessMissiles();
    host.world().combat().setRevivalDelay(sim::kNever);
    for (const char* end : ends) {
        SCOPED_TRACE(end);
        const std::string how = end;
        startLevelOne();
        startSalvoNextFrame(true);
        ASSERT_TRUE(runUntilWarningAt(-20));
        sim::Entity& car = playerVehicle();
        ASSERT_TRUE(car.invincible);
        ASSERT_EQ(mod.armorShieldActive, 1);
        if (how == "won") {
            mod.attacksSurvived = 3;
            mod.attackPower = 49.0f;
            mod.heliHealth = 1.0f;
            pressPadAttack();
            ASSERT_TRUE(car.invincible);  // the counter-attack keeps the salvo's shield
        } else if (how == "lost") {
            host.world().entities().setSight(sim::Sight::AlwaysBlocked);
            mod.outOfSightFrames = 400;
        } else if (how == "abandoned") {
            abandonEncounter();
        } else if (how == "death without checkpoint") {
            mod.checkpointSaved = 0;
            host.world().combat().kill(player().handle);
        } else if (how == "failed replacement") {
            host.world().entities().model("BUZZARD").creationFails = true;
            host.world().entities().wreck(mod.heliVehicle);
        } else {
            mod.encounterActive = false;  // an encounter ended with the shield up
            startLevelOne();
        }
        ASSERT_TRUE(runUntil([&] { return !mod.encounterActive || how == "level start"; }, 400));
        EXPECT_FALSE(car.invincible);
        EXPECT_EQ(mod.armorShieldActive, 0);
        host.world().entities().model("BUZZARD").creationFails = false;
        player().dead = false;
        mod.playerDown = 0;
        if (how == "level start") abandonEncounter();
    }
}

}  // namespace
