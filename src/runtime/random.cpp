#include "runtime/random.h"

#include "runtime/mod_state.h"

void seedRandom(uint32_t seed) { mod.randomState = seed; }

int32_t nextRandom() {
    mod.randomState = mod.randomState * 214013u + 2531011u;
    return static_cast<int32_t>((mod.randomState >> 16) & 0x7FFFu);
}
