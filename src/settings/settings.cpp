#include "settings/settings.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "runtime/keys.h"
#include "runtime/messages.h"
#include "runtime/mod_state.h"
#include "runtime/text.h"
#include "seam.h"

namespace {

bool listedLevel(int32_t levelIndex) { return levelIndex >= 0 && levelIndex < kListedLevels; }

uint32_t readKey(const char* key, int32_t defaultValue) { return readProfileInt(kSettingsSection, key, defaultValue, kSettingsPath); }

// A binding written by name (open_menu_key=F10) reads as 0, as does any text: only then is
// the value read again as text, and a name taken for its code.
uint32_t readBinding(const char* key, int32_t defaultValue) {
    char name[kKeyNameBuffer] = {};
    return readBindingWith([&] { return readKey(key, defaultValue); },
                           [&] {
                               const uint32_t length = readProfileString(kSettingsSection, key, "", name, kKeyNameBuffer, kSettingsPath);
                               return std::string_view(name, length);
                           });
}

bool writeNumber(const char* key, int32_t value) {
    return writeProfileString(kSettingsSection, key, decimalText(value).chars, kSettingsPath);
}

// A write of a loaded key: what it wrote is what the file holds now.
bool storeKey(SettingsKey key, const char* text, uint32_t value) {
    if (!writeProfileString(kSettingsSection, kSettingsKeyRules[key].name, text, kSettingsPath)) return false;
    mod.storedSettings[key] = value;
    mod.rollbackPending[key] = false;
    return true;
}

bool storeNumber(SettingsKey key, int32_t value) {
    return storeKey(key, decimalText(value).chars, static_cast<uint32_t>(value));
}

// Writes the rollbacks still pending; true when none is left.
bool writePendingRollbacks() {
    bool done = true;
    for (int key = 0; key < kSettingsKeys; ++key) {
        if (!mod.rollbackPending[key]) continue;
        if (storeNumber(static_cast<SettingsKey>(key), static_cast<int32_t>(mod.storedSettings[key]))) {
            probeSettings(ProbeRollbackWrittenLater);
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
    if (!mod.settingsRead) probeSettings(ProbeWithheldBeforeRead);
    return mod.settingsRead && writePendingRollbacks();
}

// Deltas come from callers; the sum must not overflow, whatever they pass.
int32_t addSaturated(int32_t value, int32_t delta) {
    const int64_t sum = static_cast<int64_t>(value) + delta;
    if (sum > INT32_MAX) return INT32_MAX;
    if (sum < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(sum);
}

// The settings in memory from the keys' values, each out-of-range value replaced.
void applySettings(const uint32_t (&values)[kSettingsKeys]) {
    // Key codes (a name already made its code) and the option are taken as they are: any
    // integer.
    mod.openMenuKey = static_cast<int32_t>(values[OpenMenuKey]);
    mod.attackKey = static_cast<int32_t>(values[AttackKey]);
    mod.checkpointEnabled = static_cast<int32_t>(values[CheckpointEnabled]);
    mod.highestOpenLevel = openLevelCountOf(values[OpenLevels]) - 1;
    for (int32_t upgrade = 0; upgrade < kUpgrades; ++upgrade) mod.upgradeLevels[upgrade] = tierOf(values[upgradeKey(upgrade)]);
    mod.upgradePoints = upgradePointsOf(values[UpgradePoints]);
}

// A load that cannot take the file's values takes those last stored.
void keepStoredSettings() {
    probeSettings(ProbeUnreadableLoad);
    applySettings(mod.storedSettings);
}

}  // namespace

void loadSettings() {
    // Until a pending rollback is written, the file holds a purchase's spent points: memory
    // keeps what the player has.
    if (!writePendingRollbacks()) {
        keepStoredSettings();
        return;
    }
    // The file is held open across the reads, so that no other program locks it between two.
    const ProfileFileState file = openProfileFile(kSettingsPath);
    if (file == ProfileFileState::Unreadable && mod.settingsRead) {
        closeProfileFile();
        keepStoredSettings();
        return;
    }
    uint32_t values[kSettingsKeys];
    for (int key = 0; key < kSettingsKeys; ++key) {
        const SettingsKeyRule& rule = kSettingsKeyRules[key];
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

bool saveUpgrades(int32_t pointsDelta, const UpgradeDeltas& tierDeltas) {
    struct Stored {
        SettingsKey key;
        int32_t before;
        int32_t* value;
        bool written;
    };
    // Written in this order: the points, then each tier.
    std::array<Stored, 1 + kUpgrades> stored{};
    stored[0] = {UpgradePoints, mod.upgradePoints, &mod.upgradePoints, false};
    for (int32_t upgrade = 0; upgrade < kUpgrades; ++upgrade) {
        int32_t& tier = mod.upgradeLevels[upgrade];
        stored[1 + upgrade] = {upgradeKey(upgrade), tier, &tier, false};
    }

    // An award is added only below 22, and the balance is capped at what the loader
    // accepts: an award past it would be read back as 1 point.
    if (mod.upgradePoints < kAwardBelow && pointsDelta > 0) {
        const int32_t awarded = addSaturated(mod.upgradePoints, pointsDelta);
        mod.upgradePoints = awarded > kMaxUpgradePoints ? kMaxUpgradePoints : awarded;
    }
    if (mod.upgradePoints > 0 && pointsDelta < 0) mod.upgradePoints = addSaturated(mod.upgradePoints, pointsDelta);
    for (int32_t upgrade = 0; upgrade < kUpgrades; ++upgrade) {
        int32_t& tier = mod.upgradeLevels[upgrade];
        if (tier < kTopTier) tier = addSaturated(tier, tierDeltas[upgrade]);
    }

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
    if (!listedLevel(mod.currentLevel)) return true;
    return progressWritable() && writeNumber(bestScoreKey(mod.currentLevel), truncateToInt(mod.score));
}

bool saveOpenLevels(int32_t levelIndex) {
    if (!listedLevel(levelIndex)) return true;
    return progressWritable() && storeNumber(OpenLevels, levelIndex + 1);
}

std::optional<uint32_t> loadHighScore(int32_t levelIndex) {
    if (!listedLevel(levelIndex)) return std::nullopt;
    const ProfileFileState file = openProfileFile(kSettingsPath);
    std::optional<uint32_t> best;
    if (file != ProfileFileState::Unreadable) best = readKey(bestScoreKey(levelIndex), 0);
    closeProfileFile();
    return best;
}

void probeSettings(SettingsProbe path) { ++mod.settingsProbes[path]; }

void reportUnsavedProgress() {
    probeSettings(ProbeUnsavedReported);
    postNotification(kUnsavedProgressNotice);
}
