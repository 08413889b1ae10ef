// Level start, the helicopter and its pilot, and the end of an encounter.
#pragma once

// Hands the pilot and the helicopter back to the host and marks the encounter as not running.
void releaseEncounter();

// Starts the level `currentLevel`: the player's vehicle at the start point, the helicopter
// and its pilot, the intro; the encounter runs from then on.
void startLevel();
