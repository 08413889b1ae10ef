// Scoring and the ways a level ends: won, or the player dead.
#pragma once

// One frame's worth of score at the player's speed, weighted by level and weapon tier;
// nothing when that is not a finite number.
void addFrameScore();
// The level-won sequence, run on the frame the helicopter's health is gone: the wreck in
// slow motion, the result, the high score, the points and the unlock. Waits about 4.1 s.
void completeLevel();
// The won sequence's part that credits the win, from the won level's currentLevel, score and
// best (levelHighScore, levelHighScoreKnown): the best read once more when unknown, the
// result, the best stored, the notifications, the points, the unlock and the final load. No
// native receives the helicopter. Also run by a restarted script for a win a reload cut short.
void creditWonLevel();
// While the encounter runs: hands a dead player to the respawn, or, without a checkpoint,
// ends the encounter.
void checkPlayerDeath();
