// Scoring and the ways a level ends: won, or the player dead.
#pragma once

// One frame's worth of score at the player's speed, weighted by level and weapon tier;
// nothing when that is not a finite number.
void addFrameScore();
// The level-won sequence, run on the frame the helicopter's health is gone: the wreck in
// slow motion, the result, the high score, the points and the unlock. Waits about 4.1 s.
void completeLevel();
// While the encounter runs: hands a dead player to the respawn, or, without a checkpoint,
// ends the encounter.
void checkPlayerDeath();
