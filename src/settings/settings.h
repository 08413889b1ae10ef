// The settings and progress file, .\Rotorstrike.ini, section Rotorstrike (settings_file.h
// names its keys): key bindings, options, unlocked levels, upgrades, points and high scores. The file is the source of
// truth: every change is written at once, and the values are read back at set points.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "encounter/levels.h"
#include "runtime/mod_state.h"
#include "rules.h"
#include "settings/settings_file.h"

// What a load makes of the file's numbers, each out-of-range value replaced (compared as
// unsigned, so that a negative one is out of range like one too large). The tools and the
// soak read the file by the same rules.
constexpr bool settingInRange(uint32_t value, uint32_t low, uint32_t high) { return value >= low && value <= high; }
// open_levels: how many levels are open, 1 to kLevelCount; a bad count opens the listed ones.
constexpr int32_t openLevelCountOf(uint32_t value) {
    return settingInRange(value, 1, kLevelCount) ? static_cast<int32_t>(value) : kListedLevels;
}
// armor, weapon: a tier; a bad one is the first.
constexpr int32_t tierOf(uint32_t value) {
    return settingInRange(value, kFirstTier, kTopTier) ? static_cast<int32_t>(value) : kFirstTier;
}
// upgrade_points: the balance.
constexpr int32_t upgradePointsOf(uint32_t value) {
    return settingInRange(value, 0, kMaxUpgradePoints) ? static_cast<int32_t>(value) : kPointsOutOfRange;
}

// Progress is never written before a load has read the file (or found it missing) since the
// module loaded, nor while a purchase's rollback waits to be written; such a write is
// withheld, and counts as not stored.

// Reads the key bindings (a code, or a key's name such as F10), the checkpoint option, the
// unlocked levels, the tiers and the points (each out-of-range value replaced; the menu
// then recomputes its row flags: updateMenuRows). When the
// file cannot be read (or a rollback is still pending), memory takes the values last read
// from the file or written to it, except before the file was ever read: then the reads give
// the defaults, so that the keys work.
void loadSettings();

// Adds the deltas to the points and the tiers by the upgrade rules and writes them all: the
// points, then each tier. The tiers' deltas follow the upgrade table (armor, weapon): the
// menu's purchases pass (-4, {+1, 0}) and (-3, {0, +1}); a won level passes (award, {}).
// False when a changed value was not stored (the rest then rolled back).
using UpgradeDeltas = std::array<int32_t, kUpgrades>;
bool saveUpgrades(int32_t pointsDelta, const UpgradeDeltas& tierDeltas);

// Writes the running score, truncated, as the high score of currentLevel (a listed level).
// False when it was not stored.
bool saveHighScore();

// Writes how many levels are open, up to and including levelIndex (a listed level). False when it
// was not stored.
bool saveOpenLevels(int32_t levelIndex);

// The stored high score of a listed level (0 when none is stored); none for any other index
// (the file is not read) and when the file cannot be read: the best is then unknown.
std::optional<uint32_t> loadHighScore(int32_t levelIndex);

// Counts a run of one of the settings code's rare paths.
void probeSettings(SettingsProbe path);

// Tells the player that progress they were shown could not be written to the file, with
// this notice.
constexpr const char* kUnsavedProgressNotice =
    "~r~Progress could not be saved! Check that Rotorstrike.ini beside the game can be written.";
void reportUnsavedProgress();
