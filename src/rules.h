// The game's rules and numbers, each in one place: tiers and prices, the points, the counts
// of the encounter, how long messages stand, the default key bindings. The plug-in, the
// autopilot, the soak and the tests take them from here; the levels' and the upgrades' own
// rows are in encounter/levels.h and encounter/upgrades.h.
#pragma once

#include <cstdint>

#include "virtual_keys.h"

// Upgrades (encounter/upgrades.h) each go from tier 1 to tier 4, one tier per purchase.
constexpr int32_t kFirstTier = 1;
constexpr int32_t kTopTier = 4;
// The largest balance the settings file may hold (the loader reads a larger one as 1).
constexpr int32_t kMaxUpgradePoints = 28;
// A balance read out of range: one point.
constexpr int32_t kPointsOutOfRange = 1;
// A won level's award is added only to a balance below this.
constexpr int32_t kAwardBelow = 22;
// A won level's award, by the level's index: Level 1 gives 3 points.
constexpr int32_t levelAward(int32_t level) { return level + 3; }
// Levels from this index on (Level 3 and above) refuse a player below this weapon tier.
constexpr int32_t kFirstLevelNeedingWeapon = 2;
constexpr int32_t kWeaponTierForHardLevels = 2;

// The encounter's counts.
constexpr int32_t kAttacksForCounterAttack = 3;  // salvos survived before a counter-attack
constexpr int kSalvoMissiles = 5;                // missiles in a salvo
constexpr int32_t kShieldRollRange = 40;         // the armor shield's roll: 0 to 39 ...
constexpr int32_t kShieldChancePerTier = 4;      // ... below 4 per armor tier: 10 % a tier

// How long floating messages stand, in frames.
constexpr uint32_t kMessageFrames = 140;         // the usual message (and the blank one of a strike)
constexpr uint32_t kWarningMessageFrames = 150;  // out of sight to strike, a death, a level refused
constexpr uint32_t kResultFrames = 350;          // a won level's result
constexpr uint32_t kArmorMessageFrames = 120;    // "ARMOR ACTIVE"
constexpr uint32_t kRespawnMessageFrames = 70;   // "Respawned, ..."

// The pad's attack control strikes only when it reads fully pressed.
constexpr int32_t kPadFullyPressed = 254;
// The sound cues: the module's WAVE resources by id (resources/rotorstrike.rc), the salvo's
// warning and the strike's hit.
constexpr int32_t kSalvoWarningCue = 101;
constexpr int32_t kHitCue = 102;

// A key counts only once more than this many milliseconds have passed since the last
// accepted press: held, a key repeats about five times a second.
constexpr uint32_t kKeyLockoutMs = 200;

// The bindings of a settings file without them.
constexpr int32_t kDefaultMenuKey = vk::F9;
constexpr int32_t kDefaultAttackKey = vk::Numpad9;
