#include "encounter/respawn.h"

#include "runtime/mod_state.h"

// PLACEHOLDER until the checkpoint is built: records only that one exists, not the vehicle.
void saveCheckpoint() { mod.checkpointSaved = 1; }

// PLACEHOLDER until death and respawn are built.
void respawnAtCheckpoint() {}
