// The checkpoint and the respawn at it after a death.
#pragma once

// Records the vehicle the player is using (its model, position, heading and speed) as the
// checkpoint. The callers make sure it exists.
void saveCheckpoint();
// Owns the frame while the player is down: waits for the host to revive the player and
// give back control (a black screen meanwhile), then puts the player back at the
// checkpoint in a new vehicle of its model, brings the helicopter back, halves the score
// and clears the power-ups. Without a checkpoint it only clears the flag.
void respawnAtCheckpoint();
