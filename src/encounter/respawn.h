// Death and the respawn at the last checkpoint.
#pragma once

// Records the vehicle the player is using as the checkpoint. The callers make sure it exists.
void saveCheckpoint();
// Owns the frame while the player is down.
void respawnAtCheckpoint();
