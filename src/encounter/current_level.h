// The level being played, as rows of the level table: currentLevel from the mod state.
#pragma once

#include "encounter/levels.h"

// `currentLevel` lies in 0 to kLastLevel whenever an encounter runs (the level start clamps
// it); an index outside is held to the nearest row rather than read past the tables.
const LevelParams& currentLevelParams();
const LevelStartPoint& currentStartPoint();
