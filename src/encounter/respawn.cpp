#include "encounter/respawn.h"

// Placeholder until death and respawn are built.
void respawnAtCheckpoint() {}
