#include "settings/settings.h"

#include <cstdint>

#include "runtime/mod_state.h"
#include "runtime/text.h"
#include "seam.h"

namespace {

constexpr const char* kSection = "Rotorstrike";
constexpr const char* kPath = ".\\Rotorstrike.ini";
constexpr int32_t kLevelCount = 5;
constexpr const char* kHighScoreKeys[kLevelCount] = {"high_score_0", "high_score_1", "high_score_2",
                                                     "high_score_3", "high_score_4"};
constexpr const char* kOpenLevelsTexts[kLevelCount] = {"1", "2", "3", "4", "5"};
// Points are added only to a balance below this.
constexpr int32_t kAwardBelow = 22;
constexpr int32_t kArmorRow = 7;
constexpr int32_t kWeaponRow = 8;
constexpr int32_t kLastLevelRow = 5;
constexpr int32_t kArmorPrice = 4;
constexpr int32_t kWeaponPrice = 3;

uint32_t readKey(const char* key, int32_t defaultValue) { return readProfileInt(kSection, key, defaultValue, kPath); }

bool writeNumber(const char* key, int32_t value) {
    return writeProfileString(kSection, key, decimalText(value).chars, kPath);
}

// A value of the file in an inclusive range, compared as unsigned, so that a negative one
// is out of range like one too large.
bool inRange(uint32_t value, uint32_t low, uint32_t high) { return value >= low && value <= high; }

// Deltas come from callers; the sum must not overflow, whatever they pass.
int32_t addSaturated(int32_t value, int32_t delta) {
    const int64_t sum = static_cast<int64_t>(value) + delta;
    if (sum > INT32_MAX) return INT32_MAX;
    if (sum < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(sum);
}

}  // namespace

void loadSettings() {
    // Key codes and the option are taken as they are: any integer.
    mod.openMenuKey = static_cast<int32_t>(readKey("open_menu_key", 120));
    mod.attackKey = static_cast<int32_t>(readKey("attack_key", 105));
    mod.checkpointEnabled = static_cast<int32_t>(readKey("check_point_enabled", 1));
    // A bad count opens all five levels.
    const uint32_t openLevels = readKey("open_levels", 1);
    mod.highestOpenLevel = inRange(openLevels, 1, 6) ? static_cast<int32_t>(openLevels) - 1 : 4;
    const uint32_t armor = readKey("armor", 1);
    mod.armorLevel = inRange(armor, 1, kMaxUpgradeTier) ? static_cast<int32_t>(armor) : 1;
    const uint32_t weapon = readKey("weapon", 1);
    mod.weaponLevel = inRange(weapon, 1, kMaxUpgradeTier) ? static_cast<int32_t>(weapon) : 1;
    const uint32_t points = readKey("upgrade_points", 0);
    mod.upgradePoints = inRange(points, 0, kMaxUpgradePoints) ? static_cast<int32_t>(points) : 1;

    for (int32_t row = 0; row <= kLastLevelRow; ++row) mod.menuItemEnabled[row] = row <= mod.highestOpenLevel ? 1 : 0;
    mod.menuItemEnabled[kArmorRow] = mod.upgradePoints >= kArmorPrice && mod.armorLevel < kMaxUpgradeTier ? 1 : 0;
    mod.menuItemEnabled[kWeaponRow] = mod.upgradePoints >= kWeaponPrice && mod.weaponLevel < kMaxUpgradeTier ? 1 : 0;
}

void saveUpgrades(int32_t pointsDelta, int32_t armorDelta, int32_t weaponDelta) {
    struct Stored {
        const char* key;
        int32_t before;
        int32_t* value;
        bool written;
    };
    Stored stored[] = {{"upgrade_points", mod.upgradePoints, &mod.upgradePoints, false},
                       {"armor", mod.armorLevel, &mod.armorLevel, false},
                       {"weapon", mod.weaponLevel, &mod.weaponLevel, false}};

    // An award is added only below 22, and the balance is capped at what the loader
    // accepts: an award past it would be read back as 1 point.
    if (mod.upgradePoints < kAwardBelow && pointsDelta > 0) {
        const int32_t awarded = addSaturated(mod.upgradePoints, pointsDelta);
        mod.upgradePoints = awarded > kMaxUpgradePoints ? kMaxUpgradePoints : awarded;
    }
    if (mod.upgradePoints > 0 && pointsDelta < 0) mod.upgradePoints = addSaturated(mod.upgradePoints, pointsDelta);
    if (mod.armorLevel < kMaxUpgradeTier) mod.armorLevel = addSaturated(mod.armorLevel, armorDelta);
    if (mod.weaponLevel < kMaxUpgradeTier) mod.weaponLevel = addSaturated(mod.weaponLevel, weaponDelta);

    bool changeLost = false;
    for (Stored& entry : stored) {
        entry.written = writeNumber(entry.key, *entry.value);
        changeLost = changeLost || (!entry.written && *entry.value != entry.before);
    }
    // A purchase is stored whole or not at all: spent points saved without the tier they
    // bought would be lost for good at the next load. The in-memory values stand until
    // then, as for any failed write.
    if (changeLost) {
        for (const Stored& entry : stored) {
            if (entry.written && *entry.value != entry.before) writeNumber(entry.key, entry.before);
        }
    }
}

void saveHighScore() {
    if (mod.currentLevel < 0 || mod.currentLevel >= kLevelCount) return;
    writeNumber(kHighScoreKeys[mod.currentLevel], truncateToInt(mod.score));
}

void saveOpenLevels(int32_t levelIndex) {
    if (levelIndex < 0 || levelIndex >= kLevelCount) return;
    writeProfileString(kSection, "open_levels", kOpenLevelsTexts[levelIndex], kPath);
}

std::optional<uint32_t> loadHighScore(int32_t levelIndex) {
    if (levelIndex < 0 || levelIndex >= kLevelCount) return std::nullopt;
    return readKey(kHighScoreKeys[levelIndex], 0);
}
