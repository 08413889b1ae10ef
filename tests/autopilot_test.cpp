// The autopilot plays the real plug-in in the fair world, only through the keys and its car.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "added_rows.h"
#include "chase.h"
#include "dodge.h"
#include "game.h"
#include "temp_folder.h"
#include "timeline.h"

namespace {

struct Played {
    autopilot::Outcome outcome = autopilot::Outcome::Playing;
    std::string reason;
    int64_t frames = 0;
    std::vector<std::string> events;
    int64_t score = -1;
    int strikes = 0;
    int survived = 0;
    std::vector<uint32_t> stored;  // open_levels, upgrade_points, weapon, high_score_0
    std::size_t held = 0;
};

// Plays a game to its end in the folder; the lines go into the folder's settings file first.
Played play(uint32_t seed, int level, const TempFolder& folder, const std::string& settings = "") {
    if (!settings.empty()) folder.write("Rotorstrike.ini", settings);
    autopilot::GameOptions options;
    options.seed = seed;
    options.level = level;
    options.gameDirectory = folder.path();
    options.maxFrames = 60000;
    autopilot::Game game(options);
    autopilot::Timeline timeline(game.host());
    autopilot::ChaseRecorder chase;
    while (game.step()) {
        timeline.observe(game.host());
        chase.observe(game.host());
    }
    timeline.observe(game.host());
    Played played;
    played.outcome = game.autopilot().outcome();
    played.reason = game.autopilot().reason();
    played.frames = game.framesPlayed();
    for (const autopilot::Event& event : timeline.events()) {
        played.events.push_back(autopilot::formatEvent(event));
        played.survived += event.text.find(" survived: power-up") != std::string::npos ? 1 : 0;
    }
    played.score = timeline.wonScore();
    played.strikes = timeline.strikes();
    for (const char* key : {"open_levels", "upgrade_points", "weapon", "high_score_0"}) played.stored.push_back(game.stored(key, -1));
    played.held = game.host().world().entities().heldByScript().size();
    EXPECT_EQ(chase.record().strikes.size(), static_cast<std::size_t>(played.strikes));
    return played;
}

// Level 1 from a fresh settings file at weapon tier 1: two strikes after three salvos
// survived each; the file then holds the unlock, the points and the score the result
// message gave as the new high score.
TEST(Autopilot, WinsLevelOneFromAFreshFile) {
    TempFolder folder;
    const Played played = play(1, 1, folder);
    ASSERT_EQ(played.outcome, autopilot::Outcome::Won) << played.reason;
    EXPECT_EQ(played.strikes, 2);
    EXPECT_GE(played.survived, 6);
    EXPECT_GT(played.score, 0);
    EXPECT_EQ(played.stored, (std::vector<uint32_t>{2, 3, 1, static_cast<uint32_t>(played.score)}));
    EXPECT_EQ(played.held, 0u);
}

// One seed plays one game, event for event; another seed another.
TEST(Autopilot, TheSeedDecidesTheGame) {
    TempFolder first, second, third;
    const Played a = play(7, 1, first);
    const Played b = play(7, 1, second);
    const Played c = play(8, 1, third);
    EXPECT_EQ(a.frames, b.frames);
    EXPECT_EQ(a.events, b.events);
    EXPECT_NE(a.events, c.events);
}

// A level the menu will not start: locked, or refused with the plug-in's own message.
TEST(Autopilot, RefusedLevelsAreReportedWithTheirReason) {
    const struct {
        int level;
        std::string settings;
        std::string reason;
    } cases[] = {
        {2, "", "Level 2 is locked"},
        {3, "[Rotorstrike]\r\nopen_levels=3\r\n", "You must upgrade your weapon in the menu before starting this level!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        TempFolder folder;
        const Played played = play(1, c.level, folder, c.settings);
        EXPECT_EQ(played.outcome, autopilot::Outcome::Refused);
        EXPECT_EQ(played.reason, c.reason);
        EXPECT_EQ(folder.read("Rotorstrike.ini"), c.settings.empty() ? "<missing>" : c.settings);
    }
}

// Upgrades bought in the menu before the level: the ones the points pay for. A purchase
// writes every tier.
TEST(Autopilot, BuysTheUpgradesItCanPayFor) {
    const struct {
        int32_t upgrade;
        const char* settings;
        std::string stored;
    } cases[] = {
        {kArmorUpgrade, "[Rotorstrike]\r\nupgrade_points=5\r\n",
         "[Rotorstrike]\r\nupgrade_points=1\r\narmor=2\r\nweapon=1\r\n" + addedTierLines()},
        {kWeaponUpgrade, "[Rotorstrike]\r\nupgrade_points=3\r\n",
         "[Rotorstrike]\r\nupgrade_points=0\r\narmor=1\r\nweapon=2\r\n" + addedTierLines()},
        {kArmorUpgrade, "[Rotorstrike]\r\nupgrade_points=3\r\n", "[Rotorstrike]\r\nupgrade_points=3\r\n"},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        folder.write("Rotorstrike.ini", c.settings);
        autopilot::GameOptions options;
        options.gameDirectory = folder.path();
        options.showInstructions = false;
        autopilot::Game game(options);
        game.autopilot().buyFirst(c.upgrade);
        // The level starts once the purchase is done or found not for sale.
        while (game.step() && !game.autopilot().driving()) {
        }
        EXPECT_TRUE(game.autopilot().driving()) << game.autopilot().reason();
        EXPECT_EQ(folder.read("Rotorstrike.ini"), c.stored) << c.settings;
    }
}

// A later missile that lands first is told at its own frame, not after the earlier one.
TEST(Timeline, EachBlastIsToldAtItsOwnFrame) {
    sim::Host host;
    sim::World& world = host.world();
    const uint32_t rocket = sim::hashOfName("WEAPON_VEHICLE_ROCKET");
    world.combat().requestWeaponAsset(rocket, 31, 0);
    host.runFrames(5);
    autopilot::Timeline timeline(host);
    world.combat().fireMissile({0.0f, 0.0f, 50.0f}, {0.0f, 600.0f, 0.0f}, 250, rocket, 0, true, false, 820.0f);
    world.combat().fireMissile({0.0f, 0.0f, 50.0f}, {0.0f, 60.0f, 0.0f}, 250, rocket, 0, true, false, 820.0f);
    std::vector<std::pair<int, int64_t>> blasts;  // missile, frame told
    for (int frame = 0; frame < 600 && blasts.size() < 2; ++frame) {
        host.runFrame();
        const std::size_t before = timeline.events().size();
        timeline.observe(host);
        for (std::size_t index = before; index < timeline.events().size(); ++index) {
            const std::string& text = timeline.events()[index].text;
            if (text.find("exploded") != std::string::npos) blasts.push_back({text[8] - '0', host.frame()});
        }
    }
    ASSERT_EQ(blasts.size(), 2u);
    EXPECT_EQ(blasts[0].first, 2);
    EXPECT_EQ(blasts[1].first, 1);
    EXPECT_LT(blasts[0].second + 60, blasts[1].second);
}

// Thinking ahead: a missile that will come down where the cruising car will be is cleared
// by driving otherwise; one that comes down off the road needs nothing.
TEST(Dodge, ACarClearsAMissileAimedWhereItWillBe) {
    sim::Map map({0.0f, 0.0f, 0.0f}, 0.0f);
    map.road = {{0.0f, -100.0f, 0.0f}, {0.0f, 1000.0f, 0.0f}, {50.0f, 1000.0f, 0.0f}, {50.0f, -100.0f, 0.0f}};
    const autopilot::Road road(map);
    const sim::CarState car{{0.0f, 0.0f, 0.0f}, 0.0f, 20.0f};
    const autopilot::Danger danger;
    const struct {
        sim::Vec3 aim;
        bool cruisingHit;
    } cases[] = {{{0.0f, 40.0f, 1.0f}, true}, {{30.0f, 40.0f, 1.0f}, false}};
    for (const auto& c : cases) {
        autopilot::Threats threats;
        // Launched from 30 up and 40 ahead of the car, timed to arrive in two seconds.
        const sim::Vec3 from{c.aim.x, 80.0f, 30.0f};
        threats.add({from, c.aim, sim::length(c.aim - from) / 2.0f});
        const autopilot::Plan cruising{20.0f, 0.0f, 0.0f};
        EXPECT_EQ(autopilot::clearance(road, map, car, cruising, threats, danger) < 0.0f, c.cruisingHit);
        const autopilot::Plan chosen = autopilot::choosePlan(road, map, car, threats, danger, 20.0f);
        EXPECT_GE(autopilot::clearance(road, map, car, chosen, threats, danger), danger.margin);
        EXPECT_EQ(chosen.speed != 20.0f || chosen.swerveSeconds > 0.0f, c.cruisingHit);
    }
}

}  // namespace
