// Scoring and the ways a level ends: won, or the player dead.
#pragma once

// One frame's worth of score at the player's speed, weighted by level and weapon tier.
void addFrameScore();
// The level-won sequence, run on the frame the helicopter's health is gone.
void completeLevel();
// Hands a dead player to the respawn, or ends the encounter.
void checkPlayerDeath();
