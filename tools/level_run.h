// One level of a game played to its end with everything watched: the timeline, the chase,
// the key screenshots and the frames asked for, an animated replay when asked, and the
// plug-in's writes of the settings file that failed. Its files go into one folder, and the
// files of an earlier run there that it would write are removed first (nothing else).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "encounter/upgrades.h"
#include "game.h"
#include "timeline.h"

namespace tools {

// rotorstrike-sim's exit statuses for a level's end.
constexpr int kWon = 0;
constexpr int kLost = 1;
constexpr int kRefused = 3;
constexpr int kOutOfFrames = 4;
constexpr int kFault = 5;

struct LevelRunOptions {
    std::string folder;           // where the files go
    std::set<int64_t> shots;      // frames to picture as well
    bool pictures = true;         // the key screenshots and the chase map
    bool replay = false;          // replay.gif
    bool trace = false;           // every native call printed
    std::function<void(const autopilot::Event&)> onEvent;  // each timeline line as it comes
    std::function<void()> progress;                      // now and then, while the level runs
};

struct LevelReport {
    autopilot::Outcome outcome = autopilot::Outcome::Playing;
    int status = kFault;
    std::string result;  // one line: "won Level 1: score 37, high score 37", "lost: ..."
    int64_t score = -1;  // a won level's
    int deaths = 0, salvos = 0, strikes = 0;
    int64_t frames = 0;
    int64_t firstFrame = 0, lastFrame = 0;  // the host's frames the level's run took
    std::vector<std::string> files;         // what it wrote, in order
    std::vector<std::string> failedWrites;  // the plug-in's: "upgrade_points=3: why"
    std::vector<int64_t> missedShots;       // --shot frames past the level's end
};

// The exit status of the game's level as it stands: won, lost, refused, out of frames, or a
// fault (still playing with frames left).
int statusOf(const autopilot::Game& game);

// Plays the game's level (the one its autopilot was given) to its end.
LevelReport runLevel(autopilot::Game& game, int level, const LevelRunOptions& options);

// The keys of the settings file that a level changes; "-" for a key it does not hold.
std::string settingsLine(autopilot::Game& game);

// The least weapon tier a level (numbered from 1) lets the player start it with.
int leastWeapon(int level);
// Each upgrade's tier, by the upgrade table's rows.
using Tiers = std::array<int, kUpgrades>;
// The first tier of each upgrade, and the least weapon tier that a level (numbered from 1)
// lets the player start it with.
Tiers leastTiers(int level);
// A settings file in the game's folder that opens the levels up to this one (numbered from 1)
// with these tiers.
void writeSettingsOpening(const std::string& gameDir, int level, const Tiers& tiers);

}  // namespace tools
