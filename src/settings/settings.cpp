#include "settings/settings.h"

#include <cstdint>
#include <string_view>

#include "runtime/keys.h"
#include "runtime/messages.h"
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

// The keys a load reads, in the order it reads them, with their defaults.
enum SettingsKey { OpenMenuKey, AttackKey, CheckpointEnabled, OpenLevels, Armor, Weapon, UpgradePoints };
struct KeyRule {
    const char* name;
    int32_t defaultValue;
    bool binding = false;  // a key binding, which may be written by name
};
constexpr KeyRule kKeys[kSettingsKeys] = {{"open_menu_key", 120, true},
                                          {"attack_key", 105, true},
                                          {"check_point_enabled", 1},
                                          {"open_levels", 1},
                                          {"armor", 1},
                                          {"weapon", 1},
                                          {"upgrade_points", 0}};
// Room for the longest key name and more: a value cut to fit is never taken for a name.
constexpr uint32_t kKeyNameBuffer = 16;

uint32_t readKey(const char* key, int32_t defaultValue) { return readProfileInt(kSection, key, defaultValue, kPath); }

// A binding written by name (open_menu_key=F10) reads as 0, as does any text: only then is
// the value read again as text, and a name taken for its code.
uint32_t readBinding(const char* key, int32_t defaultValue) {
    const uint32_t code = readKey(key, defaultValue);
    if (code != 0) return code;
    char name[kKeyNameBuffer] = {};
    const uint32_t length = readProfileString(kSection, key, "", name, kKeyNameBuffer, kPath);
    if (length >= kKeyNameBuffer - 1) return 0;
    return static_cast<uint32_t>(keyCodeOfName(std::string_view(name, length)));
}

bool writeNumber(const char* key, int32_t value) {
    return writeProfileString(kSection, key, decimalText(value).chars, kPath);
}

// A write of a loaded key: what it wrote is what the file holds now.
bool storeKey(SettingsKey key, const char* text, uint32_t value) {
    if (!writeProfileString(kSection, kKeys[key].name, text, kPath)) return false;
    mod.storedSettings[key] = value;
    mod.rollbackPending[key] = false;
    return true;
}

bool storeNumber(SettingsKey key, int32_t value) {
    return storeKey(key, decimalText(value).chars, static_cast<uint32_t>(value));
}

void probe(SettingsProbe path) { ++mod.settingsProbes[path]; }

// Writes the rollbacks still pending; true when none is left.
bool writePendingRollbacks() {
    bool done = true;
    for (int key = 0; key < kSettingsKeys; ++key) {
        if (!mod.rollbackPending[key]) continue;
        if (storeNumber(static_cast<SettingsKey>(key), static_cast<int32_t>(mod.storedSettings[key]))) {
            probe(ProbeRollbackWrittenLater);
        } else {
            done = false;
        }
    }
    return done;
}

// Progress is written only over a file that has been read (a player's progress must never be
// overwritten with the defaults of a file that could not be read) and after any rollback
// still pending.
bool progressWritable() {
    if (!mod.settingsRead) probe(ProbeWithheldBeforeRead);
    return mod.settingsRead && writePendingRollbacks();
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

// The settings in memory from the keys' values, each out-of-range value replaced, and the
// menu's row flags from them.
void applySettings(const uint32_t (&values)[kSettingsKeys]) {
    // Key codes (a name already made its code) and the option are taken as they are: any
    // integer.
    mod.openMenuKey = static_cast<int32_t>(values[OpenMenuKey]);
    mod.attackKey = static_cast<int32_t>(values[AttackKey]);
    mod.checkpointEnabled = static_cast<int32_t>(values[CheckpointEnabled]);
    // A bad count opens all five levels.
    const uint32_t openLevels = values[OpenLevels];
    mod.highestOpenLevel = inRange(openLevels, 1, 6) ? static_cast<int32_t>(openLevels) - 1 : 4;
    mod.armorLevel = inRange(values[Armor], 1, kMaxUpgradeTier) ? static_cast<int32_t>(values[Armor]) : 1;
    mod.weaponLevel = inRange(values[Weapon], 1, kMaxUpgradeTier) ? static_cast<int32_t>(values[Weapon]) : 1;
    const uint32_t points = values[UpgradePoints];
    mod.upgradePoints = inRange(points, 0, kMaxUpgradePoints) ? static_cast<int32_t>(points) : 1;

    for (int32_t row = 0; row <= kLastLevelRow; ++row) mod.menuItemEnabled[row] = row <= mod.highestOpenLevel ? 1 : 0;
    mod.menuItemEnabled[kArmorRow] = mod.upgradePoints >= kArmorPrice && mod.armorLevel < kMaxUpgradeTier ? 1 : 0;
    mod.menuItemEnabled[kWeaponRow] = mod.upgradePoints >= kWeaponPrice && mod.weaponLevel < kMaxUpgradeTier ? 1 : 0;
}

}  // namespace

