#include "encounter/level_start.h"
#include "menu/menu.h"
#include "runtime/keys.h"
#include "runtime/messages.h"
#include "runtime/mod_state.h"
#include "runtime/natives.h"
#include "settings/settings.h"

namespace {

constexpr int32_t kKeyUp = 0x68;      // numeric keypad 8
constexpr int32_t kKeyDown = 0x62;    // numeric keypad 2
constexpr int32_t kKeySelect = 0x65;  // numeric keypad 5
constexpr int32_t kKeyBack = 0x60;    // numeric keypad 0

constexpr int32_t kFirstRow = 0;
constexpr int32_t kLastRow = kMenuRows - 1;
constexpr int32_t kArmorRow = 7;
constexpr int32_t kWeaponRow = 8;
constexpr int32_t kInstructionsRow = 10;
constexpr int32_t kFirstLevelNeedingWeapon = 2;  // Level 3 and above

constexpr int32_t kMaxTier = 4;
constexpr int32_t kArmorPrice = 4;
constexpr int32_t kWeaponPrice = 3;

bool playerInVehicle() {
    const HostHandle ped = playerPedHandle();
    const HostHandle vehicle = vehiclePedIsUsing(ped);
    return entityExists(vehicle);
}

// After a purchase the cursor stays on its row while another tier can be bought there;
// otherwise it moves up and the row is no longer selectable. A purchase the file did not
// get is undone by a load, and the player told.
void buyTier(int32_t row, int32_t armorDelta, int32_t weaponDelta, int32_t price) {
    if (!saveUpgrades(-price, armorDelta, weaponDelta)) {
        ++mod.settingsProbes[ProbePurchaseReloaded];
        loadSettings();
        reportUnsavedProgress();
    }
    const int32_t tier = row == kArmorRow ? mod.armorLevel : mod.weaponLevel;
    if (tier < kMaxTier && mod.upgradePoints >= price) return;
    moveMenuCursor(false);
    mod.menuItemEnabled[row] = 0;
}

void startSelectedLevel() {
    if (!playerInVehicle()) {
        showFloatingMessage("You need a vehicle!", 140, true);
        return;
    }
    if (mod.weaponLevel < 2 && mod.menuCursor >= kFirstLevelNeedingWeapon) {
        showFloatingMessage("You must upgrade your weapon in the menu before starting this level!", 150, true);
        return;
    }
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

void moveMenuCursor(bool down) {
    stampKeyTime();
    playNavSound();
    loadSettings();
    if (down) {
        if (mod.menuCursor < kLastRow) ++mod.menuCursor;
        while (!mod.menuItemEnabled[mod.menuCursor] && mod.menuCursor < kLastRow) ++mod.menuCursor;
    } else {
        if (mod.menuCursor > kFirstRow) --mod.menuCursor;
        while (!mod.menuItemEnabled[mod.menuCursor] && mod.menuCursor > kFirstRow) --mod.menuCursor;
    }
    loadSettings();
    stampKeyTime();
}

void activateMenuItem() {
    switch (mod.menuCursor) {
    case kArmorRow: buyTier(kArmorRow, 1, 0, kArmorPrice); break;
    case kWeaponRow: buyTier(kWeaponRow, 0, 1, kWeaponPrice); break;
    case kInstructionsRow:
        mod.instructionsShown = 1;
        break;
    default:
        startSelectedLevel();
        break;
    }
}

void playNavSound() { playSoundFrontend(-1, "NAV_UP_DOWN", "HUD_FRONTEND_DEFAULT_SOUNDSET", false); }
