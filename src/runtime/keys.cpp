#include "runtime/keys.h"

#include "runtime/mod_state.h"
#include "seam.h"

namespace {

constexpr uint32_t kKeyLockoutMs = 200;

}  // namespace

bool keyAccepted(int32_t virtualKey) {
    return tickCount() - mod.lastKeyTime > kKeyLockoutMs && isKeyDown(virtualKey);
}

void stampKeyTime() { mod.lastKeyTime = tickCount(); }
