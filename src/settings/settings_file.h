// The settings file's facts, in one place: its name, its section, and its keys in the order
// a load reads them, with their defaults. The plug-in, the tools, the autopilot, the soak
// and the tests all name the file's keys from here. A key for each upgrade follows from the
// upgrade table, a best score for each listed level from the level table.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "encounter/levels.h"
#include "encounter/upgrades.h"
#include "rules.h"

// .\Rotorstrike.ini: in the game's working folder, beside its executable.
constexpr const char* kSettingsFileName = "Rotorstrike.ini";
constexpr const char* kSettingsPath = ".\\Rotorstrike.ini";
constexpr const char* kSettingsSection = "Rotorstrike";

// The keys a load reads, in the order it reads them: the two bindings, the option, the open
// levels, a tier for each upgrade (in the upgrade table's order), the points.
enum SettingsKey : int32_t {
    OpenMenuKey,
    AttackKey,
    CheckpointEnabled,
    OpenLevels,
    FirstUpgradeKey,
    UpgradePoints = FirstUpgradeKey + kUpgrades,
    kSettingsKeys
};
constexpr SettingsKey upgradeKey(int32_t upgrade) { return static_cast<SettingsKey>(FirstUpgradeKey + upgrade); }

struct SettingsKeyRule {
    const char* name;
    int32_t defaultValue;
    bool binding;  // a key binding, which may be written by name
};
constexpr std::array<SettingsKeyRule, kSettingsKeys> kSettingsKeyRules = [] {
    std::array<SettingsKeyRule, kSettingsKeys> rules{};
    rules[OpenMenuKey] = {"open_menu_key", kDefaultMenuKey, true};
    rules[AttackKey] = {"attack_key", kDefaultAttackKey, true};
    rules[CheckpointEnabled] = {"check_point_enabled", 1, false};
    rules[OpenLevels] = {"open_levels", 1, false};
    for (int32_t upgrade = 0; upgrade < kUpgrades; ++upgrade) {
        rules[upgradeKey(upgrade)] = {upgradeTable[upgrade].settingsKey, kFirstTier, false};
    }
    rules[UpgradePoints] = {"upgrade_points", 0, false};
    return rules;
}();

// A listed level's best score is kept under high_score_<its index>: one key for each.
constexpr int32_t kBestScores = kListedLevels;
struct BestScoreKey {
    char chars[16] = {};
};
constexpr std::array<BestScoreKey, kBestScores> kBestScoreKeys = [] {
    static_assert(kBestScores <= 100, "two digits at most");
    std::array<BestScoreKey, kBestScores> keys{};
    constexpr std::string_view prefix = "high_score_";
    for (int32_t level = 0; level < kBestScores; ++level) {
        std::size_t length = 0;
        for (const char c : prefix) keys[level].chars[length++] = c;
        if (level >= 10) keys[level].chars[length++] = static_cast<char>('0' + level / 10);
        keys[level].chars[length] = static_cast<char>('0' + level % 10);
    }
    return keys;
}();
constexpr const char* bestScoreKey(int32_t level) { return kBestScoreKeys[level].chars; }
