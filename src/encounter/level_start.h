// Level start, the helicopter and its pilot, and the end of an encounter.
#pragma once

#include <cstdint>

#include "runtime/mod_state.h"

// Starts the level `currentLevel` (clamped to 5): the player's vehicle at the start point,
// the encounter's state reset, the helicopter and its pilot, the intro, the first
// checkpoint and the announcement. Blocks the frame loop for at least 2.2 s.
void startLevel();
// The running level's best from the settings file, into levelHighScore when it can be read.
void loadLevelHighScore();
// Moves the vehicle the player is using to the level's start point, or says "Error: 105".
void placePlayerAtLevelStart();
// Creates the level's helicopter one second ahead of the player and 8 units up, with its
// pilot; or ends the encounter with "Error: 101" when the host made none.
void spawnHelicopter();
// Creates the pilot in the helicopter's driver's seat.
void spawnPilot();
// Hands the pilot and the helicopter back to the host and marks the encounter as not running.
void releaseEncounter();
// Ends the encounter for good (won, lost, abandoned, a death without checkpoint, a
// replacement that failed): releases it, and lowers an armor shield still up, which no
// sequence's end would lower any more.
void endEncounter();

// Asks the host for a model and waits frame by frame, without limit, until it is loaded.
void waitForModel(HostHash model);
// The slow-motion shot of a level's opening, a respawn and a wreck: the camera hinted toward
// the point, the time scale slowed and the screen faded in (unless kNoFadeIn); after the
// hold, time and camera back to normal.
constexpr int32_t kNoFadeIn = 0;
void playSlowMotionShot(float x, float y, float z, float timeScale, int32_t fadeInMs, uint32_t holdMs);
