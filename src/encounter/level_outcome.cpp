#include "encounter/level_outcome.h"

#include <cmath>

#include "encounter/current_level.h"
#include "encounter/level_start.h"
#include "encounter/levels.h"
#include "encounter/upgrades.h"
#include "menu/menu.h"
#include "runtime/messages.h"
#include "runtime/mod_state.h"
#include "runtime/natives.h"
#include "runtime/text.h"
#include "seam.h"
#include "settings/settings.h"

namespace {

constexpr uint32_t kBeforeWreckMs = 100;
constexpr uint32_t kWreckShotMs = 4000;
constexpr float kWreckTimeScale = 0.35f;

// The result against the level's best; a tie is a new best, and a new best is stored under
// the level's key. Without a known best (the sixth level keeps none; the file could not be
// read) the result compares with nothing and stores nothing: a best that could not be read
// must not be overwritten with a lower one. False when the level's best was not recorded: a
// new best not stored, or a listed level's best that could not be read.
bool showResult() {
    const bool compared = mod.levelHighScoreKnown;
    if (!compared) probeSettings(ProbeResultUncompared);
    const bool newBest = compared && !(mod.levelHighScore > mod.score);
    TextBuffer text;
    appendText(text, newBest ? "~g~Success! -- NEW HIGH SCORE: " : "~g~Success! -- Score: ");
    appendNumber(text, truncateToInt(mod.score));
    if (compared) {
        appendText(text, newBest ? " -- Last score: " : " -- Highest: ");
        appendNumber(text, truncateToInt(mod.levelHighScore));
    }
    // From the last listed level on no further level opens, so the result names none.
    if (mod.currentLevel >= kLastListedLevel) {
        appendText(text, " -- (All levels complete!)");
    } else {
        appendText(text, " -- (Level ");
        appendNumber(text, mod.currentLevel + 2);
        appendText(text, " is available!)");
    }
    showFloatingMessage(text.chars, kResultFrames, true);
    if (!compared) return mod.currentLevel >= kListedLevels;
    // A tie rewrites the same number: lost or not, nothing is lost.
    return !newBest || saveHighScore() || truncateToInt(mod.score) == truncateToInt(mod.levelHighScore);
}

void postRewardNotifications() {
    TextBuffer points;
    appendText(points, "~g~");
    appendNumber(points, levelAward(mod.currentLevel));
    appendText(points, " upgrade points are available!");
    postNotification(points.chars);

    for (const char* notice : currentLevelParams().wonNotices) {
        if (notice != nullptr) postNotification(notice);
    }
}

bool playerHasDied() {
    // An arrest counts as a death; it is asked only when the player lives.
    return entityDead(mod.playerPed) || playerBeingArrested(playerIndex());
}

}  // namespace

void addFrameScore() {
    // Single precision, multiplied in this order: the stored best scores depend on it. A
    // speed that is not a number would make the score NaN for good, and a NaN score would
    // be stored as a best of 0.
    const float increment =
        mod.playerSpeed * 0.0007f * static_cast<float>(mod.currentLevel + 1) * static_cast<float>(weaponLevel());
    if (std::isfinite(increment)) mod.score = mod.score + increment;
}

void completeLevel() {
    scriptWait(kBeforeWreckMs);
    setEntityInvincible(mod.heliVehicle, false);
    explodeVehicle(mod.heliVehicle);
    mod.heliPosition = entityPosition(mod.heliVehicle);
    playSlowMotionShot(mod.heliPosition.x, mod.heliPosition.y, mod.heliPosition.z, kWreckTimeScale, kNoFadeIn,
                       kWreckShotMs);
    endEncounter();

    // Every load since the module started found the file locked: it is read once more, so
    // that a lock ended by now does not cost the win.
    if (!mod.settingsRead) {
        probeSettings(ProbeWinLoadAfterLockedStart);
        loadMenuSettings();
    }
    creditWonLevel();
}

void creditWonLevel() {
    // A best the file could not give at the level's start is asked for once more.
    if (!mod.levelHighScoreKnown) {
        loadLevelHighScore();
        if (mod.levelHighScoreKnown) probeSettings(ProbeBestReadAgain);
    }
    bool stored = showResult();
    postRewardNotifications();
    const int32_t award = levelAward(mod.currentLevel);
    ++mod.currentLevel;
    stored = saveUpgrades(award, {}) && stored;
    if (mod.currentLevel >= mod.highestOpenLevel) {
        // Only a raise is progress: rewriting the count already open loses nothing if it fails.
        const bool raised = mod.currentLevel > mod.highestOpenLevel;
        mod.highestOpenLevel = mod.currentLevel;
        stored = (saveOpenLevels(mod.currentLevel) || !raised) && stored;
    }
    // What the result promised and the file did not get, the player is told of.
    if (!stored) reportUnsavedProgress();
    // The file has the last word: an unlock past the last listed level, never written, does not last.
    loadMenuSettings();
}

void checkPlayerDeath() {
    // Only a running encounter can go on from a checkpoint: when the lost helicopter ended
    // it in this frame, no respawn would follow the promise of one.
    if (!mod.encounterActive || !playerHasDied()) return;
    mod.playerDown = 1;
    if (mod.checkpointSaved != 0) {
        showFloatingMessage("You have died...respawning in 15 seconds", kWarningMessageFrames, true);
        return;
    }
    endEncounter();
}
