// The tests check today's tables exactly: five listed levels and the hidden last one, and two
// upgrades, armor and weapon. A level added to its table (before the hidden one) or an upgrade
// added to its own (after the weapon) changes what they expect only by its own rows: these
// give what such rows add, from their table entries.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "encounter/levels.h"
#include "encounter/upgrades.h"

constexpr int32_t kAddedListedLevels = kListedLevels - 5;
constexpr int32_t kAddedUpgrades = kUpgrades - 2;
constexpr int32_t kAddedMenuRows = kAddedListedLevels + kAddedUpgrades;
static_assert(kAddedListedLevels >= 0 && kAddedUpgrades >= 0 && kWeaponUpgrade == 1, "rows come after today's");
constexpr int32_t kFirstAddedLevel = 5;
constexpr int32_t kFirstAddedUpgrade = 2;

// A whole menu's lines as a test writes today's (the title, Level 1 to Level 5, the balance,
// armor, weapon, the instructions and the credit line; "grey " before a grey one), with the
// rows the tables add: each added level locked, each added upgrade at its first tier, grey
// when the points do not pay for it.
inline std::vector<std::string> withAddedRows(std::vector<std::string> lines, int32_t points) {
    std::vector<std::string> levels, upgrades;
    for (int32_t level = kFirstAddedLevel; level < kListedLevels; ++level) levels.push_back(std::string("grey ") + levelTable[level].lockedName);
    for (int32_t upgrade = kFirstAddedUpgrade; upgrade < kUpgrades; ++upgrade) {
        const UpgradeParams& added = upgradeTable[upgrade];
        upgrades.push_back(std::string(points >= added.price ? "" : "grey ") + added.tierNames[0]);
    }
    lines.insert(lines.begin() + 9, upgrades.begin(), upgrades.end());
    lines.insert(lines.begin() + 6, levels.begin(), levels.end());
    return lines;
}

// Each added upgrade's key at this tier, "key=tier", in table order.
inline std::vector<std::string> addedTiers(int32_t tier = kFirstTier) {
    std::vector<std::string> settings;
    for (int32_t upgrade = kFirstAddedUpgrade; upgrade < kUpgrades; ++upgrade) {
        settings.push_back(std::string(upgradeTable[upgrade].settingsKey) + "=" + std::to_string(tier));
    }
    return settings;
}

// The same as lines of a settings file, each ended so.
inline std::string addedTierLines(int32_t tier = kFirstTier, const std::string& lineEnd = "\r\n") {
    std::string lines;
    for (const std::string& setting : addedTiers(tier)) lines += setting + lineEnd;
    return lines;
}

// The menu's black panel as drawRect's first arguments: a row's height (0.03) longer, and
// half that lower, for each row the tables add.
inline std::string menuPanel() {
    char arguments[64];
    std::snprintf(arguments, sizeof arguments, "0, %g, 0.15, %g", 0.345 + 0.015 * kAddedMenuRows, 0.4 + 0.03 * kAddedMenuRows);
    return arguments;
}
