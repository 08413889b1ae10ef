#include "encounter/current_level.h"

#include "runtime/mod_state.h"

namespace {

int32_t currentRow() {
    if (mod.currentLevel < 0) return 0;
    return mod.currentLevel > kLastLevel ? kLastLevel : mod.currentLevel;
}

}  // namespace

const LevelParams& currentLevelParams() { return levelTable[currentRow()]; }

const LevelStartPoint& currentStartPoint() { return levelStartPoints[currentRow()]; }
