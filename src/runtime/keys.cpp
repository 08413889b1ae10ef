#include "runtime/keys.h"

#include "runtime/mod_state.h"
#include "rules.h"
#include "seam.h"

bool keyAccepted(int32_t virtualKey) {
    // The focus is asked only of a key that is down: an idle frame asks nothing.
    return tickCount() - mod.lastKeyTime > kKeyLockoutMs && isKeyDown(virtualKey) && gameHasFocus();
}

void stampKeyTime() { mod.lastKeyTime = tickCount(); }
