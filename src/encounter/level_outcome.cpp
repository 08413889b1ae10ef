#include "encounter/level_outcome.h"

#include "encounter/level_start.h"
#include "runtime/mod_state.h"

void addFrameScore() {
    // Single precision, multiplied in this order: the stored best scores depend on it.
    mod.score = mod.score + mod.playerSpeed * 0.0007f * static_cast<float>(mod.currentLevel + 1) *
                                static_cast<float>(mod.weaponLevel);
}

// PLACEHOLDER until the level outcome is built: the encounter simply ends, with no
// explosion, result, high score, points or unlock.
void completeLevel() { releaseEncounter(); }

// PLACEHOLDER until death and respawn are built: a dead player is not noticed.
void checkPlayerDeath() {}
