// The upgrades, in one place: for each, the settings file's key of its tier, its price per
// tier and the menu's name for each tier. Every upgrade goes from kFirstTier to kTopTier, one
// tier a purchase. The menu's upgrade rows, the purchase, the settings file's tier keys (in
// this order, after open_levels) and the tools, the autopilot and the soak all follow from
// here; each upgrade's effect is read where it acts, from mod.upgradeLevels[its index].
//
// Adding an upgrade: one row in upgradeTable (and an index constant below, for its effect).
#pragma once

#include <cstdint>
#include <iterator>

#include "rules.h"

struct UpgradeParams {
    const char* settingsKey;          // the settings file's key of its tier
    int32_t price;                    // upgrade points a tier
    const char* tierNames[kTopTier];  // the menu's row at each tier, from kFirstTier
};

inline constexpr UpgradeParams upgradeTable[] = {
    // "ARMOR II (UP:4" lacks its closing parenthesis on purpose: players know the menu so.
    {"armor", 4, {"ARMOR I (UP:4)", "ARMOR II (UP:4", "ARMOR III (UP:4)", "ARMOR IV (max)"}},
    {"weapon", 3, {"WEAPON I (UP:3)", "WEAPON II (UP:3)", "WEAPON III (UP:3)", "WEAPON IV (max)"}},
};

constexpr int32_t kUpgrades = static_cast<int32_t>(std::size(upgradeTable));
// The rows whose effects the encounter reads: the armor shield and the weapon's damage.
constexpr int32_t kArmorUpgrade = 0;
constexpr int32_t kWeaponUpgrade = 1;
