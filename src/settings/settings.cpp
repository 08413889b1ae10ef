#include "settings/settings.h"

#include "runtime/mod_state.h"

// Placeholder until the settings file is built: the values a missing file gives.
void loadSettings() {
    mod.openMenuKey = 120;
    mod.attackKey = 105;
    mod.checkpointEnabled = 1;
    mod.highestOpenLevel = 0;
    mod.armorLevel = 1;
    mod.weaponLevel = 1;
    mod.upgradePoints = 0;
    for (int32_t row = 0; row <= 5; ++row) mod.menuItemEnabled[row] = row <= mod.highestOpenLevel ? 1 : 0;
    mod.menuItemEnabled[7] = 0;
    mod.menuItemEnabled[8] = 0;
}

// Placeholder until the settings file is built.
void saveUpgrades(int32_t, int32_t, int32_t) {}

// Placeholder until the settings file is built: no best score is stored.
uint32_t loadHighScore(int32_t) { return 0; }
