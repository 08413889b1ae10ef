// The settings and progress file, .\Rotorstrike.ini, section Rotorstrike.
#pragma once

#include <cstdint>

// Reads the key bindings, options, unlocked levels and upgrades, and the menu's row flags.
void loadSettings();

// Adjusts the points and tiers by the given deltas and writes all three keys.
void saveUpgrades(int32_t pointsDelta, int32_t armorDelta, int32_t weaponDelta);

// The stored best score of a level, 0 to 4 (0 when none is stored).
uint32_t loadHighScore(int32_t levelIndex);
