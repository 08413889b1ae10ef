#include "encounter/counter_attack.h"

#include "encounter/pursuit.h"
#include "runtime/mod_state.h"

namespace {
constexpr int32_t kLastSequenceFrame = 101;
}

// PLACEHOLDER until the counter-attack is built: no attack is ever ready.
void launchCounterAttack() {}

// PLACEHOLDER until the missiles are built: a sequence only counts its frames, launching
// nothing, and ends on the step that finds it at 101.
void stepMissileSequence() {
    if (mod.missileSequenceFrame >= kLastSequenceFrame) {
        endMissileSequence();
        return;
    }
    ++mod.missileSequenceFrame;
}

void endMissileSequence() {
    mod.heliSightFrames = 0;
    mod.missilesLaunched = 0;
    mod.missileSequenceActive = 0;
    if (mod.counterAttackSequence == 0) ++mod.attacksSurvived;
    dropArmorShield();
}
