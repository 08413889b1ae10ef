// The plug-in's one random generator: a linear congruential generator over 32 bits.
#pragma once

#include <cstdint>

void seedRandom(uint32_t seed);
// A value from 0 to 32767.
int32_t nextRandom();
