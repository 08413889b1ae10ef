#include "runtime/restart.h"

#include <algorithm>
#include <iterator>

#include "encounter/level_outcome.h"
#include "runtime/mod_state.h"
#include "runtime/natives.h"
#include "seam.h"

namespace {

// A cue is shorter than this: one started earlier has ended by itself.
constexpr uint32_t kLongestCueMs = 3000;
constexpr int32_t kRestartFadeInMs = 1000;

template <typename T, std::size_t N>
void keep(T (&to)[N], const T (&from)[N]) {
    std::copy(std::begin(from), std::end(from), std::begin(to));
}

}  // namespace

LeftBehind resetForRestart() {
    LeftBehind left;
    const HostEffects& effects = mod.hostEffects;
    left.timeScaleChanged = effects.timeScaleChanged;
    left.screenFadedOut = effects.screenFadedOut;
    left.cuePlaying = effects.cueStarted && tickCount() - effects.cueStartTick < kLongestCueMs;
    if (mod.encounterActive && !(mod.heliHealth > 0.0f)) {
        left.levelWon = true;
        left.level = mod.currentLevel;
        left.score = mod.score;
        left.best = mod.levelHighScore;
        left.bestKnown = mod.levelHighScoreKnown;
    }

    const ModState before = mod;
    mod = ModState{};
    mod.scriptStarted = before.scriptStarted;
    keep(mod.storedSettings, before.storedSettings);
    mod.settingsRead = before.settingsRead;
    keep(mod.rollbackPending, before.rollbackPending);
    keep(mod.settingsProbes, before.settingsProbes);
    mod.lastKeyTime = before.lastKeyTime;
    return left;
}

void undoLeftBehind(const LeftBehind& left) {
    if (left.timeScaleChanged) {
        setTimeScale(1.0f);
        setCameraHintFov(1.0f);
    }
    if (left.screenFadedOut) fadeScreenIn(kRestartFadeInMs);
    if (left.cuePlaying) stopAllCues();
}

void creditLeftWin(const LeftBehind& left) {
    if (!left.levelWon) return;
    mod.currentLevel = left.level;
    mod.score = left.score;
    mod.levelHighScore = left.best;
    mod.levelHighScoreKnown = left.bestKnown;
    creditWonLevel();
}
