// The helicopter's pursuit of the player, the start of its salvos, and the armor shield.
#pragma once

#include <cstdint>

// One pursuit step (only while no missile sequence runs): steer the pilot, put a helicopter
// left behind back beside the player, count the steps in sight, start a salvo when due.
void pursuePlayer();
// Starts a missile sequence at frame -leadFrames, unless one runs and restart is 0. A
// helicopter salvo (byPlayer 0) rolls for the armor shield.
void startMissileSequence(int32_t leadFrames, int32_t byPlayer, int32_t restart);
// Lowers the armor shield, if it is up: the vehicle the player is using now is vulnerable again.
void dropArmorShield();
