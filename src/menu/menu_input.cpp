#include "encounter/level_start.h"
#include "menu/menu.h"
#include "runtime/keys.h"
#include "runtime/messages.h"
#include "runtime/mod_state.h"
#include "runtime/natives.h"
#include "settings/settings.h"
#include "virtual_keys.h"

namespace {

constexpr int32_t kKeyUp = vk::Numpad8;
constexpr int32_t kKeyDown = vk::Numpad2;
constexpr int32_t kKeySelect = vk::Numpad5;
constexpr int32_t kKeyBack = vk::Numpad0;

constexpr int32_t kFirstRow = 0;
constexpr int32_t kLastRow = kMenuRows - 1;

bool playerInVehicle() {
    const HostHandle ped = playerPedHandle();
    const HostHandle vehicle = vehiclePedIsUsing(ped);
    return entityExists(vehicle);
}

// After a purchase the cursor stays on its row while another tier can be bought there;
// otherwise it moves up and the row is no longer selectable. A purchase the file did not
// get is undone by a load, and the player told.
void buyTier(int32_t row) {
    const int32_t upgrade = kMenuTable[row].upgrade;
    UpgradeDeltas tiers{};
    tiers[upgrade] = 1;
    if (!saveUpgrades(-upgradeTable[upgrade].price, tiers)) {
        probeSettings(ProbePurchaseReloaded);
        loadMenuSettings();
        reportUnsavedProgress();
    }
    if (upgradeForSale(row)) return;
    moveMenuCursor(false);
    mod.menuItemEnabled[row] = 0;
}

void startSelectedLevel() {
    if (!playerInVehicle()) {
        showFloatingMessage("You need a vehicle!", kMessageFrames, true);
        return;
    }
    if (weaponLevel() < kWeaponTierForHardLevels && mod.menuCursor >= kFirstLevelNeedingWeapon) {
        showFloatingMessage("You must upgrade your weapon in the menu before starting this level!",
                            kWarningMessageFrames, true);
        return;
    }
    // Any row but an upgrade's or the instructions' chooses the level of its index.
    mod.currentLevel = mod.menuCursor;
    startLevel();
    mod.menuOpen = 0;
    mod.instructionsShown = 0;
}

}  // namespace

void runMenuFrame() {
    drawMenu();
    if (mod.instructionsShown) drawInstructions();

    if (keyAccepted(kKeyUp)) moveMenuCursor(false);
    if (keyAccepted(kKeyDown)) moveMenuCursor(true);
    if (keyAccepted(kKeySelect)) {
        stampKeyTime();
        playNavSound();
        activateMenuItem();
        stampKeyTime();
    }
    if (keyAccepted(kKeyBack)) {
        stampKeyTime();
        playNavSound();
        if (mod.instructionsShown) {
            mod.instructionsShown = 0;
        } else {
            mod.menuOpen = 0;
        }
        stampKeyTime();
    }
}

int32_t upgradeTier(int32_t row) { return mod.upgradeLevels[kMenuTable[row].upgrade]; }

bool upgradeForSale(int32_t row) {
    return mod.upgradePoints >= upgradeTable[kMenuTable[row].upgrade].price && upgradeTier(row) < kTopTier;
}

void updateMenuRows() {
    for (int32_t row = 0; row < kMenuRows; ++row) {
        const MenuRow& entry = kMenuTable[row];
        switch (entry.kind) {
        case MenuRowKind::Level: mod.menuItemEnabled[row] = entry.level <= mod.highestOpenLevel ? 1 : 0; break;
        case MenuRowKind::Upgrade: mod.menuItemEnabled[row] = upgradeForSale(row) ? 1 : 0; break;
        // The balance and the gap are never selectable, the instructions always.
        case MenuRowKind::Balance:
        case MenuRowKind::Gap:
        case MenuRowKind::Instructions: break;
        }
    }
}

void loadMenuSettings() {
    loadSettings();
    updateMenuRows();
}

void moveMenuCursor(bool down) {
    stampKeyTime();
    playNavSound();
    loadMenuSettings();
    if (down) {
        if (mod.menuCursor < kLastRow) ++mod.menuCursor;
        while (!mod.menuItemEnabled[mod.menuCursor] && mod.menuCursor < kLastRow) ++mod.menuCursor;
    } else {
        if (mod.menuCursor > kFirstRow) --mod.menuCursor;
        while (!mod.menuItemEnabled[mod.menuCursor] && mod.menuCursor > kFirstRow) --mod.menuCursor;
    }
    loadMenuSettings();
    stampKeyTime();
}

void activateMenuItem() {
    // A cursor off the table (only ever set by hand) chooses a level, as a level's row does.
    const bool onRow = mod.menuCursor >= 0 && mod.menuCursor < kMenuRows;
    switch (onRow ? kMenuTable[mod.menuCursor].kind : MenuRowKind::Level) {
    case MenuRowKind::Upgrade: buyTier(mod.menuCursor); break;
    case MenuRowKind::Instructions: mod.instructionsShown = 1; break;
    case MenuRowKind::Level:
    case MenuRowKind::Balance:
    case MenuRowKind::Gap: startSelectedLevel(); break;
    }
}

void playNavSound() { playSoundFrontend(-1, "NAV_UP_DOWN", "HUD_FRONTEND_DEFAULT_SOUNDSET", false); }
