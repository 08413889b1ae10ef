// Death and the respawn at the last checkpoint.
#pragma once

// Owns the frame while the player is down.
void respawnAtCheckpoint();