void loadSettings() {
    // Until a pending rollback is written, the file holds a purchase's spent points: memory
    // keeps what the player has.
    if (!writePendingRollbacks()) {
        probe(ProbeUnreadableLoad);
        applySettings(mod.storedSettings);
        return;
    }
    // The file is held open across the reads, so that no other program locks it between two.
    const ProfileFileState file = openProfileFile(kPath);
    if (file == ProfileFileState::Unreadable && mod.settingsRead) {
        closeProfileFile();
        probe(ProbeUnreadableLoad);
        applySettings(mod.storedSettings);
        return;
    }
    uint32_t values[kSettingsKeys];
    for (int key = 0; key < kSettingsKeys; ++key) {
        const KeyRule& rule = kKeys[key];
        values[key] = rule.binding ? readBinding(rule.name, rule.defaultValue) : readKey(rule.name, rule.defaultValue);
    }
    closeProfileFile();
    // Before the file has ever been read, an unreadable one gives the defaults, so that the
    // menu key and the attack key work; they are not taken for the file's values.
    if (file != ProfileFileState::Unreadable) {
        for (int key = 0; key < kSettingsKeys; ++key) mod.storedSettings[key] = values[key];
        mod.settingsRead = true;
    }
    applySettings(values);
}

bool saveUpgrades(int32_t pointsDelta, int32_t armorDelta, int32_t weaponDelta) {
    struct Stored {
        SettingsKey key;
        int32_t before;
        int32_t* value;
        bool written;
    };
    Stored stored[] = {{UpgradePoints, mod.upgradePoints, &mod.upgradePoints, false},
                       {Armor, mod.armorLevel, &mod.armorLevel, false},
                       {Weapon, mod.weaponLevel, &mod.weaponLevel, false}};

    // An award is added only below 22, and the balance is capped at what the loader
    // accepts: an award past it would be read back as 1 point.
    if (mod.upgradePoints < kAwardBelow && pointsDelta > 0) {
        const int32_t awarded = addSaturated(mod.upgradePoints, pointsDelta);
        mod.upgradePoints = awarded > kMaxUpgradePoints ? kMaxUpgradePoints : awarded;
    }
    if (mod.upgradePoints > 0 && pointsDelta < 0) mod.upgradePoints = addSaturated(mod.upgradePoints, pointsDelta);
    if (mod.armorLevel < kMaxUpgradeTier) mod.armorLevel = addSaturated(mod.armorLevel, armorDelta);
    if (mod.weaponLevel < kMaxUpgradeTier) mod.weaponLevel = addSaturated(mod.weaponLevel, weaponDelta);

    bool changed = false;
    for (const Stored& entry : stored) changed = changed || *entry.value != entry.before;
    if (!progressWritable()) return !changed;

    bool changeLost = false;
    for (Stored& entry : stored) {
        entry.written = storeNumber(entry.key, *entry.value);
        changeLost = changeLost || (!entry.written && *entry.value != entry.before);
    }
    // A purchase is stored whole or not at all: spent points saved without the tier they
    // bought would be lost for good at the next load. A rollback that cannot be written
    // stays pending until it can. The in-memory values stand until the next load.
    if (changeLost) {
        for (const Stored& entry : stored) {
            if (!entry.written || *entry.value == entry.before || storeNumber(entry.key, entry.before)) continue;
            mod.storedSettings[entry.key] = static_cast<uint32_t>(entry.before);
            mod.rollbackPending[entry.key] = true;
        }
    }
    return !changeLost;
}

bool saveHighScore() {
    if (mod.currentLevel < 0 || mod.currentLevel >= kLevelCount) return true;
    return progressWritable() && writeNumber(kHighScoreKeys[mod.currentLevel], truncateToInt(mod.score));
}

bool saveOpenLevels(int32_t levelIndex) {
    if (levelIndex < 0 || levelIndex >= kLevelCount) return true;
    return progressWritable() &&
           storeKey(OpenLevels, kOpenLevelsTexts[levelIndex], static_cast<uint32_t>(levelIndex + 1));
}

std::optional<uint32_t> loadHighScore(int32_t levelIndex) {
    if (levelIndex < 0 || levelIndex >= kLevelCount) return std::nullopt;
    const ProfileFileState file = openProfileFile(kPath);
    std::optional<uint32_t> best;
    if (file != ProfileFileState::Unreadable) best = readKey(kHighScoreKeys[levelIndex], 0);
    closeProfileFile();
    return best;
}

void reportUnsavedProgress() {
    probe(ProbeUnsavedReported);
    postNotification("~r~Progress could not be saved! Check that Rotorstrike.ini beside the game can be written.");
}
